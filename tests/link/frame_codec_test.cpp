#include "link/frame_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelmot::link {
namespace {

std::string request(int address, int addressLength, int flag, uint16_t command,
                    const std::vector<uint8_t>& data = {}) {
  RequestFields fields;
  fields.address = address;
  fields.addressLength = addressLength;
  fields.requestFlag = flag;
  fields.command = command;
  fields.data = data.data();
  fields.dataLength = data.size();
  std::string frame, error;
  EXPECT_TRUE(build_request(fields, frame, error)) << error;
  return frame;
}

// A reply as a device would send it: the request layout with the device's own fields.
std::string reply(uint16_t command, const std::vector<uint8_t>& data) {
  return request(16, 8, 0, command, data);
}

struct NameCase {
  const char* name;
  uint16_t code;
};

class NameHashTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameHashTest, GivesTheDeviceCommandCode) {
  EXPECT_EQ(name_hash(GetParam().name), GetParam().code) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    ReferenceNames, NameHashTest,
    ::testing::Values(NameCase{"n.Err", 0x0233}, NameCase{"r.oe", 0xE894},
                      NameCase{"Set.P", 0x33EC}, NameCase{"M.s.t.r.", 0x5EA0},
                      NameCase{"ABCD", 0xDE1B}, NameCase{"ABCDE", 0xDE1B},
                      NameCase{"ABCD.", 0x514C}, NameCase{"A.Len", 0x1ED2},
                      NameCase{"a.len", 0x1ED2}, NameCase{"A.LEN", 0x1ED2},
                      NameCase{"a.LeN", 0x1ED2}, NameCase{"", 0x0000},
                      NameCase{"?", 0x1DDE}, NameCase{"    ", 0x1DDE},
                      NameCase{"..A", 0xC36F}, NameCase{"A", 0xC36F}, NameCase{".A", 0xC36F}));

TEST(NameHash, IgnoresEverythingAfterTheEighthCharacter) {
  // Seven skipped characters then a letter: the letter counts, the dot after it does not.
  EXPECT_EQ(name_hash("???????A."), name_hash("A"));
  EXPECT_EQ(name_hash("??????AB"), name_hash("AB"));
  EXPECT_EQ(name_hash("ABCDEFGH.."), name_hash("ABCD"));
}

TEST(NameHash, NonAsciiBytesAreSkipped) {
  EXPECT_EQ(name_hash("\xD0\xB0" "A"), name_hash("A"));  // a Cyrillic letter in UTF-8
}

TEST(NameHash, SpecialCharactersHaveTheirOwnCodes) {
  EXPECT_NE(name_hash("A_B"), name_hash("A-B"));
  EXPECT_EQ(name_hash("A "), name_hash("A"));  // a blank equals the padding
  EXPECT_NE(name_hash("A B"), name_hash("AB"));
  EXPECT_NE(name_hash("A0"), name_hash("A"));
}

TEST(HashBuffer, IsTheCheckValueOfTheCrc) {
  const std::string digits = "123456789";
  uint16_t crc = 1;
  ASSERT_TRUE(hash_buffer(reinterpret_cast<const uint8_t*>(digits.data()), digits.size(), 0, crc));
  EXPECT_EQ(crc, 0xB581);
  ASSERT_TRUE(hash_buffer(nullptr, 0, 0, crc));
  EXPECT_EQ(crc, 0);
}

TEST(LineEncoding, RoundTripsEveryByteValue) {
  std::vector<uint8_t> all(256);
  for (int i = 0; i < 256; ++i) all[i] = static_cast<uint8_t>(i);
  std::string chars(512, '\0');
  ASSERT_TRUE(encode_buffer(all.data(), all.size(), chars.data()));
  EXPECT_EQ(chars.substr(0, 4), "GGGH");
  EXPECT_EQ(chars.substr(510), "VV");
  std::vector<uint8_t> back(256);
  ASSERT_TRUE(decode_buffer(chars.data(), chars.size(), back.data()));
  EXPECT_EQ(back, all);
}

