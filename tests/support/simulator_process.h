#pragma once
// zelmot-sim as a child process, its standard output and error kept in a folder of its
// own. The constructor returns once the first line (the slave path) is out, or the
// simulator ended, or 20 s passed.
#include <memory>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/temp_folder.h"

namespace zelmot::test_support {

class SimulatorProcess {
public:
  explicit SimulatorProcess(const std::vector<std::string>& arguments);
  ~SimulatorProcess();  // SIGTERM, then waits

  // The arguments that serve the compiled model of the build with --log on, then `options`.
  static std::vector<std::string> servingTheModel(const std::vector<std::string>& options = {});

  // The first line of its output: the slave path (empty when it ended without one).
  const std::string& slavePath() const { return firstLine_; }
  std::string output() const;
  std::string log() const;  // standard error: with --log, every frame
  // The data bytes of every write frame for `name` in the log ("[03]"), and the names of
  // every write frame, in order.
  std::vector<std::string> writesOf(const std::string& name) const;
  std::vector<std::string> writtenNames() const;
  // The same without the protection-attribute writes ("M.s.t.r.") that precede a value
  // write at the full access level: the order of the values themselves.
  std::vector<std::string> writtenValueNames() const;
  // The names of every read frame, in order.
  std::vector<std::string> readNames() const;

  void signal(int number) const;  // e.g. SIGSTOP to silence the line, SIGCONT to bring it back
  int stop(int signal);  // exit status
  int wait();

private:
  TempFolder folder_;
  std::unique_ptr<ChildProcess> process_;
  std::string firstLine_;
};

}  // namespace zelmot::test_support
