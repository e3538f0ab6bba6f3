#pragma once
#include <string>

namespace zelmot {

// Version of the program as the user sees it ("0.1.0").
std::string programVersion();

// When this build was made, "Mmm dd yyyy hh:mm:ss" ("Apr 17 2009 13:49:33").
std::string programBuildDateTime();

}  // namespace zelmot
