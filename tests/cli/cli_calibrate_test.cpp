// zelmot-cli calibrate against the simulator: the commands each calibration type puts on
// the line, the end of an unattended run against each injected fault, the terminal wizard
// with its wrong-code limit and Ctrl+C, and the desktop program's /calibrate run headless.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <thread>

#include "calibration/access_codes.h"
#include "cli/process_helpers.h"

namespace zelmot::cli::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using Lines = std::vector<std::string>;

std::string code(int type) { return std::to_string(calibration::accessCode(type)); }

// "CLB.I [01]" for every calibration command the simulator received, in order.
Lines calibrationCommands(const std::string& log) {
  Lines commands;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    const size_t name = line.find(" CLB.");
    if (line.rfind("<- ", 0) != 0 || name == std::string::npos) continue;
    commands.push_back(line.substr(name + 1));
  }
  return commands;
}

// How many CLB.S polls a run takes depends on the clock; the rest is exact.
Lines withoutPolls(Lines commands) {
  commands.erase(std::remove(commands.begin(), commands.end(), "CLB.S []"), commands.end());
  return commands;
}

long countOf(const Lines& lines, const std::string& line) {
  return std::count(lines.begin(), lines.end(), line);
}

class CliCalibrate : public ::testing::Test {
protected:
  // The simulator with quick measurements and, when given, a calibration fault.
  void serve(const std::string& fault = {}) {
    std::vector<std::string> options{"--calibration-seconds", "0.1"};
    if (!fault.empty()) options.insert(options.end(), {"--calibration-fault", fault});
    sim = std::make_unique<Simulator>(work.dir(), options);
    ASSERT_FALSE(sim->pty().empty());
  }
  RunResult unattended(int type, int sensor, int input = 1) {
    return work.cli(*sim, {"calibrate", "--type", std::to_string(type), "--sensor",
                           std::to_string(sensor), "--input", std::to_string(input), "--code",
                           code(type), "--yes", "--second-ms", "20"});
  }
  void expectFaultEnds(const std::string& fault, const std::string& text) {
    serve(fault);
    const RunResult run = unattended(1, 3);
    EXPECT_EQ(run.exitCode, 1) << fault;
    EXPECT_THAT(run.err, HasSubstr(text)) << fault;
    EXPECT_EQ(calibrationCommands(sim->log()).back(), "CLB.A []") << fault;
    EXPECT_THAT(sim->writesOf("CLB.P"), ::testing::SizeIs(fault == "refuse:CLB.P")) << fault;
  }
  // zelmot-cli with its standard input read from `input` (a file or a FIFO).
  std::vector<std::string> withInput(const std::string& input, const Lines& args) const {
    Lines argv{"/bin/sh", "-c", "exec \"$0\" \"$@\" < \"" + input + "\"",
               (binDir() / "zelmot-cli").string(), "--data-dir", binDir().string()};
    const Lines connection = work.connection(*sim);
    argv.insert(argv.end(), connection.begin(), connection.end());
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
  }
  RunResult wizard(const std::string& typed) {
    writeText(work.path("typed.txt"), typed);
    const auto argv = withInput(work.path("typed.txt"), {"calibrate", "--second-ms", "20"});
    ChildProcess process(argv, work.dir() / "wizard.out", work.dir() / "wizard.err");
    RunResult result;
    result.exitCode = process.wait();
    result.out = readText(work.dir() / "wizard.out");
    result.err = readText(work.dir() / "wizard.err");
    return result;
  }

  Workspace work;
  std::unique_ptr<Simulator> sim;
};

TEST_F(CliCalibrate, EachTypeRunsItsSequenceUnattended) {
  serve();
  const RunResult one = unattended(1, 21);  // Ток 4…20 мА
  ASSERT_EQ(one.exitCode, 0) << one.out << one.err;
  EXPECT_THAT(one.out, HasSubstr("Юстировка НСХ преобразования успешно завершена."));
  EXPECT_THAT(sim->writesOf("in-t"), ::testing::Contains("[0B 00 00]"));
  EXPECT_EQ(withoutPolls(calibrationCommands(sim->log())),
            (Lines{"CLB.I [01]", "CLB.T []", "CLB.G [01]", "CLB.P []", "CLB.A []", "CLB.A []"}));

  serve();
  const RunResult two = unattended(2, 1);
  ASSERT_EQ(two.exitCode, 0) << two.err;
  const Lines commands = calibrationCommands(sim->log());
  EXPECT_EQ(commands.front(), "CLB.I [02]");
  EXPECT_EQ(countOf(commands, "CLB.G [01]") + countOf(commands, "CLB.G [02]"), 2);

  serve();
  const RunResult three = unattended(3, 0);
  ASSERT_EQ(three.exitCode, 0) << three.err;
  EXPECT_TRUE(sim->writesOf("in-t").empty()) << "type 3 writes no sensor type";
  EXPECT_THAT(three.out, HasSubstr("Комплексная юстировка НСХ преобразования завершена."));
  EXPECT_EQ(countOf(calibrationCommands(sim->log()), "CLB.G [04]"), 1);
}

