#include "platform/version.h"

namespace zelmot {

std::string programVersion() { return "0.1.0"; }

// The compiler's own date and time of this file's build (SOURCE_DATE_EPOCH when set).
std::string programBuildDateTime() { return __DATE__ " " __TIME__; }

}  // namespace zelmot
