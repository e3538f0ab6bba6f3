#pragma once
// Independent programs (Debian's python3 with its readers, headless Chromium) run by tests
// to check the files the program writes.
#include <filesystem>
#include <string>
#include <vector>

namespace zelmot::test_support {

struct ProgramRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs argv (argv[0] a full path) to its end; its output is kept in files of `folder`.
ProgramRun runProgram(const std::vector<std::string>& argv, const std::filesystem::path& folder);

// Debian's python3 when it can import `module`; empty otherwise.
std::string pythonWithModule(const std::string& module, const std::filesystem::path& folder);

}  // namespace zelmot::test_support
