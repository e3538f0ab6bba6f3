#include "link/frame_codec.h"

#include <algorithm>

namespace zelmot::link {
namespace {

constexpr uint16_t kPolynomial = 0x8F57;
constexpr size_t kNameSignificantChars = 8;
constexpr size_t kNameCodes = 4;
constexpr int kBlankCode = 78;

// Shifts `bits` bits of b (most significant first, starting at bit 7) into the CRC.
uint16_t crcStep(uint16_t crc, uint8_t b, int bits) {
  for (int i = 0; i < bits; ++i) {
    const bool feedback = ((b ^ (crc >> 8)) & 0x80) != 0;
    crc = static_cast<uint16_t>(crc << 1);
    if (feedback) crc ^= kPolynomial;
    b = static_cast<uint8_t>(b << 1);
  }
  return crc;
}

// Seven-bit code of one name character, or -1 for a character that is skipped.
int nameCharCode(unsigned char c) {
  if (c == ' ') return 78;
  if (c == '_') return 74;
  if (c == '-') return 72;
  if (c >= '0' && c <= '9') return 2 * (c - '0');
  if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return 2 * (10 + (c - 'A'));
  return -1;
}

bool isLineChar(char c) { return c >= kNibbleBase && c <= kNibbleBase + 15; }

// Decodes everything between the start character and the last character. Returns the
// number of bytes, or -1 when a character is not a line character.
int decodeBody(const char* chars, size_t count, uint8_t* out, size_t outSize) {
  if (count < 2) return 0;
  const size_t bodyChars = std::min((count - 2) & ~size_t{1}, 2 * outSize);
  if (!decode_buffer(chars + 1, bodyChars, out)) return -1;
  return static_cast<int>(bodyChars / 2);
}

bool checksumMatches(const uint8_t* bytes, size_t covered, size_t at) {
  uint16_t crc = 0;
  hash_buffer(bytes, covered, 0, crc);
  return bytes[at] == (crc >> 8) && bytes[at + 1] == (crc & 0xFF);
}

}  // namespace

uint16_t name_hash(std::string_view name) {
  if (name.empty()) return 0;
  int codes[kNameCodes + 1] = {kBlankCode, kBlankCode, kBlankCode, kBlankCode, kBlankCode};
  size_t k = 0;
  const size_t significant = std::min(name.size(), kNameSignificantChars);
  for (size_t i = 0; i < significant && k < kNameCodes + 1; ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c == '.') {
      // A dot sets the low bit of the latest code; a leading dot or one before any code is lost.
      if (i > 0 && k > 0) codes[k - 1] += 1;
      continue;
    }
    const int code = nameCharCode(c);
    if (code < 0) continue;
    codes[k++] = code;
  }
  uint16_t hash = 0;
  for (size_t i = 0; i < kNameCodes; ++i) {
    hash = crcStep(hash, static_cast<uint8_t>(codes[i] << 1), 7);
  }
  return hash;
}

bool hash_buffer(const uint8_t* bytes, size_t count, uint16_t initial, uint16_t& result) {
  uint16_t crc = initial;
  for (size_t i = 0; i < count; ++i) crc = crcStep(crc, bytes[i], 8);
  result = crc;
  return true;
}

bool encode_buffer(const uint8_t* bytes, size_t count, char* out) {
  for (size_t i = 0; i < count; ++i) {
    out[2 * i] = static_cast<char>(kNibbleBase + (bytes[i] >> 4));
    out[2 * i + 1] = static_cast<char>(kNibbleBase + (bytes[i] & 0x0F));
  }
  return true;
}

bool decode_buffer(const char* chars, size_t count, uint8_t* out) {
  for (size_t i = 0; i + 1 < count; i += 2) {
    if (!isLineChar(chars[i]) || !isLineChar(chars[i + 1])) return false;
    out[i / 2] = static_cast<uint8_t>(((chars[i] - kNibbleBase) << 4) | (chars[i + 1] - kNibbleBase));
  }
  return true;
}

