#include "archive/day_log_stream.h"

#include <algorithm>
#include <system_error>

namespace zelmot::archive {
namespace {
constexpr size_t kChunk = 1 << 20;
}

DayLogStream::~DayLogStream() {
  if (file_ != nullptr) std::fclose(file_);
}

bool DayLogStream::open(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) return false;
  size_ = std::filesystem::file_size(path, error);
  if (error) size_ = 0;
  return true;
}

bool DayLogStream::refill() {
  if (fileEnded_ || file_ == nullptr) return false;
  buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
  start_ = 0;
  const size_t kept = buffer_.size();
  buffer_.resize(kept + kChunk);
  const size_t got = std::fread(buffer_.data() + kept, 1, kChunk, file_);
  buffer_.resize(kept + got);
  if (got == 0) fileEnded_ = true;
  return got > 0;
}

LogReadStatus DayLogStream::next(LogRecord& record) {
  for (;;) {
    LogRecordReader reader(std::span<const uint8_t>(buffer_).subspan(start_));
    const LogReadStatus status = reader.next(record);
    if (status == LogReadStatus::Record) {
      start_ += reader.offset();
      consumed_ += reader.offset();
      return status;
    }
    if (status == LogReadStatus::BadLength) return status;
    // End of the buffer, or a record cut by it: read on unless the file has ended.
    if (!refill()) return status;
  }
}

int DayLogStream::percent() const {
  if (size_ == 0) return 100;
  return static_cast<int>(std::min<uint64_t>(100, consumed_ * 100 / size_));
}

}  // namespace zelmot::archive
