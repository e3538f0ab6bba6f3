// zelmot-sim: a ZELMOT regulator on a pseudo-terminal (or a real serial port), built from
// the description files, for trying the program and for end-to-end tests.
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <csignal>
#include <filesystem>
#include <iostream>

#include "parameter_store.h"
#include "sim_device.h"
#include "sim_line.h"
#include "sim_options.h"
#include "sim_server.h"
#include "state_file.h"

namespace {

using zelmot::sim::FaultOptions;
using zelmot::sim::SimOptions;

constexpr int kExitUsage = 2;
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
  app.description(
      "A simulated ZELMOT regulator. Without --device it creates a pseudo-terminal and prints "
      "the path of its slave side on the first line of standard output; point the program at "
      "that path (or at the --link symlink). Stop it with Ctrl+C or SIGTERM.");
  auto* device = app.add_option("--device", o.devicePath,
                                "serve a real serial device (e.g. /dev/ttyUSB0) instead of a "
                                "pseudo-terminal");
  app.add_option("--link", o.linkPath, "make a symlink PATH to the pseudo-terminal's slave")
      ->excludes(device);
  app.add_option("--baud", o.baud, "line speed: configures --device, and the timing of --pace")
      ->check(CLI::IsMember({1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400, 57600,
                             115200}));
  app.add_option("--address", o.address,
                 "base address; the device answers BASE..BASE+7 (default 16)")
      ->check(CLI::Range(0, 2040));
  app.add_option("--address-length", o.addressLength, "8- or 11-bit addressing (default 8)")
      ->check(CLI::IsMember({8, 11}));
  app.add_option("--type", o.deviceType, "the device type answered to dev (default ZELMOT)");
  app.add_option("--firmware", o.firmwareVersion, "the firmware version answered to ver");
  app.add_option("--data-dir", o.dataDir,
                 "folder of the description files (default: the folder of this program)");
  app.add_option("--state", o.statePath,
                 "restore the device's configuration from FILE at start, save it there at exit");
  app.add_option("--status", c.statusTexts,
                 "NAME:INDEX=CODE[/SUB]: the measured value reports a status code 240..255 "
                 "instead of a number (253 sensor break, 252 short circuit; SUB is the "
                 "computing-block error of 245); repeatable");
  app.add_option("--discrete-inputs", o.discreteInputs,
                 "states of the discrete inputs reported by r.Cn, one bit per input (default 5)");
  app.add_flag("--factory-rights", o.factoryRights,
               "the line may change factory-owned attributes (otherwise refused with code 0x07)");
  app.add_option("--calibration-seconds", o.calibrationSeconds,
                 "how long a calibration measurement takes (default 3)")
      ->check(CLI::Range(0.0, 3600.0));
  app.add_option("--calibration-fault", c.calibrationFaultText,
                 "status:CODE ends calibration measurements with that status code; "
                 "coefficient:N reports coefficient N in error");
  app.add_flag("--pace", o.pace,
               "hold each reply back for the wire time of request and reply at the line speed "
               "plus the turnaround");
  app.add_option("--turnaround", o.turnaroundMs, "turnaround of --pace in ms (default 2)")
      ->check(CLI::Range(0.0, 10000.0));
  app.add_option("--seed", o.faults.seed, "seed of the random faults (default 1)");
  app.add_option("--drop-replies", o.faults.dropRepliesPercent, "drop PERCENT of the replies")
      ->check(CLI::Range(0.0, 100.0));
  app.add_option("--corrupt-checksums", o.faults.corruptChecksumsPercent,
                 "break the checksum of PERCENT of the replies")
      ->check(CLI::Range(0.0, 100.0));
  app.add_option("--no-start", o.faults.noStartPercent,
                 "send PERCENT of the replies without the start character")
      ->check(CLI::Range(0.0, 100.0));
  app.add_option("--foreign-code", o.faults.foreignCodePercent,
                 "answer PERCENT of the requests with a foreign command code")
      ->check(CLI::Range(0.0, 100.0));
  app.add_option("--error-code", c.errorCode,
                 "answer every request with n.Err and this error code (e.g. 0x28)")
      ->check(CLI::Range(0, 255));
  app.add_option("--silent-after", c.silentAfter, "stop answering after N requests")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--hangup-after", c.hangupAfter,
                 "close the line after answering N requests, as an unplugged adapter does")
      ->check(CLI::PositiveNumber);
  app.add_flag("--log", o.log, "print every frame in and out on standard error");

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

bool openLine(const SimOptions& options, const zelmot::sim::NetworkSettings& settings,
              zelmot::sim::SimLine& line) {
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
  if (!options.linkPath.empty()) {
    std::error_code ec;
    if (std::filesystem::is_symlink(options.linkPath, ec)) {
      std::filesystem::remove(options.linkPath, ec);
    }
    std::filesystem::create_symlink(slavePath, options.linkPath, ec);
    if (ec) {
      std::cerr << "zelmot-sim: cannot make the link " << options.linkPath << ": "
                << ec.message() << '\n';
    }
  }
  // The first line, flushed, and only when everything is ready: callers wait for it.
  std::cout << slavePath << std::endl;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"zelmot-sim"};
  CommandLine c;
  defineOptions(app, c);
  CLI11_PARSE(app, argc, argv);
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
    std::cerr << "zelmot-sim: " << error << " (use --data-dir)\n";
    return kExitUsage;
  }
  zelmot::sim::SimDevice device(options, std::move(store));
  if (!options.statePath.empty()) {
    size_t skipped = 0;
    if (!zelmot::sim::restoreState(device, options.statePath, skipped, error)) {
      std::cerr << "zelmot-sim: " << error << '\n';
      return kExitUsage;
    }
    if (skipped > 0) std::cerr << "zelmot-sim: " << skipped << " state entries skipped\n";
  }
  applyExplicitNetwork(c, device);

  const int stopFd = blockStopSignals();
  zelmot::sim::SimLine line;
  if (stopFd < 0 || !openLine(options, device.network(), line)) return kExitLine;
  zelmot::sim::SimServer server(options, device, line, options.log ? &std::cerr : nullptr);
  const auto outcome = server.run(stopFd);

  int status = outcome == zelmot::sim::SimServer::Outcome::LineLost ? kExitLine : 0;
  if (outcome == zelmot::sim::SimServer::Outcome::LineLost) {
    std::cerr << "zelmot-sim: the line was lost\n";
  }
  if (!options.statePath.empty() && !zelmot::sim::saveState(device, options.statePath, error)) {
    std::cerr << "zelmot-sim: " << error << '\n';
    status = kExitUsage;
  }
  if (!options.linkPath.empty()) {
    std::error_code ec;
    std::filesystem::remove(options.linkPath, ec);
  }
  close(stopFd);
  return status;
}
