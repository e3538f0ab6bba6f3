#pragma once
// Everything the simulator can be told on its command line, as plain data. The command
// line parser fills it; tests fill it directly.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelmot::sim {

// A measured value that reports a status code instead of a number (sensor break ...).
struct StatusOverride {
  std::string name;     // rEAd, r.CAL, Set.P, r.OUt, r.oe
  int index = 0;        // channel
  uint8_t code = 0;     // 240..255
  uint8_t subCode = 0;  // the computing-block error for code 245
};

// How a calibration run goes wrong, when it should (calibration_fault.h parses it).
struct CalibrationFault {
  enum class Kind {
    None,
    Status,            // the measurements end with status code `value`
    Coefficient,       // coefficient `value` (1..4) comes out in error
    Unfinished,        // the measurements never finish
    RefuseCommit,      // the first `value` commits of a run are refused
    ReplySize,         // CLB.G answers with `value` bytes
    Refuse,            // the command `command` is answered with n.Err
    RefuseSensorType,  // writes of in-t are answered with n.Err
  };
  Kind kind = Kind::None;
  int value = 0;
  std::string command;  // Refuse: CLB.I, CLB.S, CLB.T, CLB.G or CLB.P
};

struct FaultOptions {
  double dropRepliesPercent = 0;
  double corruptChecksumsPercent = 0;
  double noStartPercent = 0;
  double foreignCodePercent = 0;
  std::optional<uint8_t> errorCode;  // answer every request with n.Err and this code
  std::optional<long> silentAfter;   // stop answering after this many requests
  std::optional<long> hangupAfter;   // close the line after this many requests
  uint32_t seed = 1;
};

struct SimOptions {
  // Line
  std::string devicePath;  // empty: create a pseudo-terminal
  std::string linkPath;    // symlink to the pseudo-terminal's slave
  int baud = 9600;

  // Identity and addressing
  int address = 16;
  int addressLength = 8;
  std::string deviceType = "ZELMOT";
  std::string firmwareVersion = "3.07";

  // Model and state
  std::string dataDir;    // description files; empty: beside the executable
  std::string statePath;  // empty: nothing saved or restored

  // Living values
  std::vector<StatusOverride> statuses;
  uint32_t discreteInputs = 0x05;
  bool factoryRights = false;  // the line may change factory-owned attributes

  // Calibration
  double calibrationSeconds = 3.0;
  CalibrationFault calibrationFault;

  // Timing
  bool pace = false;
  double turnaroundMs = 2.0;

  FaultOptions faults;
  bool log = false;
};

// "rEAd:2=253" or "rEAd:2=245/3". False with `error` set when the text is malformed.
bool parseStatusOverride(const std::string& text, StatusOverride& status, std::string& error);

}  // namespace zelmot::sim
