#pragma once
#include <string>

namespace zelmot {

// Version of the program as the user sees it ("0.1.0").
std::string programVersion();

// When this build was made, "Mmm dd yyyy hh:mm:ss" ("Apr 17 2009 13:49:33").
std::string programBuildDateTime();

// The copyright line of the program.
std::string programCopyright();

// The day the program was built, "DD.MM.YYYY".
std::string programBuildDate();

// The date as the compiler writes it ("Dec  8 2026") in "DD.MM.YYYY"; empty when malformed.
std::string buildDateText(const std::string& compilerDate);

}  // namespace zelmot
