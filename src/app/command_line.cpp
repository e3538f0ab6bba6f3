#include "app/command_line.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "app/frame_texts.h"
#include "platform/ascii_text.h"

namespace zelmot::app {
namespace {

constexpr int kLargestPortNumber = 255;

struct Option {
  std::string key;
  std::optional<std::string> value;
};

std::string withoutQuotes(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != '"') out.push_back(c);
  }
  return out;
}

// Splits a switch's text at every "/" that is not inside double quotes.
std::vector<Option> splitOptions(const std::string& text) {
  std::vector<std::string> parts(1);
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (c == '/' && !quoted) {
      parts.emplace_back();
    } else {
      parts.back().push_back(c);
    }
  }
  std::vector<Option> options;
  for (const std::string& part : parts) {
    const size_t colon = part.find(':');
    if (colon == std::string::npos) {
      options.push_back({part, std::nullopt});
    } else {
      options.push_back({part.substr(0, colon), part.substr(colon + 1)});
    }
  }
  return options;
}

std::optional<bool> onOff(const std::optional<std::string>& value) {
  if (value == "on") return true;
  if (value == "off") return false;
  return std::nullopt;
}

std::optional<int> number(const std::optional<std::string>& value) {
  return value ? parseCNumber(*value) : std::nullopt;
}

bool endsWithZel(const std::string& argument) {
  const std::string_view extension = kFileExtension;
  return argument.size() >= extension.size() &&
         equalsIgnoreCase(
             std::string_view(argument).substr(argument.size() - extension.size()), extension);
}

bool isSwitch(const std::string& argument) {
  if (argument.empty()) return false;
  if (argument[0] == '-') return true;
  return argument[0] == '/' && !endsWithZel(argument);
}

// Options that take no value (a value given anyway is ignored).
bool applyFlag(const std::string& key, CommandLine& line) {
  if (key == "write") line.writeRequested = true;
  else if (key == "read") line.readRequested = true;
  else if (key == "calibrate") line.calibrate = true;
  else if (key == "close") line.close = true;
  else if (key == "aply") line.aply = true;
  else if (key == "test") line.test = true;
  else if (key == "silent") {
    line.silent = true;
    line.autoRead = false;
    line.autoWrite = false;
  } else if (key == "newnetparam") {
    line.newNetParam = true;
    line.port = 0;
    line.networkGiven = false;
  } else {
    return false;
  }
  return true;
}

// Network options: each sets the given-flag when its value parses.
bool applyNetwork(const Option& option, CommandLine& line) {
  const std::string& key = option.key;
  bool parsed = false;
  if (key == "port") {
    const auto value = number(option.value);
    if (value && !line.newNetParam && *value >= 1 && *value <= kLargestPortNumber) {
      line.port = *value;
      parsed = true;
    }
  } else if (key == "bps" || key == "len" || key == "alen") {
    const auto value = number(option.value);
    if (value) {
      int& target = key == "bps" ? line.baud : key == "len" ? line.dataBits : line.addressLength;
      target = *value;
      parsed = true;
    }
  } else if (key == "addr" || key == "sbit") {
    if (option.value) {
      (key == "addr" ? line.address : line.stopBits) = *option.value;
      parsed = true;
    }
  } else if (key == "prty") {
    if (option.value == "even") line.parity = LineParity::Even;
    else if (option.value == "odd") line.parity = LineParity::Odd;
    else if (option.value == "no") line.parity = LineParity::None;
    else {
      line.networkGiven = false;  // an unknown parity cancels the network settings
      return true;
    }
    parsed = true;
  } else {
    return false;
  }
  if (parsed) line.networkGiven = true;
  return true;
}

void applyPlacement(const Option& option, CommandLine& line) {
  const auto value = number(option.value);
  if (!value) return;
  WindowPlacement& place = line.placement;
  if (option.key == "x") place.x = value;
  if (option.key == "y") place.y = value;
  if (option.key == "w") place.width = value;
  if (option.key == "h") place.height = value;
}

void applyOption(const Option& option, CommandLine& line) {
  const std::string& key = option.key;
  if (applyFlag(key, line) || applyNetwork(option, line)) return;
  if (key == "x" || key == "y" || key == "w" || key == "h") {
    applyPlacement(option, line);
  } else if (key == "rs485") {
    if (option.value == "auto") line.converter = ConverterChoice::Auto;
    if (option.value == "off") line.converter = ConverterChoice::Off;
    if (option.value == "on") line.converter = ConverterChoice::On;
  } else if (key == "autoread" || key == "autowrite") {
    if (const auto on = onOff(option.value)) (key == "autoread" ? line.autoRead : line.autoWrite) = on;
  } else if (key == "elog" && option.value) {
    line.errorLog = withoutQuotes(*option.value);
  } else if (key == "exitevent" && option.value) {
    line.exitEvent = withoutQuotes(*option.value);
  }
}

}  // namespace

std::optional<int> parseCNumber(const std::string& text) {
  if (text.empty() || std::isspace(static_cast<unsigned char>(text.front()))) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 0);
  if (errno != 0 || end != text.c_str() + text.size()) return std::nullopt;
  if (value < INT_MIN || value > INT_MAX) return std::nullopt;
  return static_cast<int>(value);
}

CommandLineJob CommandLine::job() const {
  if (writeRequested) return CommandLineJob::WriteAll;
  if (calibrate) return CommandLineJob::Calibrate;
  if (readRequested) return CommandLineJob::ReadAll;
  return CommandLineJob::None;
}

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  for (const std::string& argument : arguments) {
    if (!isSwitch(argument)) {
      if (line.documentPath.empty()) line.documentPath = argument;
      continue;
    }
    line.commandLineMode = true;
    for (const Option& option : splitOptions(argument.substr(1))) applyOption(option, line);
  }
  line.noExchange = line.newNetParam || (line.commandLineMode && line.port == 0);
  return line;
}

CommandLine parseCommandLine(int argc, const char* const* argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i] != nullptr ? argv[i] : "");
  return parseCommandLine(arguments);
}

}  // namespace zelmot::app
