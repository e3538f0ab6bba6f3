#pragma once
#include <string>

namespace zelmot {

// Version of the program as the user sees it ("0.1.0").
std::string programVersion();

}  // namespace zelmot
