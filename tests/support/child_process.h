#pragma once
// A program of the build run as a child, its output captured in files. The child gets a
// SIGTERM when the test process dies, so that nothing is left behind.
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace zelmot::test_support {

// The folder of the built programs and the compiled device model.
std::filesystem::path binDir();

class ChildProcess {
public:
  // argv[0] is the program's path; standard input is /dev/null.
  ChildProcess(const std::vector<std::string>& argv, const std::filesystem::path& out,
               const std::filesystem::path& err);
  ~ChildProcess();  // kills a child that is still running
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  bool running();
  void signal(int number) const;
  int wait();  // exit status, or 128 + signal

private:
  pid_t pid_ = -1;
  bool waited_ = false;
  int status_ = -1;
};

}  // namespace zelmot::test_support
