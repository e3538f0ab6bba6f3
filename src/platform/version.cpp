#include "platform/version.h"

#include <cstdio>
#include <cstring>

namespace zelmot {

std::string programVersion() { return "0.1.0"; }

// The compiler's own date and time of this file's build (SOURCE_DATE_EPOCH when set).
std::string programBuildDateTime() { return __DATE__ " " __TIME__; }

std::string programCopyright() { return "© 2026 Kavrel"; }

std::string programBuildDate() { return buildDateText(__DATE__); }

std::string buildDateText(const std::string& compilerDate) {
  static constexpr const char* kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
  char month[4] = {};
  int day = 0;
  int year = 0;
  if (std::sscanf(compilerDate.c_str(), "%3s %d %d", month, &day, &year) != 3) return {};
  const char* found = std::strlen(month) == 3 ? std::strstr(kMonths, month) : nullptr;
  if (found == nullptr || (found - kMonths) % 3 != 0 || day < 1 || day > 31) return {};
  char text[48];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", day, static_cast<int>(found - kMonths) / 3 + 1,
                year);
  return text;
}

}  // namespace zelmot
