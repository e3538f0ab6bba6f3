#include "platform/os_error.h"

#include <string.h>

namespace zelmot {

std::string osErrorText(int code) {
  char buffer[256] = {};
  // The GNU strerror_r returns its text, either in `buffer` or a static string.
  return ::strerror_r(code, buffer, sizeof buffer);
}

std::string withOsError(const std::string& what, int code) {
  return what + ": " + osErrorText(code);
}

}  // namespace zelmot
