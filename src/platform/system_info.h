#pragma once
// The operating-system text the program shows among its service parameters: the
// distribution's pretty name and the kernel release, "<неизвестно>" when neither is known.
#include <filesystem>
#include <string>

namespace zelmot {

inline constexpr const char* kUnknownSystemText = "<неизвестно>";

// PRETTY_NAME of an os-release file (quotes and backslash escapes removed); empty when the
// file or the value is missing.
std::string osReleasePrettyName(const std::filesystem::path& file);

// "<pretty name>, Linux <release>", or what there is of the two; kUnknownSystemText when
// both are empty.
std::string operatingSystemText(const std::string& prettyName, const std::string& kernelRelease);

// The text for this machine: /etc/os-release (then /usr/lib/os-release) and uname().
std::string operatingSystemText();

}  // namespace zelmot
