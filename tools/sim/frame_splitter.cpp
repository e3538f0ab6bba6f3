#include "frame_splitter.h"

#include "link/frame_codec.h"

namespace zelmot::sim {

size_t FrameSplitter::feed(const char* bytes, size_t count, std::vector<std::string>& frames) {
  size_t dropped = 0;
  for (size_t i = 0; i < count; ++i) {
    const char c = bytes[i];
    if (c == link::kFrameStart) {
      if (!current_.empty()) ++dropped;  // a frame cut short by the next one
      current_.assign(1, c);
      inStrayText_ = false;
      continue;
    }
    if (current_.empty()) {
      if (!inStrayText_) ++dropped;  // one count per run of stray text
      inStrayText_ = true;
      continue;
    }
    current_.push_back(c);
    if (c == link::kFrameEnd) {
      frames.push_back(std::move(current_));
      current_.clear();
    } else if (current_.size() >= kMaxFrame) {
      ++dropped;
      current_.clear();
      inStrayText_ = true;  // the rest of this piece is stray text too
    }
  }
  return dropped;
}

}  // namespace zelmot::sim