TEST_F(CliCalibrate, TypeFourCalibratesClosedThenOpenWithAbortBetween) {
  serve();
  const RunResult run = unattended(4, 3, 6);  // 4…20 мА on input 6
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(sim->writesOf("in-t"), (Lines{"[1B 00 05]"}));
  EXPECT_EQ(withoutPolls(calibrationCommands(sim->log())), (Lines{"CLB.I [05 04]", "CLB.T []", "CLB.G [01]", "CLB.P []", "CLB.A []",
                             "CLB.I [85 04]", "CLB.T []", "CLB.G [01]", "CLB.P []", "CLB.A []",
                             "CLB.A []"}));
}

TEST_F(CliCalibrate, NeverFinishingMeasurementsGetTwelvePolls) {
  serve("unfinished");
  const RunResult run = unattended(1, 1);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_THAT(run.err, HasSubstr("Процесс поиска измерения юстировки завершен неудачно: "
                                 "CLB.S: ошибка: таймаут"));
  const Lines commands = calibrationCommands(sim->log());
  EXPECT_EQ(countOf(commands, "CLB.S []"), 12);
  EXPECT_EQ(commands.back(), "CLB.A []");
  EXPECT_EQ(countOf(commands, "CLB.T []"), 0);
}

TEST_F(CliCalibrate, RefusedCommitsThreeSilentTheFourthEndsTheRun) {
  serve("refuse-commit:3");
  const RunResult accepted = unattended(2, 3);
  EXPECT_EQ(accepted.exitCode, 0) << accepted.err;
  EXPECT_EQ(countOf(calibrationCommands(sim->log()), "CLB.P []"), 4);
  EXPECT_THAT(accepted.err, Not(HasSubstr("Для повтора юстировки")));

  serve("refuse-commit:4");
  const RunResult refused = unattended(2, 3);
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_THAT(refused.err, HasSubstr("Ошибка юстировки: Возникла ошибка при записи результатов "
                                     "юстировки в EEPROM.\nДля повтора юстировки нажмите кнопку Да"));
  const Lines commands = calibrationCommands(sim->log());
  EXPECT_EQ(countOf(commands, "CLB.P []"), 4);
  EXPECT_EQ(commands.back(), "CLB.A []");
}

// Each fault ends the unattended run with exit 1, its text on standard error and CLB.A
// last; nothing is committed unless the commit itself is what fails.
TEST_F(CliCalibrate, MeasurementAndResultFaultsEndWithTheirTextAndAbort) {
  expectFaultEnds("status:7", "завершен неудачно: Обрыв датчика при юстировке.");
  expectFaultEnds("coefficient:1", "Коэффициент юстировки не соответствует заданным требованиям.");
  expectFaultEnds("reply-size:3", "Размер квитанции на команду CLB.G не равер ни 2 ни 5!");
  expectFaultEnds("reply-size:2", "Не все коэффициенты получены с прибора");
}

TEST_F(CliCalibrate, RefusedCommandsEndWithTheirTextAndAbort) {
  expectFaultEnds("refuse:CLB.I", "Ошибка (Запуск процессa юстировки): выполняется другая задача");
  expectFaultEnds("refuse:CLB.T", "Ошибка (поиск ошибочных коэффициентов): выполняется другая задача");
  expectFaultEnds("refuse:CLB.G", "Ошибка (Тип №1. Определение значения коэф-та): выполняется");
  expectFaultEnds("refuse:CLB.P", "Ошибка (запись коэф-та): выполняется другая задача");
}

TEST_F(CliCalibrate, RefusedSensorTypeWriteStopsBeforeCalibrating) {
  serve("refuse-sensor-type");
  const RunResult run = unattended(1, 3);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_THAT(run.err, HasSubstr("Ошибка обмена с прибором (запись): Недопустимое сочетание"));
  EXPECT_EQ(countOf(calibrationCommands(sim->log()), "CLB.I [01]"), 0);
}

