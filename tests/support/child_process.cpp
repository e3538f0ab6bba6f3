#include "support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace zelmot::test_support {
namespace {

int exitStatus(int status) {
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Only async-signal-safe calls between fork and exec.
[[noreturn]] void becomeChild(char* const* argv, const char* out, const char* err) {
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  const int in = ::open("/dev/null", O_RDONLY);
  const int outFd = ::open(out, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int errFd = ::open(err, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (in < 0 || outFd < 0 || errFd < 0) ::_exit(127);
  ::dup2(in, STDIN_FILENO);
  ::dup2(outFd, STDOUT_FILENO);
  ::dup2(errFd, STDERR_FILENO);
  ::execv(argv[0], argv);
  ::_exit(127);
}

}  // namespace

std::filesystem::path binDir() { return ZELMOT_BIN_DIR; }

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::filesystem::path& out,
                           const std::filesystem::path& err) {
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  const std::string outPath = out.string();
  const std::string errPath = err.string();
  pid_ = ::fork();
  if (pid_ == 0) becomeChild(args.data(), outPath.c_str(), errPath.c_str());
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !waited_) {
    ::kill(pid_, SIGKILL);
    wait();
  }
}

bool ChildProcess::running() {
  if (pid_ <= 0 || waited_) return false;
  int status = 0;
  if (::waitpid(pid_, &status, WNOHANG) != pid_) return true;
  waited_ = true;
  status_ = exitStatus(status);
  return false;
}

void ChildProcess::signal(int number) const {
  if (pid_ > 0 && !waited_) ::kill(pid_, number);
}

int ChildProcess::wait() {
  if (pid_ <= 0) return -1;
  if (!waited_) {
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    waited_ = true;
    status_ = exitStatus(status);
  }
  return status_;
}

}  // namespace zelmot::test_support
