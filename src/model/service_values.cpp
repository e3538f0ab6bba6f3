#include "model/service_values.h"

#include <array>
#include <bit>
#include <initializer_list>
#include <string_view>

#include "model/number_text.h"
#include "model/status_codes.h"
#include "model/text_util.h"
#include "model/value_messages.h"
#include "platform/code_page.h"
#include "platform/ascii_text.h"

namespace zelmot::model {

namespace {

bool nameIsOneOf(const std::string& name, std::initializer_list<std::string_view> names) {
  for (std::string_view candidate : names) {
    if (equalsIgnoreCase(name, candidate)) return true;
  }
  return false;
}

// The text at position `code` of a fixed list; result 0 when there is none.
template <size_t N>
int pickText(const std::array<const char*, N>& texts, uint8_t code, std::string& text) {
  if (code >= N) return 0;
  text = texts[code];
  return 1;
}

int decodeExit(const uint8_t* data, int length, std::string& text) {
  if (length != 3) return 0;
  text = formatText("%02x %02x %02x", data[0], data[1], data[2]);
  return 1;
}

int decodeAddress(const uint8_t* data, int length, std::string& text) {
  if (length == 1) {
    text = formatText("%d", data[0]);
  } else if (length == 2) {
    text = formatText("%d", (data[0] << 8) | data[1]);
  } else {
    return 0;
  }
  return 1;
}

constexpr std::array<const char*, 9> kBaudRates = {"2400",  "4800",  "9600",  "14400", "19200",
                                                   "28800", "38400", "57600", "115200"};
constexpr std::array<const char*, 2> kDataBits = {"7", "8"};
constexpr std::array<const char*, 3> kParities = {"Отсутствует", "Четность", "Нечетность"};
constexpr std::array<const char*, 2> kStopBits = {"1", "2"};
constexpr std::array<const char*, 2> kAddressLengths = {"8", "11"};

}  // namespace

bool decodeServiceValue(const std::string& name, const uint8_t* data, int length,
                        std::string& text, int& result) {
  if (nameIsOneOf(name, {"dev", "ver"})) {
    // Device strings are windows-1251.
    text = cp1251ToUtf8(std::string_view(reinterpret_cast<const char*>(data),
                                         static_cast<size_t>(length)));
    result = 1;
  } else if (equalsIgnoreCase(name, "exit")) {
    result = decodeExit(data, length, text);
  } else if (equalsIgnoreCase(name, "bPS")) {
    result = pickText(kBaudRates, data[0], text);
  } else if (equalsIgnoreCase(name, "LEn")) {
    result = pickText(kDataBits, data[0], text);
  } else if (equalsIgnoreCase(name, "PrtY")) {
    result = pickText(kParities, data[0], text);
  } else if (equalsIgnoreCase(name, "Sbit")) {
    result = pickText(kStopBits, data[0], text);
  } else if (equalsIgnoreCase(name, "A.Len")) {
    result = pickText(kAddressLengths, data[0], text);
  } else if (equalsIgnoreCase(name, "Addr")) {
    result = decodeAddress(data, length, text);
  } else {
    return false;
  }
  return true;
}

bool isMeasuredValueName(const std::string& name) {
  return nameIsOneOf(name, {"rEAd", "r.CAL", "rd.rg", "Set.P", "r.OUt", "r.oe"});
}

bool isServiceValueName(const std::string& name) {
  return nameIsOneOf(name, {"dev", "ver", "exit", "bPS", "LEn", "PrtY", "Sbit", "A.Len", "Addr"});
}

NameRole nameRoleOf(const std::string& name) {
  if (isServiceValueName(name)) return NameRole::Service;
  if (isMeasuredValueName(name)) return NameRole::Measured;
  if (isStateName(name)) return NameRole::State;
  return NameRole::Other;
}

bool isStateName(const std::string& name) {
  return nameIsOneOf(name, {"r.kEY", "r.PrG", "r.StP", "r.St"});
}

int decodeMeasuredValue(const std::string& name, const uint8_t* data, int length,
                        std::string& text) {
  constexpr int kComputingBlockError = 245;
  constexpr int kSubCodeOffset = 3;
  constexpr int kFloatBytes = 4;
  const uint8_t first = data[0];
  if (isStatusCode(first)) {
    if (first != kComputingBlockError) {
      text = measuredStatusText(first, equalsIgnoreCase(name, "Set.P"));
      return 1;
    }
    if (length <= kSubCodeOffset) {
      text = formatText(kReplyLengthError, length);
      return -1;
    }
    text = computingBlockErrorText(data[kSubCodeOffset]);
    return 1;
  }
  if (first == 0x7F) {
    text = "Переполнение";
    return 1;
  }
  if (length < kFloatBytes) {
    text = formatText(kReplyLengthError, length);
    return -1;
  }
  const uint32_t bits = (static_cast<uint32_t>(data[0]) << 24) |
                        (static_cast<uint32_t>(data[1]) << 16) |
                        (static_cast<uint32_t>(data[2]) << 8) | data[3];
  text = fixedThreeText(static_cast<double>(std::bit_cast<float>(bits)), 5);
  return 1;
}

}  // namespace zelmot::model
