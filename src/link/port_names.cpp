#include "link/port_names.h"

#include <cctype>

namespace zelmot::link {

std::string defaultComPortPath(int comNumber) {
  return "/dev/ttyS" + std::to_string(comNumber - 1);
}

int comPortNumber(const std::string& name) {
  if (name.size() < 4 || name.size() > 6) return 0;
  for (size_t i = 0; i < 3; ++i) {
    if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return 0;
  }
  int number = 0;
  for (size_t i = 3; i < name.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
    number = number * 10 + (name[i] - '0');
  }
  return number;
}

std::string resolvePortPath(const std::string& name, const ComPortMapper& mapper) {
  const int number = comPortNumber(name);
  if (number <= 0) return name;
  if (mapper) {
    std::string mapped = mapper(number);
    if (!mapped.empty()) return mapped;
  }
  return defaultComPortPath(number);
}

}  // namespace zelmot::link
