// zelmot-sim: a ZELMOT regulator on a pseudo-terminal (or a real serial port), built from
// the description files, for trying the program and for end-to-end tests.
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <clocale>
#include <csignal>
#include <filesystem>
#include <iostream>

#include "calibration_fault.h"
#include "parameter_store.h"
#include "pty_link.h"
#include "russian_command_line.h"
#include "sim_device.h"
#include "sim_line.h"
#include "sim_options.h"
#include "sim_server.h"
#include "state_file.h"

namespace {

using zelmot::sim::FaultOptions;
using zelmot::sim::SimOptions;

constexpr int kExitUsage = 2;
constexpr const char* kDescription =
    "Симулятор регулятора ZELMOT. Без --device создает псевдотерминал и выводит путь его "
    "ведомой стороны первой строкой стандартного вывода; укажите программе этот путь (или "
    "ссылку --link). Остановка: Ctrl+C или SIGTERM.";
constexpr int kExitLine = 3;

std::string executableDirectory() {
  std::error_code error;
  const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string(".") : path.parent_path().string();
}

struct CommandLine {
  SimOptions options;
  std::vector<std::string> statusTexts;
  std::string calibrationFaultText;
  bool addressGiven = false;
  bool addressLengthGiven = false;
  bool baudGiven = false;
  int errorCode = -1;
  long silentAfter = -1;
  long hangupAfter = -1;
};

void defineOptions(CLI::App& app, CommandLine& c) {
  SimOptions& o = c.options;
  auto* device = app.add_option("--device", o.devicePath,
                                "работать на настоящем последовательном порту (например, "
                                "/dev/ttyUSB0) вместо псевдотерминала");
  app.add_option("--link", o.linkPath, "создать ссылку PATH на ведомую сторону псевдотерминала (ссылка "
                 "на действующий терминал не перехватывается)")
      ->excludes(device);
  app.add_option("--baud", o.baud, "скорость линии: для --device и для задержек --pace")
      ->check(CLI::IsMember({1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400, 57600,
                             115200}));
  app.add_option("--address", o.address,
                 "базовый адрес; прибор отвечает на BASE..BASE+7 (по умолчанию 16)")
      ->check(CLI::Range(0, 2040));
  app.add_option("--address-length", o.addressLength, "8- или 11-битная адресация (по умолчанию 8)")
      ->check(CLI::IsMember({8, 11}));
  app.add_option("--type", o.deviceType, "тип прибора в ответе на dev (по умолчанию ZELMOT)");
  app.add_option("--firmware", o.firmwareVersion, "версия прошивки в ответе на ver");
  app.add_option("--data-dir", o.dataDir,
                 "папка файлов описания (по умолчанию папка программы)");
  app.add_option("--state", o.statePath,
                 "восстановить конфигурацию прибора из FILE при запуске и сохранить "
                 "ее туда при выходе");
  app.add_option("--status", c.statusTexts,
                 "NAME:INDEX=CODE[/SUB]: измеряемая величина сообщает код состояния "
                 "240..255 вместо числа (253 обрыв датчика, 252 короткое замыкание; SUB - "
                 "ошибка вычислительного блока для 245); можно повторять");
  app.add_option("--discrete-inputs", o.discreteInputs,
                 "состояния дискретных входов в r.Cn, бит на вход (по умолчанию 5)");
  app.add_flag("--factory-rights", o.factoryRights,
               "разрешить линии менять заводские атрибуты (иначе отказ с кодом 0x07)");
  app.add_option("--calibration-seconds", o.calibrationSeconds,
                 "длительность калибровочного измерения (по умолчанию 3)")
      ->check(CLI::Range(0.0, 3600.0));
  app.add_option("--calibration-fault", c.calibrationFaultText,
                 zelmot::sim::kCalibrationFaultHelp);
  app.add_flag("--pace", o.pace,
               "задерживать каждый ответ на время передачи запроса и ответа на "
               "скорости линии плюс время переключения");
  app.add_option("--turnaround", o.turnaroundMs, "время переключения для --pace в мс (по умолчанию 2)")
      ->check(CLI::Range(0.0, 10000.0));
  app.add_option("--seed", o.faults.seed, "начальное значение случайных сбоев (по умолчанию 1)");
  app.add_option("--drop-replies", o.faults.dropRepliesPercent, "не отправлять PERCENT ответов")
      ->check(CLI::Range(0.0, 100.0));
  app.add_option("--corrupt-checksums", o.faults.corruptChecksumsPercent,
                 "портить контрольную сумму PERCENT ответов")
      ->check(CLI::Range(0.0, 100.0));
  app.add_option("--no-start", o.faults.noStartPercent,
                 "отправлять PERCENT ответов без стартового символа")
      ->check(CLI::Range(0.0, 100.0));
  app.add_option("--foreign-code", o.faults.foreignCodePercent,
                 "отвечать на PERCENT запросов чужим кодом команды")
      ->check(CLI::Range(0.0, 100.0));
  app.add_option("--error-code", c.errorCode,
                 "отвечать на каждый запрос n.Err с этим кодом ошибки (например, 0x28)")
      ->check(CLI::Range(0, 255));
  app.add_option("--silent-after", c.silentAfter, "перестать отвечать после N запросов")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--hangup-after", c.hangupAfter,
                 "закрыть линию после N ответов, как при отключенном адаптере")
      ->check(CLI::PositiveNumber);
  app.add_flag("--log", o.log, "выводить каждую принятую и отправленную посылку в поток ошибок");

