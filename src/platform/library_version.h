#pragma once
// A library the program uses, with the version it runs with (for "О программе...").
#include <string>
#include <vector>

namespace zelmot {

struct LibraryVersion {
  std::string name;
  std::string version;
};

// The libraries the platform layer itself uses.
std::vector<LibraryVersion> platformLibraries();

}  // namespace zelmot
