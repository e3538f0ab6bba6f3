#pragma once
// One record of a daily measurement log: a fixed 19-byte head (time stamp, name field,
// index, error flag, reply length) followed by the raw reply bytes of the reading.
// Logs come back from disk and from other machines, so the reader trusts nothing: a
// length above the limit or a record cut off at the end is reported, never read past.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <vector>

namespace zelmot::archive {

inline constexpr size_t kLogRecordHeadSize = 19;
inline constexpr size_t kLogNameFieldSize = 8;
inline constexpr size_t kLogMaxReplyLength = 15;

struct LogRecord {
  int64_t timeStamp = 0;      // see logTimeStamp
  std::string name;           // at most 8 bytes, 8-bit characters as the device spells them
  uint8_t index = 0;          // low byte of the linear index
  bool error = false;         // the parameter had an error text after the reading
  std::vector<uint8_t> reply; // raw data bytes of the reply, at most 15

  bool operator==(const LogRecord&) const = default;
};

// Seconds since 1970-01-01 00:00 UTC of a local date and time, daylight saving decided
// by the system; 0 for a year below 1900.
int64_t logTimeStamp(const std::tm& localTime);
// The local date and time of a stored time stamp (the inverse, for reports).
std::tm localTimeOfStamp(int64_t timeStamp);

// The bytes of one record. A name longer than 8 bytes keeps its first 8; a reply longer
// than 15 bytes keeps its first 15, so that every record stays readable.
std::vector<uint8_t> encodeLogRecord(const LogRecord& record);

enum class LogReadStatus {
  Record,     // `record` holds the next record
  End,        // no bytes left
  CutOff,     // the bytes end inside a record
  BadLength,  // a reply length above 15: not a daily log, or damaged here
};

// Walks the records of a daily log held in memory (or one chunk of it).
class LogRecordReader {
public:
  explicit LogRecordReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  LogReadStatus next(LogRecord& record);
  // Bytes consumed by the records read so far.
  size_t offset() const { return offset_; }

private:
  std::span<const uint8_t> bytes_;
  size_t offset_ = 0;
};

}  // namespace zelmot::archive
