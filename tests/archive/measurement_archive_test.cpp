#include "archive/measurement_archive.h"

#include <gtest/gtest.h>

#include <thread>

#include "archive/log_record.h"
#include "archive/monthly_file.h"
#include "model/parameter.h"
#include "support/file_text.h"
#include "support/fixed_clock.h"
#include "support/temp_folder.h"

namespace zelmot::archive {
namespace {

namespace fs = std::filesystem;
using test_support::FixedClock;
using test_support::readWholeFileBytes;

void setReading(model::Parameter& parameter, const std::string& name, int32_t index,
                std::vector<uint8_t> reply, const std::string& error = {}) {
  parameter.setName(name);
  parameter.setLinearIndex(index);
  parameter.setRawData(reply.data(), reply.size());
  parameter.setErrorText(error);
}

std::vector<LogRecord> recordsOf(const fs::path& log) {
  const std::vector<uint8_t> bytes = readWholeFileBytes(log);
  LogRecordReader reader(bytes);
  std::vector<LogRecord> records;
  LogRecord record;
  while (reader.next(record) == LogReadStatus::Record) records.push_back(record);
  EXPECT_EQ(reader.offset(), bytes.size());
  return records;
}

class ArchiveTest : public ::testing::Test {
protected:
  test_support::TempFolder home;
  fs::path dir = home.path();
  FixedClock clock{6, 12, 2026, 23, 59};
  MeasurementArchive archive{dir, clock};
  model::Parameter parameter;
};

TEST_F(ArchiveTest, OffByDefaultStoresNothingAndSaysSo) {
  setReading(parameter, "rEAd", 0, {1, 2});
  EXPECT_FALSE(archive.enabled());
  EXPECT_TRUE(archive.append(parameter));
  EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(ArchiveTest, RecordsCarryNameIndexErrorFlagAndReply) {
  archive.rotate();
  archive.setEnabled(true);
  setReading(parameter, "rG", 0x103, {0xAB, 0xCD});
  ASSERT_TRUE(archive.append(parameter));
  // A failed reading: error flag 1 with whatever reply the parameter kept (here none).
  setReading(parameter, "Set.P", 2, {}, "Таймаут при передаче данных (нет связи)");
  ASSERT_TRUE(archive.append(parameter));

  const fs::path log = dir / "06-12-2026.log";
  const std::vector<uint8_t> bytes = readWholeFileBytes(log);
  ASSERT_EQ(bytes.size(), 21u + 19u);
  EXPECT_EQ(bytes[8], 'r');
  EXPECT_EQ(bytes[9], 'G');
  EXPECT_EQ(bytes[10], 0);
  const std::vector<LogRecord> records = recordsOf(log);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].index, 0x03);
  EXPECT_FALSE(records[0].error);
  EXPECT_EQ(records[0].reply, (std::vector<uint8_t>{0xAB, 0xCD}));
  EXPECT_EQ(records[0].timeStamp, logTimeStamp(clock.now()));
  EXPECT_TRUE(records[1].error);
  EXPECT_TRUE(records[1].reply.empty());
}

TEST_F(ArchiveTest, AppendThatCannotOpenTheLogFails) {
  const fs::path notAFolder = home / "file";
  test_support::writeWholeFile(notAFolder, "x");
  MeasurementArchive broken(notAFolder, clock);
  broken.setEnabled(true);
  setReading(parameter, "rEAd", 0, {1});
  EXPECT_FALSE(broken.append(parameter));
}

TEST_F(ArchiveTest, FirstTickAfterMidnightPacksYesterdayIntoItsMonth) {
  EXPECT_TRUE(archive.rotate().dateChanged);
  EXPECT_EQ(archive.currentLogName(), "06-12-2026.log");
  archive.setEnabled(true);
  setReading(parameter, "rEAd", 1, {9, 8, 7});
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(archive.append(parameter));
  const std::vector<uint8_t> yesterday = readWholeFileBytes(dir / "06-12-2026.log");
  EXPECT_FALSE(archive.rotate().dateChanged);  // same day: nothing happens

  clock.set(7, 12, 2026, 0, 0);
  const RotationResult result = archive.rotate();
  EXPECT_TRUE(result.dateChanged);
  ASSERT_EQ(result.packed.size(), 1u);
  EXPECT_TRUE(result.ok());
  EXPECT_EQ(archive.currentLogName(), "07-12-2026.log");
  EXPECT_FALSE(fs::exists(dir / "06-12-2026.log"));
  std::vector<uint8_t> stream;
  ASSERT_EQ(readStream(dir / "12-2026.var", "06-12-2026.log", stream), MonthlyStatus::Ok);
  EXPECT_EQ(stream, yesterday);
}

TEST_F(ArchiveTest, RotationPacksEveryOlderLogEachIntoItsOwnMonth) {
  test_support::writeWholeFile(dir / "30-11-2026.log", "november");
  test_support::writeWholeFile(dir / "31-12-2025.log", "last year");
  test_support::writeWholeFile(dir / "notes.log", "not a day");
  test_support::writeWholeFile(dir / "06-12-2026.log", "today");
  EXPECT_TRUE(archive.rotate().ok());
  EXPECT_TRUE(fs::exists(dir / "06-12-2026.log"));
  EXPECT_TRUE(fs::exists(dir / "notes.log"));
  std::vector<uint8_t> stream;
  EXPECT_EQ(readStream(dir / "11-2026.var", "30-11-2026.log", stream), MonthlyStatus::Ok);
  EXPECT_EQ(std::string(stream.begin(), stream.end()), "november");
  EXPECT_EQ(readStream(dir / "12-2025.var", "31-12-2025.log", stream), MonthlyStatus::Ok);
  EXPECT_FALSE(fs::exists(dir / "30-11-2026.log"));
}

TEST_F(ArchiveTest, AppendsBeforeTheFirstRotationStillLetItPackOlderLogs) {
  test_support::writeWholeFile(dir / "05-12-2026.log", "yesterday");
  archive.setEnabled(true);
  setReading(parameter, "rEAd", 0, {1});
  ASSERT_TRUE(archive.append(parameter));
  EXPECT_TRUE(archive.rotate().dateChanged);
  EXPECT_FALSE(fs::exists(dir / "05-12-2026.log"));
}

TEST_F(ArchiveTest, AppendsFromAnotherThreadDuringRotationsAllArrive) {
  test_support::writeWholeFile(dir / "05-12-2026.log", std::string(3'000'000, 'x'));
  archive.rotate();
  archive.setEnabled(true);
  setReading(parameter, "rEAd", 0, {1, 2, 3});
  std::thread poller([&] {
    for (int i = 0; i < 500; ++i) EXPECT_TRUE(archive.append(parameter));
  });
  for (int i = 0; i < 50; ++i) {
    archive.rotate();
    archive.setEnabled(true);
  }
  poller.join();
  EXPECT_EQ(recordsOf(dir / archive.currentLogName()).size(), 500u);
}

}  // namespace
}  // namespace zelmot::archive
