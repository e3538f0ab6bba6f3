#include "model/byte_archive.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelmot::model {
namespace {

std::vector<uint8_t> prefixOf(const std::vector<uint8_t>& bytes, size_t count) {
  return {bytes.begin(), bytes.begin() + static_cast<long>(std::min(count, bytes.size()))};
}

TEST(ByteArchive, IntegersAreLittleEndian) {
  ArchiveWriter writer;
  writer.writeInt32(-2);
  writer.writeUInt16(0x1234);
  writer.writeUInt32(0xA1B2C3D4);
  writer.writeBool(true);
  const std::vector<uint8_t> expected{0xFE, 0xFF, 0xFF, 0xFF, 0x34, 0x12,
                                      0xD4, 0xC3, 0xB2, 0xA1, 0x01};
  EXPECT_EQ(writer.bytes(), expected);

  ArchiveReader reader(writer.bytes());
  int32_t signedValue = 0;
  uint16_t shortValue = 0;
  uint32_t longValue = 0;
  bool flag = false;
  EXPECT_TRUE(reader.readInt32(signedValue));
  EXPECT_TRUE(reader.readUInt16(shortValue));
  EXPECT_TRUE(reader.readUInt32(longValue));
  EXPECT_TRUE(reader.readBool(flag));
  EXPECT_EQ(signedValue, -2);
  EXPECT_EQ(shortValue, 0x1234);
  EXPECT_EQ(longValue, 0xA1B2C3D4u);
  EXPECT_TRUE(flag);
  EXPECT_EQ(reader.remaining(), 0u);
}

struct LengthCase {
  size_t length;
  std::vector<uint8_t> prefix;
};

class StringLengthPrefix : public ::testing::TestWithParam<LengthCase> {};

TEST_P(StringLengthPrefix, EncodesAndReadsBack) {
  const LengthCase& c = GetParam();
  const std::string text(c.length, 'x');
  ArchiveWriter writer;
  writer.writeRawString(text);
  ASSERT_TRUE(writer.ok());
  EXPECT_EQ(prefixOf(writer.bytes(), c.prefix.size()), c.prefix);
  EXPECT_EQ(writer.bytes().size(), c.prefix.size() + c.length);

  ArchiveReader reader(writer.bytes());
  std::string back;
  ASSERT_TRUE(reader.readRawString(back));
  EXPECT_EQ(back, text);
  EXPECT_EQ(reader.remaining(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, StringLengthPrefix,
    ::testing::Values(LengthCase{0, {0x00}}, LengthCase{254, {0xFE}},
                      LengthCase{255, {0xFF, 0xFF, 0x00}},  // the escape starts at 255
                      LengthCase{256, {0xFF, 0x00, 0x01}},
                      LengthCase{0xFFFD, {0xFF, 0xFD, 0xFF}},
                      LengthCase{0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
                      LengthCase{70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}}));

TEST(ByteArchive, StringsAreWindows1251OnDisk) {
  ArchiveWriter writer;
  writer.writeString("Нет данных");
  const std::vector<uint8_t> expected{10,   0xCD, 0xE5, 0xF2, 0x20, 0xE4,
                                      0xE0, 0xED, 0xED, 0xFB, 0xF5};
  EXPECT_EQ(writer.bytes(), expected);

  ArchiveReader reader(writer.bytes());
  std::string back;
  ASSERT_TRUE(reader.readString(back));
  EXPECT_EQ(back, "Нет данных");
}

TEST(ByteArchive, LongCyrillicStringUsesEscapeByCodePageLength) {
  // 200 Cyrillic letters are 400 UTF-8 bytes but 200 bytes on disk: one-byte length.
  std::string text;
  for (int i = 0; i < 200; ++i) text += "Ж";
  ArchiveWriter writer;
  writer.writeString(text);
  EXPECT_EQ(writer.bytes().front(), 200);

  text += std::string(55, 'a');  // 255 characters on disk
  ArchiveWriter longWriter;
  longWriter.writeString(text);
  EXPECT_EQ(prefixOf(longWriter.bytes(), 3), (std::vector<uint8_t>{0xFF, 0xFF, 0x00}));
  ArchiveReader reader(longWriter.bytes());
  std::string back;
  ASSERT_TRUE(reader.readString(back));
  EXPECT_EQ(back, text);
}

TEST(ByteArchive, EveryTruncationIsEndOfFile) {
  ArchiveWriter writer;
  writer.writeString(std::string(300, 'q'));
  writer.writeInt32(77);
  const std::vector<uint8_t>& full = writer.bytes();
  for (size_t size = 0; size < full.size(); ++size) {
    // A copy of exactly `size` bytes, so AddressSanitizer sees any read past it.
    const std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(size));
    ArchiveReader reader(cut.data(), cut.size());
    std::string text;
    int32_t number = 0;
    reader.readString(text);
    reader.readInt32(number);
    EXPECT_EQ(reader.error(), ArchiveError::EndOfFile) << "size " << size;
  }
}

TEST(ByteArchive, LengthLargerThanDataIsRefusedWithoutReading) {
  const std::vector<uint8_t> bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 'b'};
  ArchiveReader reader(bytes);
  std::string text = "kept";
  EXPECT_FALSE(reader.readRawString(text));
  EXPECT_EQ(reader.error(), ArchiveError::EndOfFile);
  EXPECT_EQ(text, "kept");
}

TEST(ByteArchive, UnicodeMarkerLengthIsBadFormat) {
  const std::vector<uint8_t> bytes{0xFF, 0xFE, 0xFF, 0x01, 'a'};
  ArchiveReader reader(bytes);
  std::string text;
  EXPECT_FALSE(reader.readRawString(text));
  EXPECT_EQ(reader.error(), ArchiveError::BadFormat);
}

TEST(ByteArchive, FirstErrorSticksAndStopsFurtherReads) {
  const std::vector<uint8_t> bytes{0x01, 0x02, 0x03, 0x04, 0x05};
  ArchiveReader reader(bytes);
  reader.fail(ArchiveError::BadIndex);
  uint8_t byte = 0;
  EXPECT_FALSE(reader.readByte(byte));
  reader.fail(ArchiveError::EndOfFile);
  EXPECT_EQ(reader.error(), ArchiveError::BadIndex);
  EXPECT_EQ(reader.position(), 0u);

  ArchiveWriter writer;
  writer.fail(ArchiveError::BadIndex);
  writer.writeInt32(5);
  EXPECT_TRUE(writer.bytes().empty());
}

TEST(ByteArchive, NullDataReadsAsEmpty) {
  ArchiveReader reader(nullptr, 100);
  uint8_t byte = 0;
  EXPECT_FALSE(reader.readByte(byte));
  EXPECT_EQ(reader.error(), ArchiveError::EndOfFile);
}

}  // namespace
}  // namespace zelmot::model
