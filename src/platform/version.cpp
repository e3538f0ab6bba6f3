#include "platform/version.h"

namespace zelmot {

std::string programVersion() { return "0.1.0"; }

}  // namespace zelmot
