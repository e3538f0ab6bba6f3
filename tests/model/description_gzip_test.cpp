#include <gtest/gtest.h>
#include <zlib.h>

#include "model/description_files.h"
#include "platform/byte_order.h"
#include "description_support.h"

namespace zelmot::model {
namespace {

std::vector<uint8_t> compressible(size_t size) {
  std::vector<uint8_t> data(size);
  for (size_t i = 0; i < size; ++i) data[i] = static_cast<uint8_t>("ZELMOT record "[i % 14]);
  return data;
}

// The deflate body of a member written by gzipCompress (fixed 10-byte header, no flags).
std::vector<uint8_t> deflateBody(const std::vector<uint8_t>& member) {
  return {member.begin() + 10, member.end() - 8};
}

TEST(GzipMember, RoundTripsEmptySmallAndLargeData) {
  for (const auto& data : {std::vector<uint8_t>{}, std::vector<uint8_t>{0x42},
                           compressible(100000), testing::randomBytes(50000, 7)}) {
    std::vector<uint8_t> back;
    std::string error;
    ASSERT_TRUE(gzipDecompress(gzipCompress(data), back, error)) << error;
    EXPECT_EQ(back, data);
  }
}

TEST(GzipMember, OutputIsReproducibleWithZeroTimeAndNoName) {
  const auto data = compressible(5000);
  const auto first = gzipCompress(data);
  EXPECT_EQ(first, gzipCompress(data));
  ASSERT_GE(first.size(), 18u);
  EXPECT_EQ(first[0], 0x1F);
  EXPECT_EQ(first[1], 0x8B);
  EXPECT_EQ(first[2], 8);
  EXPECT_EQ(first[3], 0);  // no name, no comment
  EXPECT_EQ(std::vector<uint8_t>(first.begin() + 4, first.begin() + 8),
            std::vector<uint8_t>(4, 0));
}

TEST(GzipMember, SkipsOptionalHeaderFields) {
  const auto data = compressible(3000);
  const auto plain = gzipCompress(data);
  std::vector<uint8_t> member(plain.begin(), plain.begin() + 10);
  member[3] = 0x04 | 0x08 | 0x10 | 0x02;
  member.insert(member.end(), {3, 0, 'x', 'y', 'z'});       // extra field of 3 bytes
  member.insert(member.end(), {'d', '.', 'b', 'i', 'n', 0});  // file name
  member.insert(member.end(), {'n', 'o', 't', 'e', 0});       // comment
  const uint32_t headerCrc = static_cast<uint32_t>(crc32(0, member.data(), member.size()));
  member.push_back(static_cast<uint8_t>(headerCrc));
  member.push_back(static_cast<uint8_t>(headerCrc >> 8));
  member.insert(member.end(), plain.begin() + 10, plain.end());

  std::vector<uint8_t> back;
  std::string error;
  ASSERT_TRUE(gzipDecompress(member, back, error)) << error;
  EXPECT_EQ(back, data);

  member[10 + 5 + 6 + 5] ^= 1;  // wrong header check
  EXPECT_FALSE(gzipDecompress(member, back, error));
}

TEST(GzipMember, AcceptsBareDeflateStream) {
  const auto data = compressible(20000);
  std::vector<uint8_t> back;
  std::string error;
  ASSERT_TRUE(gzipDecompress(deflateBody(gzipCompress(data)), back, error)) << error;
  EXPECT_EQ(back, data);
}

struct Damage {
  const char* what;
  void (*apply)(std::vector<uint8_t>&);
};

TEST(GzipMember, RefusesDamagedMembers) {
  const Damage cases[] = {
      {"method other than deflate", [](std::vector<uint8_t>& m) { m[2] = 7; }},
      {"reserved flag bit", [](std::vector<uint8_t>& m) { m[3] = 0x20; }},
      {"name without terminator", [](std::vector<uint8_t>& m) {
         m[3] = 0x08;
         std::fill(m.begin() + 10, m.end(), 'a');
       }},
      {"extra field longer than file", [](std::vector<uint8_t>& m) {
         m[3] = 0x04;
         m[10] = 0xFF;
         m[11] = 0xFF;
       }},
      {"crc mismatch", [](std::vector<uint8_t>& m) { m[m.size() - 8] ^= 0x01; }},
      {"declared size too small",
       [](std::vector<uint8_t>& m) { storeLittleEndian32(&m[m.size() - 4], 10); }},
      {"declared size one larger", [](std::vector<uint8_t>& m) {
         storeLittleEndian32(&m[m.size() - 4], 4001);
       }},
      {"absurd declared size", [](std::vector<uint8_t>& m) {
         storeLittleEndian32(&m[m.size() - 4], 0xFFFFFFFFu);
       }},
      {"corrupt deflate data", [](std::vector<uint8_t>& m) { m[10] = 0xFF; m[11] = 0xFF; }},
      {"trailing garbage", [](std::vector<uint8_t>& m) { m.insert(m.end() - 8, {1, 2, 3}); }},
      {"trailer cut off", [](std::vector<uint8_t>& m) { m.resize(m.size() - 3); }},
  };
  const auto data = testing::randomBytes(4000, 3);
  for (const Damage& damage : cases) {
    auto member = gzipCompress(data);
    damage.apply(member);
    std::vector<uint8_t> out = {9, 9};
    std::string error;
    EXPECT_FALSE(gzipDecompress(member, out, error)) << damage.what;
    EXPECT_FALSE(error.empty()) << damage.what;
    EXPECT_EQ(out, (std::vector<uint8_t>{9, 9})) << damage.what << ": output touched";
  }
}

TEST(GzipMember, EveryTruncationIsRefused) {
  const auto member = gzipCompress(compressible(2000));
  for (size_t length = 0; length < member.size(); ++length) {
    std::vector<uint8_t> cut(member.begin(), member.begin() + length);
    std::vector<uint8_t> out;
    std::string error;
    EXPECT_FALSE(gzipDecompress(cut, out, error)) << "length " << length;
  }
}

TEST(GzipMember, RefusesTruncatedBareStreamAndPlainText) {
  auto body = deflateBody(gzipCompress(testing::randomBytes(3000, 5)));
  body.resize(body.size() / 2);
  std::vector<uint8_t> out;
  std::string error;
  EXPECT_FALSE(gzipDecompress(body, out, error));
  const std::string text = "this is not compressed";
  EXPECT_FALSE(gzipDecompress(std::vector<uint8_t>(text.begin(), text.end()), out, error));
}

}  // namespace
}  // namespace zelmot::model