TEST(LineEncoding, DecodeRejectsCharactersOutsideTheAlphabet) {
  uint8_t out[1] = {};
  for (const char* pair : {"FG", "GW", "g0", "G\r", "#G"}) {
    EXPECT_FALSE(decode_buffer(pair, 2, out)) << pair;
  }
  EXPECT_TRUE(decode_buffer("VG", 2, out));
  EXPECT_EQ(out[0], 0xF0);
}

TEST(BuildRequest, WorkedExamples) {
  EXPECT_EQ(request(16, 8, 1, 0xE894), "#HGHGUOPKHPOP\r");
  EXPECT_EQ(request(1001, 11, 1, 0xE894), "#NTJGUOPKKTQO\r");
  EXPECT_EQ(request(16, 8, 0, 0x33EC, {0x41, 0x20, 0x00, 0x00}), "#HGGKJJUSKHIGGGGGONPU\r");
}

TEST(BuildRequest, AddressWrapsToTheAddressingMode) {
  EXPECT_EQ(request(16 + 256, 8, 1, 0xE894), request(16, 8, 1, 0xE894));
  EXPECT_EQ(request(1001 + 2048, 11, 1, 0xE894), request(1001, 11, 1, 0xE894));
  // Anything but 11 is 8-bit addressing.
  EXPECT_EQ(request(16, 9, 1, 0xE894), request(16, 8, 1, 0xE894));
  // Address 255 with 11-bit addressing: address byte 0x1F, top bits of byte 1 all set.
  const std::string frame = request(255, 11, 1, 0xE894);
  uint8_t bytes[2] = {};
  ASSERT_TRUE(decode_buffer(frame.data() + 1, 4, bytes));
  EXPECT_EQ(bytes[0], 0x1F);
  EXPECT_EQ(bytes[1], 0xF0);
}

TEST(BuildRequest, LengthFollowsTheDataField) {
  EXPECT_EQ(request(16, 8, 1, 1).size(), 14u);
  EXPECT_EQ(request(16, 8, 0, 1, std::vector<uint8_t>(15, 0xAA)).size(), 44u);
  EXPECT_EQ(lineFrameLength(15), 44u);
}

TEST(BuildRequest, RefusesMoreThanFifteenDataBytes) {
  const std::vector<uint8_t> data(16, 1);
  RequestFields fields;
  fields.data = data.data();
  fields.dataLength = data.size();
  std::string frame = "stale", error;
  EXPECT_FALSE(build_request(fields, frame, error));
  EXPECT_TRUE(frame.empty());
  EXPECT_FALSE(error.empty());
}

TEST(ReadReply, TakesApartAGoodReply) {
  const std::string line = reply(0x33EC, {0x41, 0x20, 0x00, 0x00});
  const Reply r = read_reply(line.data(), line.size());
  EXPECT_EQ(r.verdict, FrameVerdict::Good);
  EXPECT_EQ(r.command, 0x33EC);
  ASSERT_EQ(r.length, 4);
  EXPECT_EQ(r.data[0], 0x41);
  EXPECT_EQ(r.data[1], 0x20);
}

TEST(ReadReply, IgnoresAddressAndRequestFlag) {
  const std::string line = request(1001, 11, 1, 0x0233, {0x27});
  const Reply r = read_reply(line.data(), line.size());
  EXPECT_EQ(r.verdict, FrameVerdict::Good);
  EXPECT_EQ(r.command, 0x0233);
  EXPECT_EQ(r.data[0], 0x27);
}

TEST(ReadReply, SevenDataBytesIsTheLargestReplyThatFits) {
  const std::string seven = reply(0x1234, std::vector<uint8_t>(7, 0x55));
  ASSERT_EQ(seven.size(), 28u);
  EXPECT_EQ(read_reply(seven.data(), seven.size()).verdict, FrameVerdict::Good);

  // The channel cuts longer replies at 29 characters: they can never pass.
  for (size_t n = 8; n <= 15; ++n) {
    const std::string line = reply(0x1234, std::vector<uint8_t>(n, 0x55));
    EXPECT_NE(read_reply(line.data(), 29).verdict, FrameVerdict::Good) << n;
    EXPECT_NE(read_reply(line.data(), line.size()).verdict, FrameVerdict::Good) << n;
  }
}