bool build_request(const RequestFields& fields, std::string& lineFrame, std::string& errorText) {
  lineFrame.clear();
  if (fields.dataLength > kMaxFrameData || (fields.dataLength > 0 && fields.data == nullptr)) {
    errorText = "Слишком длинная посылка: в поле данных больше 15 байт";
    return false;
  }
  std::array<uint8_t, kMaxFrameData + kFrameOverheadBytes> bytes{};
  const auto address = static_cast<uint32_t>(fields.address);
  uint8_t highAddressBits = 0;
  if (fields.addressLength == 11) {
    bytes[0] = static_cast<uint8_t>((address >> 3) & 0xFF);
    highAddressBits = static_cast<uint8_t>(address & 0x07);
  } else {
    bytes[0] = static_cast<uint8_t>(address & 0xFF);
  }
  bytes[1] = static_cast<uint8_t>((highAddressBits << 5) | ((fields.requestFlag & 1) << 4) |
                                  fields.dataLength);
  bytes[2] = static_cast<uint8_t>(fields.command >> 8);
  bytes[3] = static_cast<uint8_t>(fields.command & 0xFF);
  std::copy_n(fields.data, fields.dataLength, bytes.begin() + 4);

  const size_t covered = 4 + fields.dataLength;
  uint16_t crc = 0;
  if (!hash_buffer(bytes.data(), covered, 0, crc)) {
    errorText = "Не могу зашифровать посылку (ф-я hash_buffer)";
    return false;
  }
  bytes[covered] = static_cast<uint8_t>(crc >> 8);
  bytes[covered + 1] = static_cast<uint8_t>(crc & 0xFF);

  const size_t total = covered + 2;
  std::string frame(2 * total + 2, kFrameStart);
  if (!encode_buffer(bytes.data(), total, frame.data() + 1)) {
    errorText = "Не могу зашифровать посылку (ф-я encode_buffer)";
    return false;
  }
  frame.back() = kFrameEnd;
  lineFrame = std::move(frame);
  return true;
}

Reply read_reply(const char* chars, size_t count) {
  Reply reply;
  reply.verdict = FrameVerdict::Malformed;
  // The channel hands over at most 29 characters; a longer reply is judged by those.
  uint8_t bytes[kReplyBufferSize / 2] = {};
  const int m = decodeBody(chars, std::min(count, kReplyBufferSize), bytes, sizeof bytes);
  if (m < 4) return reply;
  reply.length = bytes[1] & 0x0F;
  reply.command = static_cast<uint16_t>(bytes[2] << 8 | bytes[3]);
  const size_t n = reply.length;
  std::copy_n(bytes + 4, std::min(n, static_cast<size_t>(m) - 4), reply.data.begin());
  if (n + kFrameOverheadBytes != static_cast<size_t>(m)) return reply;
  reply.verdict = checksumMatches(bytes, 4 + n, 4 + n) ? FrameVerdict::Good
                                                       : FrameVerdict::ChecksumMismatch;
  return reply;
}

Request read_request(const char* chars, size_t count, int addressLength) {
  Request request;
  request.verdict = FrameVerdict::Malformed;
  if (chars == nullptr || count < lineFrameLength(0) || count > lineFrameLength(kMaxFrameData) ||
      chars[0] != kFrameStart || chars[count - 1] != kFrameEnd || count % 2 != 0) {
    return request;
  }
  uint8_t bytes[kMaxFrameData + kFrameOverheadBytes] = {};
  const int m = decodeBody(chars, count, bytes, sizeof bytes);
  if (m < static_cast<int>(kFrameOverheadBytes)) return request;
  const size_t n = bytes[1] & 0x0F;
  if (n + kFrameOverheadBytes != static_cast<size_t>(m)) return request;

  if (addressLength == 11) {
    request.address = (bytes[0] << 3) | (bytes[1] >> 5);
  } else {
    request.address = bytes[0];
  }
  request.requestFlag = (bytes[1] >> 4) & 1;
  request.command = static_cast<uint16_t>(bytes[2] << 8 | bytes[3]);
  request.length = static_cast<uint8_t>(n);
  std::copy_n(bytes + 4, n, request.data.begin());
  request.verdict = checksumMatches(bytes, 4 + n, 4 + n) ? FrameVerdict::Good
                                                         : FrameVerdict::ChecksumMismatch;
  return request;
}

}  // namespace zelmot::link
