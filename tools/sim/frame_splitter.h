#pragma once
// Cuts the bytes arriving on the line into request frames ("#" ... carriage return). Any
// bytes are safe: text outside a frame is skipped, a "#" in the middle of a frame starts a
// new one (the broken piece is dropped), and a piece longer than the longest request frame
// is dropped, so the buffer never grows beyond that.
#include <cstddef>
#include <string>
#include <vector>

namespace zelmot::sim {

class FrameSplitter {
public:
  // Longest request frame on the line: 15 data bytes.
  static constexpr size_t kMaxFrame = 44;

  // Appends every complete frame to `frames` and returns how many damaged pieces (stray
  // text, cut or overlong frames) were dropped.
  size_t feed(const char* bytes, size_t count, std::vector<std::string>& frames);

  size_t pending() const { return current_.size(); }

private:
  std::string current_;
  bool inStrayText_ = false;
};

}  // namespace zelmot::sim
