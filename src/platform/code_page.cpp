#include "platform/code_page.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace zelmot {
namespace {

using HighHalf = std::array<char16_t, 128>;

// Bytes 0x80..0xFF of windows-1251. The page leaves 0x98 undefined; it is mapped to the
// C1 control U+0098, as the system converter does, so that every byte survives a round trip.
constexpr HighHalf kCp1251 = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8
};

// Bytes 0x80..0xFF of cp866 (the DOS Cyrillic page with its box-drawing characters).
constexpr HighHalf kCp866 = {
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // 80
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // 88
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // 90
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // 98
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // A0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // B0
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,  // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,  // C8
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // D0
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,  // D8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // E0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // E8
    0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,  // F0
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0,  // F8
};

struct ReverseEntry {
  char16_t codePoint;
  std::uint8_t byte;
};
using ReverseTable = std::array<ReverseEntry, 128>;

// Code point -> byte, sorted by code point for a binary search; built at compile time.
constexpr ReverseTable makeReverse(const HighHalf& high) {
  ReverseTable reverse{};
  for (std::size_t i = 0; i < high.size(); ++i) {
    reverse[i] = ReverseEntry{high[i], static_cast<std::uint8_t>(0x80 + i)};
  }
  std::sort(reverse.begin(), reverse.end(),
            [](const ReverseEntry& a, const ReverseEntry& b) { return a.codePoint < b.codePoint; });
  return reverse;
}

constexpr ReverseTable kCp1251Reverse = makeReverse(kCp1251);
constexpr ReverseTable kCp866Reverse = makeReverse(kCp866);

constexpr char kReplacement = '?';

std::optional<std::uint8_t> lookupByte(const ReverseTable& reverse, char32_t codePoint) {
  if (codePoint < 0x80) return static_cast<std::uint8_t>(codePoint);
  const auto it = std::lower_bound(
      reverse.begin(), reverse.end(), codePoint,
      [](const ReverseEntry& e, char32_t cp) { return static_cast<char32_t>(e.codePoint) < cp; });
  if (it == reverse.end() || it->codePoint != codePoint) return std::nullopt;
  return it->byte;
}

// Allowed range of the byte after a lead byte. Narrowing it for E0, ED, F0 and F4 rules
// out overlong forms, surrogates and values above U+10FFFF at the earliest byte.
struct SecondByteRange {
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
};

SecondByteRange secondByteRange(unsigned char lead) {
  switch (lead) {
    case 0xE0: return {0xA0, 0xBF};
    case 0xED: return {0x80, 0x9F};
    case 0xF0: return {0x90, 0xBF};
    case 0xF4: return {0x80, 0x8F};
    default: return {};
  }
}

// Decodes one UTF-8 character at `pos` and advances past it. An ill-formed sequence gives
// nullopt after skipping only its longest well-formed prefix (at least one byte), so the
// byte that broke it is read again as the start of the next character; each ill-formed
// piece becomes one "?", the practice Unicode recommends.
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;

  int extra = 0;
  char32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, value = lead & 0x07;
  } else {
    return std::nullopt;
  }

  SecondByteRange range = secondByteRange(lead);
  for (int i = 0; i < extra; ++i) {
    if (pos >= text.size()) return std::nullopt;
    const auto c = static_cast<unsigned char>(text[pos]);
    if (c < range.low || c > range.high) return std::nullopt;
    value = (value << 6) | (c & 0x3F);
    ++pos;
    range = SecondByteRange{};
  }
  return value;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    // The tables hold nothing beyond the Basic Multilingual Plane.
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string encode(std::string_view utf8, const ReverseTable& reverse) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const auto cp = nextCodePoint(utf8, pos);
    const auto byte = cp ? lookupByte(reverse, *cp) : std::nullopt;
    out += byte ? static_cast<char>(*byte) : kReplacement;
  }
  return out;
}

std::string decode(std::string_view bytes, const HighHalf& high) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    appendUtf8(out, byte < 0x80 ? char32_t{byte} : char32_t{high[byte - 0x80]});
  }
  return out;
}

}  // namespace

std::string utf8ToCp1251(std::string_view utf8) { return encode(utf8, kCp1251Reverse); }

std::string cp1251ToUtf8(std::string_view bytes) { return decode(bytes, kCp1251); }

std::string utf8ToCp866(std::string_view utf8) { return encode(utf8, kCp866Reverse); }

std::string cp866ToUtf8(std::string_view bytes) { return decode(bytes, kCp866); }

bool fitsCp1251(std::string_view utf8) {
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const auto cp = nextCodePoint(utf8, pos);
    if (!cp || !lookupByte(kCp1251Reverse, *cp)) return false;
  }
  return true;
}

}  // namespace zelmot