TEST_F(CliCalibrate, WrongCodeAndBadChoicesAreRefused) {
  serve();
  const RunResult wrong = work.cli(*sim, {"calibrate", "--type", "3", "--code", "1", "--yes"});
  EXPECT_EQ(wrong.exitCode, 1);
  EXPECT_THAT(wrong.err, HasSubstr("Ошибка: Неправильно введен код"));
  EXPECT_EQ(work.cli(*sim, {"calibrate", "--type", "1", "--sensor", "26", "--code", code(1),
                            "--yes"}).exitCode, 2);
  EXPECT_EQ(work.cli(*sim, {"calibrate", "--type", "1", "--sensor", "1", "--code", code(1)})
                .exitCode, 2) << "--yes is needed";
  EXPECT_TRUE(calibrationCommands(sim->log()).empty());
}

TEST_F(CliCalibrate, WizardClosesTheSetUpOnTheFourthWrongCode) {
  serve();
  // Type 3; a wrong code, then the type kept with Enter and another wrong code, four times.
  const RunResult run = wizard("3\n  0" + code(3) + "1\n\n999\n\nabc\n\n-" + code(3) + "\n");
  EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
  size_t wrong = 0;
  for (size_t at = run.out.find("Неправильно введен код"); at != std::string::npos;
       at = run.out.find("Неправильно введен код", at + 1)) {
    ++wrong;
  }
  EXPECT_EQ(wrong, 4u) << run.out;
  EXPECT_TRUE(calibrationCommands(sim->log()).empty());
}

TEST_F(CliCalibrate, WizardTakesACodeByItsLeadingDigitsAndRunsToTheEnd) {
  serve();
  const RunResult run = wizard("3\n  0" + code(3) + "abc\n\n\n\n\n");
  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_THAT(run.out, HasSubstr("Для подготовки прибора к комплексной юстировке"));
  EXPECT_THAT(run.out, HasSubstr("== Завершение юстировки =="));
  EXPECT_EQ(countOf(calibrationCommands(sim->log()), "CLB.P []"), 1);
}

TEST_F(CliCalibrate, CtrlCInTheWizardSendsAbortAndExitsOne) {
  serve();
  const std::string fifo = work.path("keys");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int keys = ::open(fifo.c_str(), O_RDWR);  // never blocks, keeps the pipe open
  ASSERT_GE(keys, 0);
  const std::string typed = "3\n" + code(3) + "\n";
  ASSERT_EQ(::write(keys, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
  ChildProcess process(withInput(fifo, {"calibrate"}), work.dir() / "c.out", work.dir() / "c.err");
  for (int i = 0; i < 200 && readText(work.dir() / "c.out").find("Ctrl+C") == std::string::npos; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  process.signal(SIGINT);
  EXPECT_EQ(process.wait(), 1);
  ::close(keys);
  // "Отмена" sends CLB.A, and so does the end of the dialog, however it ended.
  EXPECT_EQ(calibrationCommands(sim->log()), (Lines{"CLB.A []", "CLB.A []"}));
}

TEST_F(CliCalibrate, DesktopCommandLineCalibratesHeadless) {
  serve();
  std::ofstream(work.dir() / "zelmot.ini") << "[ports]\nCOM5=" << sim->pty() << "\n";
  writeText(work.path("typed.txt"), "3\n" + code(3) + "\n\n\n\n\n");
  Lines argv{"/bin/sh", "-c", "exec \"$0\" \"$@\" < \"" + work.path("typed.txt") + "\"",
             (binDir() / "zelmot-cli").string(), "--data-dir", binDir().string(), "--quiet",
             "legacy", "/port:5/rs485:auto/read/calibrate"};
  ChildProcess process(argv, work.dir() / "l.out", work.dir() / "l.err");
  EXPECT_EQ(process.wait(), 0) << readText(work.dir() / "l.err");
  const std::string log = sim->log();
  EXPECT_EQ(countOf(calibrationCommands(log), "CLB.P []"), 1);
  const std::string afterCalibration = log.substr(log.rfind("CLB.A"));
  EXPECT_THAT(afterCalibration, Not(HasSubstr("<- "))) << "calibrate is posted, read is not";
}

}  // namespace
}  // namespace zelmot::cli::testing
