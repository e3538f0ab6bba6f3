#include "archive/monthly_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "archive/archive_packing.h"
#include "archive/stream_chunks.h"
#include "support/file_text.h"
#include "support/temp_folder.h"

namespace zelmot::archive {
namespace {

namespace fs = std::filesystem;
using test_support::readWholeFileBytes;
using test_support::writeWholeFile;

// Text that compresses like a real log: records with a slowly changing value.
std::string logLike(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string text;
  while (text.size() < size) text += "rEAd\0\0\0\0" + std::to_string(random() % 1000);
  text.resize(size);
  return text;
}

std::string streamText(const fs::path& monthly, const std::string& name) {
  std::vector<uint8_t> bytes;
  EXPECT_EQ(readStream(monthly, name, bytes), MonthlyStatus::Ok);
  return std::string(bytes.begin(), bytes.end());
}

class MonthlyFileTest : public ::testing::Test {
protected:
  test_support::TempFolder folder;
  fs::path dir = folder.path();
  fs::path monthly = dir / "12-2026.var";

  PackResult pack(const std::string& log, const std::string& text) {
    writeWholeFile(dir / log, text);
    return packDailyLog(dir, log);
  }
};

TEST_F(MonthlyFileTest, PackingKeepsOtherDaysReplacesTheSameDayAndDeletesTheLog) {
  ASSERT_EQ(pack("05-12-2026.log", "fifth").status, MonthlyStatus::Ok);
  ASSERT_EQ(pack("06-12-2026.log", "sixth, first try").status, MonthlyStatus::Ok);
  const PackResult again = pack("06-12-2026.log", "sixth again");
  ASSERT_EQ(again.status, MonthlyStatus::Ok);
  EXPECT_TRUE(again.logDeleted);
  EXPECT_FALSE(fs::exists(dir / "06-12-2026.log"));

  const StreamListing listing = listStreams(monthly);
  ASSERT_EQ(listing.streams.size(), 2u);
  EXPECT_EQ(listing.streams[0].name, "05-12-2026.log");
  EXPECT_EQ(listing.streams[1].name, "06-12-2026.log");
  EXPECT_EQ(streamText(monthly, "05-12-2026.log"), "fifth");
  EXPECT_EQ(streamText(monthly, "06-12-2026.LOG"), "sixth again");
  // Nothing of the writing is left beside the monthly file.
  for (const auto& entry : fs::directory_iterator(dir)) {
    EXPECT_TRUE(entry.path().filename() == "12-2026.var" ||
                entry.path().filename() == ".archive.lock") << entry.path();
  }
}

TEST_F(MonthlyFileTest, AFileThatIsNoCompoundFileIsMovedAsideNotReplaced) {
  writeWholeFile(monthly, "someone's notes");
  writeWholeFile(dir / "12-2026.var.damaged", "an earlier one");
  const PackResult result = pack("06-12-2026.log", "day");
  ASSERT_EQ(result.status, MonthlyStatus::Ok);
  EXPECT_EQ(result.movedAside, dir / "12-2026.var.damaged.1");
  EXPECT_EQ(test_support::readWholeFile(dir / "12-2026.var.damaged.1"), "someone's notes");
  EXPECT_EQ(test_support::readWholeFile(dir / "12-2026.var.damaged"), "an earlier one");
  EXPECT_EQ(streamText(monthly, "06-12-2026.log"), "day");
}

TEST_F(MonthlyFileTest, ALogThatCannotBePackedStays) {
  fs::create_directory(monthly);  // the monthly file's name is taken by a folder
  writeWholeFile(dir / "06-12-2026.log", "kept");
  EXPECT_NE(packDailyLog(dir, "06-12-2026.log").status, MonthlyStatus::Ok);
  EXPECT_EQ(test_support::readWholeFile(dir / "06-12-2026.log"), "kept");
  EXPECT_EQ(packDailyLog(dir, "07-12-2026.log").status, MonthlyStatus::Missing);
}

TEST_F(MonthlyFileTest, LargeDaysAreChunkedAndAnIndependentReaderInflatesThem) {
  const std::string big = logLike(2'500'000, 1);
  const fs::path keep = folder / "copies";
  writeWholeFile(keep / "01-12-2026.log", big);
  writeWholeFile(keep / "02-12-2026.log", "x");
  writeWholeFile(keep / "03-12-2026.log", logLike(1'000'000, 2));  // exactly one full chunk
  for (const char* day : {"01-12-2026.log", "02-12-2026.log", "03-12-2026.log"}) {
    fs::copy_file(keep / day, dir / day);
    ASSERT_EQ(packDailyLog(dir, day).status, MonthlyStatus::Ok);
  }
  const std::string command = "/usr/bin/python3 " ZELMOT_SOURCE_DIR "/tests/archive/olefile_check.py " +
                              monthly.string() + " " + (keep / "01-12-2026.log").string() + " " +
                              (keep / "02-12-2026.log").string() + " " +
                              (keep / "03-12-2026.log").string();
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

TEST_F(MonthlyFileTest, UnpackWritesTheDayOrNothingUnderItsName) {
  const std::string day = logLike(1'200'000, 3);
  ASSERT_EQ(pack("06-12-2026.log", day).status, MonthlyStatus::Ok);
  const fs::path target = folder / "temp" / "deeper";
  const UnpackResult result = unpackStream(monthly, "06-12-2026.log", target);
  ASSERT_EQ(result.status, MonthlyStatus::Ok);
  EXPECT_EQ(result.bytes, day.size());
  EXPECT_EQ(test_support::readWholeFile(target / "06-12-2026.log"), day);

  EXPECT_EQ(unpackStream(monthly, "07-12-2026.log", target).status, MonthlyStatus::NoStream);
  EXPECT_EQ(unpackStream(dir / "11-2026.var", "01-11-2026.log", target).status, MonthlyStatus::Missing);
  EXPECT_EQ(unpackStream(monthly, "../06-12-2026.log", target).status, MonthlyStatus::BadName);
  writeWholeFile(dir / "10-2026.var", "not compound");
  EXPECT_EQ(unpackStream(dir / "10-2026.var", "01-10-2026.log", target).status,
            MonthlyStatus::NotCompound);
  EXPECT_FALSE(fs::exists(target / "07-12-2026.log"));
}

std::vector<uint8_t> chunkOf(const std::string& text) {
  std::vector<uint8_t> out;
  EXPECT_TRUE(appendCompressedChunk({reinterpret_cast<const uint8_t*>(text.data()), text.size()}, out));
  return out;
}

ChunkStatus decode(const std::vector<uint8_t>& bytes) {
  MemoryChunkSource source(bytes);
  std::vector<uint8_t> out;
  ChunkStatus status;
  while ((status = decodeNextChunk(source, out)) == ChunkStatus::Chunk) {
  }
  return status;
}

TEST(StreamChunks, TheDecoderTrustsNoLength) {
  const std::vector<uint8_t> good = chunkOf("some log bytes");
  EXPECT_EQ(decode(good), ChunkStatus::End);

  std::vector<uint8_t> bytes = good;
  bytes[0] += 1;  // states one byte more than it inflates to
  EXPECT_EQ(decode(bytes), ChunkStatus::BadData);
  bytes = good;
  bytes[2] = 0x10;  // an uncompressed length above the chunk size
  EXPECT_EQ(decode(bytes), ChunkStatus::BadLength);
  bytes = good;
  bytes[6] = 0x7F;  // a compressed length far beyond the stream
  EXPECT_EQ(decode(bytes), ChunkStatus::BadLength);
  bytes = good;
  bytes.pop_back();
  EXPECT_EQ(decode(bytes), ChunkStatus::CutOff);
  bytes = good;
  bytes.push_back(0);
  bytes[4] += 1;  // a stated compressed length that takes a stray byte after the stream
  EXPECT_EQ(decode(bytes), ChunkStatus::BadData);
  bytes = good;
  bytes.resize(good.size() + 3, 0);  // a cut-off head after a good chunk
  EXPECT_EQ(decode(bytes), ChunkStatus::CutOff);
  bytes = good;
  bytes[10] ^= 0xFF;  // damaged compressed bytes
  EXPECT_EQ(decode(bytes), ChunkStatus::BadData);
}

}  // namespace
}  // namespace zelmot::archive
