#include "support/external_program.h"

#include <atomic>

#include "support/child_process.h"
#include "support/file_text.h"

namespace zelmot::test_support {

ProgramRun runProgram(const std::vector<std::string>& argv, const std::filesystem::path& folder) {
  static std::atomic<int> runs{0};
  const std::string tag = "program" + std::to_string(++runs);
  const std::filesystem::path out = folder / (tag + ".out");
  const std::filesystem::path err = folder / (tag + ".err");
  ProgramRun run;
  {
    ChildProcess child(argv, out, err);
    if (child.started()) run.exitCode = child.wait();
  }
  run.out = readWholeFile(out);
  run.err = readWholeFile(err);
  return run;
}

std::string pythonWithModule(const std::string& module, const std::filesystem::path& folder) {
  const std::string python = "/usr/bin/python3";
  if (!std::filesystem::exists(python)) return {};
  return runProgram({python, "-c", "import " + module}, folder).exitCode == 0 ? python : std::string();
}

}  // namespace zelmot::test_support