  static const std::pair<const char*, const char*> kValueNames[] = {
      {"--device", "PATH"}, {"--link", "PATH"}, {"--baud", "N"}, {"--address", "N"},
      {"--address-length", "BITS"}, {"--type", "TEXT"}, {"--firmware", "TEXT"},
      {"--data-dir", "DIR"}, {"--state", "FILE"}, {"--status", "NAME:INDEX=CODE"},
      {"--discrete-inputs", "MASK"}, {"--calibration-seconds", "SECONDS"},
      {"--calibration-fault", "KIND:N"}, {"--turnaround", "MS"}, {"--seed", "N"},
      {"--drop-replies", "PERCENT"}, {"--corrupt-checksums", "PERCENT"},
      {"--no-start", "PERCENT"}, {"--foreign-code", "PERCENT"}, {"--error-code", "CODE"},
      {"--silent-after", "N"}, {"--hangup-after", "N"}};
  for (const auto& [name, valueName] : kValueNames) app.get_option(name)->type_name(valueName);
}

bool finishOptions(CommandLine& c, std::string& error) {
  for (const std::string& text : c.statusTexts) {
    zelmot::sim::StatusOverride status;
    if (!zelmot::sim::parseStatusOverride(text, status, error)) return false;
    c.options.statuses.push_back(status);
  }
  if (!c.calibrationFaultText.empty() &&
      !zelmot::sim::parseCalibrationFault(c.calibrationFaultText, c.options.calibrationFault,
                                          error)) {
    return false;
  }
  FaultOptions& faults = c.options.faults;
  if (c.errorCode >= 0) faults.errorCode = static_cast<uint8_t>(c.errorCode);
  if (c.silentAfter >= 0) faults.silentAfter = c.silentAfter;
  if (c.hangupAfter >= 0) faults.hangupAfter = c.hangupAfter;
  if (c.options.dataDir.empty()) c.options.dataDir = executableDirectory();
  return true;
}

// Options given on the command line win over the network settings of a restored state.
void applyExplicitNetwork(const CommandLine& c, zelmot::sim::SimDevice& device) {
  zelmot::sim::NetworkSettings settings = device.network();
  if (c.addressGiven) settings.address = c.options.address;
  if (c.addressLengthGiven) settings.addressLength = c.options.addressLength;
  if (c.baudGiven) settings.baud = c.options.baud;
  device.setNetwork(settings);
}

int blockStopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigprocmask(SIG_BLOCK, &signals, nullptr);
  return signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
}

// Opens the line and prints its path; `slavePathOut` is the pseudo-terminal's slave.
bool openLine(const SimOptions& options, const zelmot::sim::NetworkSettings& settings,
              zelmot::sim::SimLine& line, std::string& slavePathOut) {
  std::string error;
  if (!options.devicePath.empty()) {
    if (!line.openDevice(options.devicePath, settings, error)) {
      std::cerr << "zelmot-sim: " << error << '\n';
      return false;
    }
    std::cout << options.devicePath << std::endl;
    return true;
  }
  std::string slavePath;
  if (!line.openPseudoTerminal(slavePath, error)) {
    std::cerr << "zelmot-sim: " << error << '\n';
    return false;
  }
  if (!options.linkPath.empty() && !zelmot::sim::claimPtyLink(options.linkPath, slavePath, error)) {
    std::cerr << "zelmot-sim: " << error << '\n';
    return false;
  }
  // The first line, flushed, and only when everything is ready: callers wait for it.
  std::cout << slavePath << std::endl;
  slavePathOut = slavePath;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");  // the C library's error texts in the user's language
  CLI::App app{kDescription, "zelmot-sim"};
  zelmot::tools::useRussianTexts(app, "zelmot-sim " ZELMOT_VERSION);
  CommandLine c;
  defineOptions(app, c);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return zelmot::tools::finishParse(app, e, kExitUsage);
  }
  c.addressGiven = app.count("--address") > 0;
  c.addressLengthGiven = app.count("--address-length") > 0;
  c.baudGiven = app.count("--baud") > 0;
  std::string error;
  if (!finishOptions(c, error)) {
    std::cerr << "zelmot-sim: " << error << '\n';
    return kExitUsage;
  }
  const SimOptions& options = c.options;
  // Paced replies are due to tens of microseconds; the default timer slack (50 us) would
  // add to every one of them.
  if (options.pace) prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);

  zelmot::sim::ParameterStore store;
  if (!zelmot::sim::loadParameterStore(options.dataDir, store, error)) {
    std::cerr << "zelmot-sim: " << error << " (укажите --data-dir)\n";
    return kExitUsage;
  }
  zelmot::sim::SimDevice device(options, std::move(store));
  if (!options.statePath.empty()) {
    size_t skipped = 0;
    if (!zelmot::sim::restoreState(device, options.statePath, skipped, error)) {
      std::cerr << "zelmot-sim: " << error << '\n';
      return kExitUsage;
    }
    if (skipped > 0) std::cerr << "zelmot-sim: пропущено записей состояния: " << skipped << '\n';
  }
  applyExplicitNetwork(c, device);

  const int stopFd = blockStopSignals();
  zelmot::sim::SimLine line;
  std::string slavePath;
  if (stopFd < 0 || !openLine(options, device.network(), line, slavePath)) return kExitLine;
  zelmot::sim::SimServer server(options, device, line, options.log ? &std::cerr : nullptr);
  const auto outcome = server.run(stopFd);

  int status = outcome == zelmot::sim::SimServer::Outcome::LineLost ? kExitLine : 0;
  if (outcome == zelmot::sim::SimServer::Outcome::LineLost) {
    std::cerr << "zelmot-sim: линия потеряна\n";
  }
  if (!options.statePath.empty() && !zelmot::sim::saveState(device, options.statePath, error)) {
    std::cerr << "zelmot-sim: " << error << '\n';
    status = kExitUsage;
  }
  if (!options.linkPath.empty()) zelmot::sim::releasePtyLink(options.linkPath, slavePath);
  close(stopFd);
  return status;
}