TEST(ReadReply, DamagedRepliesAreNeverGood) {
  const std::string good = reply(0xE894, {0x01, 0x02});
  struct Damage {
    const char* what;
    std::string line;
  };
  std::string flipped = good;
  flipped[7] = flipped[7] == 'G' ? 'H' : 'G';
  std::string foreignChar = good;
  foreignChar[9] = 'A';
  std::string lengthTooBig = good;
  lengthTooBig[4] = 'V';  // n = 15 while two bytes arrived
  const std::vector<Damage> cases = {
      {"one character changed", flipped},
      {"character outside the alphabet", foreignChar},
      {"length field beyond the data", lengthTooBig},
      {"cut short", good.substr(0, good.size() - 4)},
      {"odd length", good.substr(0, good.size() - 1)},
      {"extra byte before the CR", good.substr(0, good.size() - 1) + "GG\r"},
      {"start only", "#"},
      {"start and CR", "#\r"},
      {"empty", ""},
  };
  for (const auto& c : cases) {
    EXPECT_NE(read_reply(c.line.data(), c.line.size()).verdict, FrameVerdict::Good) << c.what;
  }
}

TEST(ReadReply, ShortRepliesDoNotReadPastTheirEnd) {
  // Heap copies of exact size let the address sanitizer catch any overread.
  const std::string good = reply(0xE894, {0x01, 0x02, 0x03});
  for (size_t len = 0; len <= good.size(); ++len) {
    std::vector<char> exact(good.begin(), good.begin() + static_cast<long>(len));
    const Reply r = read_reply(exact.data(), exact.size());
    EXPECT_EQ(r.verdict == FrameVerdict::Good, len == good.size()) << len;
  }
}

TEST(ReadRequest, RecoversWhatWasBuilt) {
  const std::string line = request(1001, 11, 0, 0x33EC, {0x41, 0x20, 0x00, 0x00});
  const Request r = read_request(line.data(), line.size(), 11);
  ASSERT_EQ(r.verdict, FrameVerdict::Good);
  EXPECT_EQ(r.address, 1001);
  EXPECT_EQ(r.requestFlag, 0);
  EXPECT_EQ(r.command, 0x33EC);
  ASSERT_EQ(r.length, 4);
  EXPECT_EQ(r.data[0], 0x41);

  const std::string read = request(255, 8, 1, 0xE894);
  const Request r8 = read_request(read.data(), read.size(), 8);
  ASSERT_EQ(r8.verdict, FrameVerdict::Good);
  EXPECT_EQ(r8.address, 255);
  EXPECT_EQ(r8.requestFlag, 1);
  EXPECT_EQ(r8.length, 0);
}

TEST(ReadRequest, TellsABadChecksumFromABrokenFrame) {
  std::string line = request(16, 8, 1, 0xE894);
  std::string badCrc = line;
  badCrc[11] = badCrc[11] == 'G' ? 'H' : 'G';
  EXPECT_EQ(read_request(badCrc.data(), badCrc.size(), 8).verdict, FrameVerdict::ChecksumMismatch);

  std::string noCr = line;
  noCr.back() = 'G';
  std::string noStart = line;
  noStart[0] = 'G';
  std::string wrongLength = request(16, 8, 0, 0xE894, {1, 2});
  wrongLength[4] = 'H';  // claims one data byte, carries two
  for (const std::string& broken : {noCr, noStart, wrongLength, line.substr(0, 12) + "\r"}) {
    EXPECT_EQ(read_request(broken.data(), broken.size(), 8).verdict, FrameVerdict::Malformed)
        << broken;
  }
}

}  // namespace
}  // namespace zelmot::link
