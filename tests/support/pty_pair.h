#pragma once
// A pseudo-terminal pair; the slave path is what the port or line under test opens. The
// pair keeps a slave descriptor of its own so that the master never sees a hang-up while
// the slave is closed between exchanges.
#include <string>

namespace zelmot::test_support {

class PtyPair {
public:
  PtyPair();  // fails the test when no pseudo-terminal can be made
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  int master() const { return master_; }
  const std::string& slavePath() const { return slavePath_; }
  // Hangs up the line as an unplugged adapter would.
  void closeMasterAndSlave();

private:
  int master_ = -1;
  int slaveKeeper_ = -1;
  std::string slavePath_;
};

}  // namespace zelmot::test_support
