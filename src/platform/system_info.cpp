#include "platform/system_info.h"

#include <sys/utsname.h>

#include <fstream>

namespace zelmot {
namespace {

constexpr std::string_view kPrettyNameKey = "PRETTY_NAME=";
constexpr size_t kMaxLineLength = 4096;

// The shell-style value of an os-release line: quoted or bare, with "\" escapes.
std::string unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  std::string text;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) ++i;
    text += value[i];
  }
  return text;
}

std::string kernelRelease() {
  struct utsname names {};
  if (uname(&names) != 0) return {};
  return names.release;
}

}  // namespace

std::string osReleasePrettyName(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.size() > kMaxLineLength || line.rfind(kPrettyNameKey, 0) != 0) continue;
    return unquote(std::string_view(line).substr(kPrettyNameKey.size()));
  }
  return {};
}

std::string operatingSystemText(const std::string& prettyName, const std::string& kernelRelease) {
  const std::string kernel = kernelRelease.empty() ? std::string() : "Linux " + kernelRelease;
  if (prettyName.empty() && kernel.empty()) return kUnknownSystemText;
  if (prettyName.empty()) return kernel;
  if (kernel.empty()) return prettyName;
  return prettyName + ", " + kernel;
}

std::string operatingSystemText() {
  std::string prettyName = osReleasePrettyName("/etc/os-release");
  if (prettyName.empty()) prettyName = osReleasePrettyName("/usr/lib/os-release");
  return operatingSystemText(prettyName, kernelRelease());
}

}  // namespace zelmot
