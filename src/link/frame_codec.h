#pragma once
// The pure pieces of the device's line protocol: command codes of names, the frame
// checksum, the two-characters-per-byte line encoding, building request frames and
// taking reply (and request) frames apart. Stateless and thread-safe.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zelmot::link {

inline constexpr uint16_t kErrorReplyCode = 0x0233;   // command code of "n.Err"
inline constexpr uint16_t kAttributeCode = 0x5EA0;    // command code of "M.s.t.r."
inline constexpr size_t kMaxFrameData = 15;           // the length field has four bits
inline constexpr size_t kFrameOverheadBytes = 6;      // address, flags+n, code, checksum
inline constexpr size_t kReplyBufferSize = 29;        // the channel hands over at most this
inline constexpr char kFrameStart = '#';
inline constexpr char kFrameEnd = '\r';
inline constexpr char kNibbleBase = 'G';               // nibble v travels as 'G' + v

// Line length of a frame carrying n data bytes: '#', two characters per byte, CR.
constexpr size_t lineFrameLength(size_t dataBytes) {
  return 2 * (dataBytes + kFrameOverheadBytes) + 2;
}

// 16-bit command code of a parameter or command name; an empty name gives 0.
uint16_t name_hash(std::string_view name);

// CRC-16, polynomial 0x8F57, most significant bit first, no reflection, no final XOR.
bool hash_buffer(const uint8_t* bytes, size_t count, uint16_t initial, uint16_t& result);

// Writes 2*count characters 'G'..'V', high nibble first.
bool encode_buffer(const uint8_t* bytes, size_t count, char* out);

// Writes count/2 bytes. False when a character lies outside 'G'..'V' (the output is
// then incomplete and must not be used).
bool decode_buffer(const char* chars, size_t count, uint8_t* out);

struct RequestFields {
  int address = 0;          // already combined with the base address
  int addressLength = 8;    // 11 = 11-bit addressing, anything else 8-bit
  int requestFlag = 1;      // 1 = read request, 0 = request carrying data
  uint16_t command = 0;
  const uint8_t* data = nullptr;
  size_t dataLength = 0;    // 0..15
};

// Builds the whole line frame ('#' ... CR). On failure the frame is left empty, the
// error text says why and the result is false; a data field over 15 bytes is refused.
bool build_request(const RequestFields& fields, std::string& lineFrame, std::string& errorText);

enum class FrameVerdict {
  Good,
  ChecksumMismatch,
  Malformed,  // too short, characters outside 'G'..'V', or data beyond what arrived
};

struct Reply {
  uint16_t command = 0;
  uint8_t length = 0;                     // n as the frame states it (may exceed what arrived)
  std::array<uint8_t, kMaxFrameData> data{};  // the bytes of the data field that arrived
  FrameVerdict verdict = FrameVerdict::ChecksumMismatch;
};

// Takes apart the received characters of a reply: '#' first, the last character (the CR)
// ignored. Any bytes and any count are safe; only a Good verdict makes the fields reliable.
Reply read_reply(const char* chars, size_t count);

struct Request {
  int address = 0;
  int requestFlag = 0;
  uint16_t command = 0;
  uint8_t length = 0;
  std::array<uint8_t, kMaxFrameData> data{};
  FrameVerdict verdict = FrameVerdict::ChecksumMismatch;
};

// Takes apart a whole request line frame ('#' first, CR last) as a device sees it. Stricter
// than read_reply: the length field must match the characters that arrived.
Request read_request(const char* chars, size_t count, int addressLength);

}  // namespace zelmot::link
