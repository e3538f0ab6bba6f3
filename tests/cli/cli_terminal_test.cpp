// zelmot-cli as a command-line tool: help, port choice and failures, what reaches standard
// output, and the checks made before anything is sent.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cli/process_helpers.h"

namespace zelmot::cli::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class CliTerminal : public ::testing::Test {
protected:
  Workspace work;
};

bool hasControlCharacters(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\x1b'; });
}

size_t occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST_F(CliTerminal, HelpAndVersionAnswerWithoutADevice) {
  const RunResult help = work.cliOffline({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_THAT(help.out, HasSubstr("Запуск: zelmot-cli"));
  EXPECT_THAT(help.out, HasSubstr("Команды:"));
  EXPECT_THAT(help.out, HasSubstr("--port"));
  EXPECT_THAT(help.out, Not(HasSubstr("Print this help")));
  const RunResult compareHelp = work.cliOffline({"compare", "--help"});
  EXPECT_EQ(compareHelp.exitCode, 0);
  EXPECT_THAT(compareHelp.out, HasSubstr("rtC"));
  EXPECT_THAT(compareHelp.out, HasSubstr("n.Err"));
  const RunResult version = work.cliOffline({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_THAT(version.out, HasSubstr("zelmot-cli "));
  const RunResult wrong = work.cliOffline({"frobnicate"});
  EXPECT_EQ(wrong.exitCode, 2);
  EXPECT_THAT(wrong.err, HasSubstr("zelmot-cli --help"));
}

TEST_F(CliTerminal, WithoutAPortTheDeviceCommandsStop) {
  // No --port and no port in the settings: never the default first COM port.
  const RunResult checked = work.cliOffline({"check"});
  EXPECT_EQ(checked.exitCode, 2);
  EXPECT_THAT(checked.err, HasSubstr("Порт не задан"));
  EXPECT_THAT(checked.err, HasSubstr("--port"));
  EXPECT_THAT(checked.err, Not(HasSubstr("Неудается открыть порт")));
}

TEST_F(CliTerminal, ThePortSavedInTheSettingsIsUsed) {
  Simulator sim(work.dir());
  writeText(work.dir() / "zelmot.ini", "[Software/Kavrel/ZELMOT]\nport_number=4\nbaud_rate=115200\n"
                                       "[ports]\nCOM4=" + sim.pty() + "\n");
  const RunResult checked = work.cliOffline({"--converter", "auto", "check"});
  EXPECT_EQ(checked.exitCode, 0) << checked.err;
  EXPECT_THAT(checked.out, HasSubstr("ZELMOT"));
}

TEST_F(CliTerminal, APortThatDoesNotOpenIsNoLinkReportedOnce) {
  writeText(work.path("not-a-port"), "");
  const RunResult read = work.cliOffline({"--port", work.path("not-a-port"), "--converter", "auto",
                                          "read", "-o", work.path("a.zel")});
  EXPECT_EQ(read.exitCode, 3);
  EXPECT_EQ(occurrences(read.err, "Неудается открыть порт " + work.path("not-a-port")), 1u)
      << read.err;
  EXPECT_THAT(read.err, Not(HasSubstr("Потеря начала посылки")));
  EXPECT_FALSE(std::filesystem::exists(work.path("a.zel")));

  const RunResult missing = work.cliOffline({"--port", work.path("none"), "check"});
  EXPECT_EQ(missing.exitCode, 3);
  // The operating system's reason follows the port.
  EXPECT_THAT(missing.err, HasSubstr("Неудается открыть порт " + work.path("none") + ": "));
}

TEST_F(CliTerminal, ReadChecksItsOutputBeforeTheDevice) {
  Simulator sim(work.dir());
  const RunResult read = work.cli(sim, {"read", "-o", work.path("no-such-folder/a.zel")});
  EXPECT_EQ(read.exitCode, 2);
  EXPECT_EQ(occurrences(read.err, work.path("no-such-folder/a.zel")), 1u) << read.err;
  EXPECT_THAT(sim.log(), Not(HasSubstr("<- addr")));
}

TEST_F(CliTerminal, OutputToAFileIsTheSummaryAloneWithoutControlCharacters) {
  Simulator sim(work.dir());
  const RunResult read = work.cli(sim, {"read", "-o", work.path("a.zel")});
  ASSERT_EQ(read.exitCode, 0) << read.err;
  EXPECT_FALSE(hasControlCharacters(read.out));
  EXPECT_THAT(read.out, ::testing::MatchesRegex("Прочитано: [0-9]+, ошибок: 0\n"));

  const RunResult quiet = work.cli(sim, {"--quiet", "read", "-o", work.path("a.zel")});
  EXPECT_EQ(quiet.out, "");

  const RunResult verbose = work.cli(sim, {"--verbose", "read", "-o", work.path("a.zel")});
  EXPECT_FALSE(hasControlCharacters(verbose.out));
  EXPECT_THAT(verbose.out, HasSubstr("Читаем ветвь '"));
  EXPECT_THAT(verbose.out, HasSubstr("Задание выполнено."));
  EXPECT_THAT(verbose.out, Not(HasSubstr("Окно будет закрыто автоматически")));
}

TEST_F(CliTerminal, GetPrintsTheValueAndVerboseTheByteLog) {
  Simulator sim(work.dir());
  ASSERT_EQ(work.cli(sim, {"set", "SP:2", "12.5"}).exitCode, 0);
  EXPECT_EQ(work.cli(sim, {"get", "SP:2"}).out, "12.500\n");
  const RunResult verbose = work.cli(sim, {"--verbose", "get", "SP:2"});
  EXPECT_THAT(verbose.out, HasSubstr("<< Ответ: # 0 : "));
  EXPECT_THAT(verbose.out, HasSubstr("Нет ошибок; строковая нотация ответа:\n12.500\n"));
  const RunResult traced = work.cli(sim, {"--trace", "get", "SP:2"});
  EXPECT_EQ(traced.out, "12.500\n");
  EXPECT_FALSE(traced.err.empty());
}

TEST_F(CliTerminal, SetRefusesBeforeSending) {
  Simulator sim(work.dir());
  const RunResult range = work.cli(sim, {"set", "SP:0", "99999"});
  EXPECT_EQ(range.exitCode, 2);
  EXPECT_THAT(range.err, HasSubstr("не может быть присвоено значение '99999'"));
  EXPECT_THAT(range.err, HasSubstr("больше -999.900 и меньше 9999.900"));
  const RunResult readOnly = work.cli(sim, {"set", "n.Err", "1"});
  EXPECT_EQ(readOnly.exitCode, 2);
  EXPECT_THAT(readOnly.err, HasSubstr("только для чтения"));
  const RunResult choice = work.cli(sim, {"set", "A.i.j:7", "Включен"});
  EXPECT_EQ(choice.exitCode, 2);
  EXPECT_THAT(choice.err, HasSubstr("Допустимые значения:\n  Не подключен\n  Подключен\n"));
  EXPECT_TRUE(sim.writtenNames().empty());
  EXPECT_EQ(work.cli(sim, {"set", "A.i.j:7", "Подключен"}).exitCode, 0);
  EXPECT_THAT(sim.writtenNames(), ::testing::ElementsAre("A.i.j"));
}

TEST_F(CliTerminal, CompareListsSelfChangingParametersWithoutFailing) {
  Simulator sim(work.dir());
  ASSERT_EQ(work.cli(sim, {"--quiet", "read", "-o", work.path("a.zel")}).exitCode, 0);
  const RunResult same = work.cli(sim, {"compare", work.path("a.zel")});
  EXPECT_EQ(same.exitCode, 0) << same.out;
  EXPECT_THAT(same.out, HasSubstr("Изменяются сами по себе (не считаются отличием): n.Err"));

  ASSERT_EQ(work.cli(sim, {"set", "SP:1", "44"}).exitCode, 0);
  const RunResult changed = work.cli(sim, {"compare", work.path("a.zel")});
  EXPECT_EQ(changed.exitCode, 1);
  EXPECT_THAT(changed.out, HasSubstr("'SP ("));
}

TEST_F(CliTerminal, ShowHasAHeaderRowAndJsonIsIndented) {
  Simulator sim(work.dir());
  ASSERT_EQ(work.cli(sim, {"--quiet", "read", "--branch", "Регуляторы", "-o", work.path("a.zel")})
                .exitCode, 0);
  const RunResult text = work.cliOffline({"show", work.path("a.zel"), "--branch", "Регуляторы"});
  EXPECT_EQ(text.out.substr(0, text.out.find('\n')),
            "Описание\tПараметр\tЗначение\tАтрибут редактирования\tВладелец\tОшибки ввода-вывода");
  const std::string firstBranch = text.out.substr(text.out.find('[') + 1);
  const RunResult json =
      work.cliOffline({"show", "--json", work.path("a.zel"), "--branch", "Регуляторы"});
  EXPECT_THAT(json.out, HasSubstr("{\n  \"branch\": \"Регуляторы\",\n  \"rows\": [\n"));
  EXPECT_THAT(json.out, HasSubstr("\"branch\": \"" + firstBranch.substr(0, firstBranch.find(']')) + "\""));
}

}  // namespace
}  // namespace zelmot::cli::testing
