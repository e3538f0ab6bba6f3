#include "archive/log_record.h"

#include <gtest/gtest.h>

namespace zelmot::archive {
namespace {

TEST(LogRecord, ShortNameIsZeroTerminatedAndReadsBack) {
  LogRecord record{1'765'000'000, "rG", 3, true, {0x01, 0x02}};
  const auto bytes = encodeLogRecord(record);
  ASSERT_EQ(bytes.size(), 21u);
  EXPECT_EQ(bytes[8], 'r');
  EXPECT_EQ(bytes[9], 'G');
  EXPECT_EQ(bytes[10], 0);
  EXPECT_EQ(bytes[16], 3);
  EXPECT_EQ(bytes[17], 1);
  EXPECT_EQ(bytes[18], 2);

  LogRecordReader reader(bytes);
  LogRecord back;
  ASSERT_EQ(reader.next(back), LogReadStatus::Record);
  EXPECT_EQ(back, record);
  EXPECT_EQ(reader.next(back), LogReadStatus::End);
}

TEST(LogRecord, EightByteNameHasNoTerminatorAndBytesAfterAZeroMeanNothing) {
  LogRecord full{0, "ABCDEFGH", 0, false, {}};
  auto bytes = encodeLogRecord(full);
  LogRecord back;
  ASSERT_EQ(LogRecordReader(bytes).next(back), LogReadStatus::Record);
  EXPECT_EQ(back.name, "ABCDEFGH");

  bytes[10] = 0;  // "AB", then a zero, then leftovers
  ASSERT_EQ(LogRecordReader(bytes).next(back), LogReadStatus::Record);
  EXPECT_EQ(back.name, "AB");
}

TEST(LogRecord, OverlongFieldsAreCutToTheLayout) {
  LogRecord record{0, "TOOLONGNAME", 0, false, std::vector<uint8_t>(20, 0xAA)};
  const auto bytes = encodeLogRecord(record);
  EXPECT_EQ(bytes.size(), kLogRecordHeadSize + kLogMaxReplyLength);
  EXPECT_EQ(bytes[18], kLogMaxReplyLength);
}

TEST(LogRecord, DamagedOrCutOffBytesAreReportedNotReadPast) {
  auto bytes = encodeLogRecord({0, "T1", 0, false, {1, 2, 3}});
  auto second = encodeLogRecord({0, "T2", 1, false, {4}});
  bytes.insert(bytes.end(), second.begin(), second.end());

  LogRecord back;
  std::vector<uint8_t> cut(bytes.begin(), bytes.end() - 1);
  LogRecordReader cutReader(cut);
  EXPECT_EQ(cutReader.next(back), LogReadStatus::Record);
  EXPECT_EQ(cutReader.next(back), LogReadStatus::CutOff);
  EXPECT_EQ(cutReader.offset(), 22u);

  std::vector<uint8_t> headOnly(bytes.begin(), bytes.begin() + 10);
  EXPECT_EQ(LogRecordReader(headOnly).next(back), LogReadStatus::CutOff);

  bytes[18] = 16;
  EXPECT_EQ(LogRecordReader(bytes).next(back), LogReadStatus::BadLength);
}

TEST(LogRecord, TimeStampComesFromTheLocalTimeAndYearsBefore1900AreZero) {
  std::tm local{};
  local.tm_year = 126;
  local.tm_mon = 11;
  local.tm_mday = 6;
  local.tm_hour = 13;
  const int64_t stamp = logTimeStamp(local);
  const std::tm back = localTimeOfStamp(stamp);
  EXPECT_EQ(back.tm_year, 126);
  EXPECT_EQ(back.tm_mday, 6);
  EXPECT_EQ(back.tm_hour, 13);

  local.tm_year = -1;
  EXPECT_EQ(logTimeStamp(local), 0);
}

}  // namespace
}  // namespace zelmot::archive
