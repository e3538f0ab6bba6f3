// The small shared helpers: ASCII case folding, little-endian integers, system error texts.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "platform/ascii_text.h"
#include "platform/byte_order.h"
#include "platform/os_error.h"

namespace zelmot {
namespace {

TEST(AsciiText, FoldsOnlyLatinLettersAndComparesOtherBytesExactly) {
  EXPECT_TRUE(equalsIgnoreCase("r.OE", "R.oe"));
  EXPECT_FALSE(equalsIgnoreCase("r.oe", "r.oe "));
  EXPECT_FALSE(equalsIgnoreCase("[", "{"));  // 0x5B and 0x7B differ by the case bit only
  // Cyrillic "А" and "а" in UTF-8 are different bytes and stay different.
  EXPECT_FALSE(equalsIgnoreCase("\xD0\x90", "\xD0\xB0"));
  EXPECT_EQ(toLowerAscii("Set.P \xD0\x90"), "set.p \xD0\x90");
  EXPECT_EQ(toUpperAscii("rEAd_@"), "READ_@");
}

TEST(ByteOrder, LowByteComesFirst) {
  uint8_t bytes[4] = {};
  storeLittleEndian32(bytes, 0x12345678u);
  EXPECT_EQ(bytes[0], 0x78);
  EXPECT_EQ(bytes[3], 0x12);
  EXPECT_EQ(loadLittleEndian32(bytes), 0x12345678u);
  EXPECT_EQ(loadLittleEndian16(bytes), 0x5678u);
  storeLittleEndian16(bytes, 0xFFFE);
  EXPECT_EQ(bytes[0], 0xFE);
  EXPECT_EQ(bytes[1], 0xFF);
  const uint8_t high[4] = {0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(loadLittleEndian32(high), 0xFFFFFFFFu);  // no sign extension of the top byte
}

TEST(OsError, GivesTheLibraryTextAfterWhatFailed) {
  EXPECT_EQ(osErrorText(ENOENT), std::strerror(ENOENT));
  EXPECT_EQ(withOsError("open /x", EACCES), std::string("open /x: ") + std::strerror(EACCES));
  EXPECT_FALSE(osErrorText(123456).empty());  // an unknown code still gets a text
}

}  // namespace
}  // namespace zelmot
