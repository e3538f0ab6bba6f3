#pragma once
// Reads the records of a daily log file in order without holding the whole day in memory,
// and tells how many of its bytes have been read (for the progress of an export).
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "archive/log_record.h"

namespace zelmot::archive {

class DayLogStream {
public:
  DayLogStream() = default;
  ~DayLogStream();
  DayLogStream(const DayLogStream&) = delete;
  DayLogStream& operator=(const DayLogStream&) = delete;

  bool open(const std::filesystem::path& path);
  // The next record; CutOff or BadLength when the file is damaged from here on.
  LogReadStatus next(LogRecord& record);
  uint64_t size() const { return size_; }
  // Bytes of the records returned so far.
  uint64_t consumed() const { return consumed_; }
  // Whole percent of the file read.
  int percent() const;

private:
  bool refill();

  std::FILE* file_ = nullptr;
  std::vector<uint8_t> buffer_;
  size_t start_ = 0;  // first unread byte in the buffer
  uint64_t size_ = 0;
  uint64_t consumed_ = 0;
  bool fileEnded_ = false;
};

}  // namespace zelmot::archive
