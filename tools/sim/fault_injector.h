#pragma once
// Faults a test can ask of the device, reproducible from a seed: dropped replies, broken
// checksums, replies without the start character or with a foreign command code, going
// silent or closing the line after a number of requests.
#include <cstdint>
#include <random>
#include <string>

#include "sim_options.h"

namespace zelmot::sim {

class FaultInjector {
public:
  enum class Fate { Answer, Silent, AnswerThenHangUp };

  explicit FaultInjector(const FaultOptions& options);

  // Counts one request addressed to the device and says what becomes of it.
  Fate onRequest();

  // Applies the share-based faults to a reply about to be built; false drops the reply.
  bool keepReply();
  uint16_t replyCommand(uint16_t command, uint16_t requestCommand);
  // Applies checksum and start-character faults to a built line frame.
  void spoilFrame(std::string& lineFrame);

  const FaultOptions& options() const { return options_; }

private:
  bool chance(double percent);

  FaultOptions options_;
  std::mt19937 random_;
  long requests_ = 0;
};

}  // namespace zelmot::sim
