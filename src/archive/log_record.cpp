#include "archive/log_record.h"

#include <algorithm>
#include <cstring>

namespace zelmot::archive {

int64_t logTimeStamp(const std::tm& localTime) {
  if (localTime.tm_year < 0) return 0;  // tm_year counts from 1900
  std::tm copy = localTime;
  copy.tm_isdst = -1;
  return static_cast<int64_t>(std::mktime(&copy));
}

std::tm localTimeOfStamp(int64_t timeStamp) {
  const auto seconds = static_cast<std::time_t>(timeStamp);
  std::tm local{};
  localtime_r(&seconds, &local);
  return local;
}

std::vector<uint8_t> encodeLogRecord(const LogRecord& record) {
  const size_t nameLength = std::min(record.name.size(), kLogNameFieldSize);
  const size_t replyLength = std::min(record.reply.size(), kLogMaxReplyLength);
  std::vector<uint8_t> bytes(kLogRecordHeadSize + replyLength, 0);
  auto stamp = static_cast<uint64_t>(record.timeStamp);
  for (size_t i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(stamp >> (8 * i));
  std::memcpy(bytes.data() + 8, record.name.data(), nameLength);
  bytes[16] = record.index;
  bytes[17] = record.error ? 1 : 0;
  bytes[18] = static_cast<uint8_t>(replyLength);
  std::copy_n(record.reply.begin(), replyLength, bytes.begin() + kLogRecordHeadSize);
  return bytes;
}

LogReadStatus LogRecordReader::next(LogRecord& record) {
  const size_t left = bytes_.size() - offset_;
  if (left == 0) return LogReadStatus::End;
  if (left < kLogRecordHeadSize) return LogReadStatus::CutOff;
  const uint8_t* head = bytes_.data() + offset_;
  const size_t replyLength = head[18];
  if (replyLength > kLogMaxReplyLength) return LogReadStatus::BadLength;
  if (left < kLogRecordHeadSize + replyLength) return LogReadStatus::CutOff;

  uint64_t stamp = 0;
  for (size_t i = 0; i < 8; ++i) stamp |= static_cast<uint64_t>(head[i]) << (8 * i);
  record.timeStamp = static_cast<int64_t>(stamp);
  const auto* name = reinterpret_cast<const char*>(head + 8);
  record.name.assign(name, strnlen(name, kLogNameFieldSize));
  record.index = head[16];
  record.error = head[17] != 0;
  record.reply.assign(head + kLogRecordHeadSize, head + kLogRecordHeadSize + replyLength);
  offset_ += kLogRecordHeadSize + replyLength;
  return LogReadStatus::Record;
}

}  // namespace zelmot::archive
