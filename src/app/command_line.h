#pragma once
// The desktop program's command-line grammar, for callers that drive it unattended:
// an argument beginning with "/" or "-" is a switch, anything else the document path. A
// switch's text is split at every "/" into options "key" or "key:value" (the value is all
// after the first ":"); keys are case-sensitive; unknown keys are ignored. Any switch puts
// the program into command-line mode.
//
// Two additions for paths on this system, which contain "/": a "/" inside double quotes
// does not split (`/elog:"/tmp/err.log"/close`), and an argument beginning with "/" that
// ends in ".zel" is the document path, not a switch.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelmot::app {

// Parity as the command line gives it.
enum class LineParity { NotGiven = 0, Even = 1, Odd = 2, None = 3 };

// Interface converter as the command line gives it (`rs485`).
enum class ConverterChoice { NotGiven = 0, Auto = 1, Off = 2, On = 3 };

// The job a command line asks for; only one is run.
enum class CommandLineJob { None, WriteAll, Calibrate, ReadAll };

struct WindowPlacement {
  std::optional<int> x, y, width, height;
};

struct CommandLine {
  // Automation
  bool commandLineMode = false;
  bool writeRequested = false;
  bool readRequested = false;
  bool calibrate = false;
  bool close = false;
  bool aply = false;

  // Network settings; applied to the program's port settings only while networkGiven.
  bool networkGiven = false;
  int port = 0;  // COM number, 1..255; 0 none
  int baud = 0;
  LineParity parity = LineParity::NotGiven;
  std::string address;
  int addressLength = 0;
  int dataBits = 0;
  std::string stopBits;
  ConverterChoice converter = ConverterChoice::NotGiven;

  // Modes
  std::optional<bool> autoRead;
  std::optional<bool> autoWrite;
  bool silent = false;
  bool test = false;
  bool newNetParam = false;
  bool noExchange = false;  // newnetparam, or command-line mode without a port

  WindowPlacement placement;
  std::optional<std::string> errorLog;
  std::optional<std::string> exitEvent;
  std::string documentPath;

  // write before calibrate before read.
  CommandLineJob job() const;
};

// Parses the arguments after the program name.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The same, for a main()'s argument vector (argv[0] is skipped).
CommandLine parseCommandLine(int argc, const char* const* argv);

// A number in the notation of C's "%i" (decimal, 0x hex, leading-0 octal, optional sign),
// the whole text; nullopt when it is not one or does not fit an int.
std::optional<int> parseCNumber(const std::string& text);

}  // namespace zelmot::app
