#include "value_codec.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "model/enumeration_codec.h"
#include "platform/code_page.h"
#include "protection_rules.h"

namespace zelmot::sim {
namespace {

constexpr double kLimitTolerance = 0.0009;

bool beyondLimits(const model::MyConverter& value, double number) {
  if (!value.hasLimits()) return false;
  return number < value.minimum() - kLimitTolerance || number > value.maximum() + kLimitTolerance;
}

bool parseDouble(std::string_view text, double& value) {
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  if (text.empty()) return false;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && ptr == text.data() + text.size();
}

bool clockTextSeconds(const std::string& text, double& seconds) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos) return parseDouble(text, seconds);
  double minutes = 0;
  double rest = 0;
  if (!parseDouble(std::string_view(text).substr(0, colon), minutes) ||
      !parseDouble(std::string_view(text).substr(colon + 1), rest)) {
    return false;
  }
  seconds = minutes * 60 + rest;
  return true;
}

DeviceError decodeStoredDot(const StoredParameter& parameter, const uint8_t* data, size_t length,
                            std::string& text) {
  if (length < 2 || length > 4) return DeviceError::DataSize;
  const int decimals = (data[0] >> 4) & 0x07;
  if (decimals > 3) return DeviceError::PointAboveThree;
  const int fixed = parameter.value->decimals();
  if (fixed != 0 && decimals != std::min(fixed, 3)) return DeviceError::WrongFixedPoint;
  uint32_t mantissa = data[0] & 0x0F;
  for (size_t i = 1; i < length; ++i) mantissa = (mantissa << 8) | data[i];
  double number = mantissa / std::pow(10.0, decimals);
  if (data[0] & 0x80) number = -number;
  if (beyondLimits(*parameter.value, number)) return DeviceError::MantissaBeyondLimits;
  // A field longer than two bytes is read with two trailing bytes that are not the value.
  std::vector<uint8_t> field(data, data + length);
  if (length > 2) field.insert(field.end(), {0, 0});
  return parameter.value->DataToText(field.data(), static_cast<int>(field.size()), text) == 1
             ? DeviceError::None
             : DeviceError::MantissaBeyondLimits;
}

DeviceError decodeShortNumber(const StoredParameter& parameter, const uint8_t* data,
                              size_t length, std::string& text) {
  if (length < 1 || length > 2) return DeviceError::DataSize;
  const uint32_t number = length == 1 ? data[0] : (data[0] << 8) | data[1];
  if (beyondLimits(*parameter.value, number)) return DeviceError::MantissaBeyondLimits;
  return parameter.value->DataToText(data, static_cast<int>(length), text) == 1
             ? DeviceError::None
             : DeviceError::MantissaBeyondLimits;
}

DeviceError decodeEnumeration(const StoredParameter& parameter, const uint8_t* data,
                              size_t length, std::string& text) {
  if (length != 1) return DeviceError::DataSize;
  uint8_t position = data[0];
  if (isShiftedProtectionByte(parameter, data, length)) {
    position = static_cast<uint8_t>(position - kProtectionShift);
  }
  if (position >= model::enumerationItems(parameter.value->typeDescriptor()).size()) {
    return DeviceError::MantissaBeyondLimits;
  }
  return parameter.value->DataToText(&position, 1, text) == 1 ? DeviceError::None
                                                               : DeviceError::MantissaBeyondLimits;
}

DeviceError decodeName(const StoredParameter& parameter, const uint8_t* data, size_t length,
                       std::string& text) {
  if (length != 4) return DeviceError::DataSize;
  return parameter.value->DataToText(data, 4, text) == 1 ? DeviceError::None
                                                          : DeviceError::InvalidCharacter;
}

}  // namespace

bool encodeValue(const StoredParameter& parameter, std::vector<uint8_t>& data) {
  data.clear();
  const std::string text = parameter.value->valueText();
  if (isTextKind(parameter.kind)) {
    std::string bytes = utf8ToCp1251(text).substr(0, kMaxReplyData);
    data.assign(bytes.rbegin(), bytes.rend());
    return true;
  }
  std::string message;
  return parameter.value->TextToData(text, data, message) == 1;
}

bool setEncodableValue(StoredParameter& parameter, const std::string& text) {
  const std::string previous = parameter.value->valueText();
  parameter.value->setRawValueText(text);
  std::vector<uint8_t> data;
  if (encodeValue(parameter, data)) return true;
  parameter.value->setRawValueText(previous);
  return false;
}

bool encodeReply(const StoredParameter& parameter, std::vector<uint8_t>& data) {
  if (!encodeValue(parameter, data)) return false;
  const bool numeric = !isTextKind(parameter.kind) && parameter.kind != ValueKind::RealTimeClock;
  if (numeric && parameter.hasIndex && !parameter.operative) {
    data.push_back(static_cast<uint8_t>((parameter.index >> 8) & 0xFF));
    data.push_back(static_cast<uint8_t>(parameter.index & 0xFF));
  } else if (parameter.kind == ValueKind::StoredDot && data.size() > 2) {
    data.insert(data.end(), {0, 0});
  }
  return data.size() <= kMaxReplyData;
}

DeviceError decodeWrite(const StoredParameter& parameter, const uint8_t* data, size_t length,
                        std::string& text) {
  switch (parameter.kind) {
    case ValueKind::StoredDot: return decodeStoredDot(parameter, data, length, text);
    case ValueKind::DecDot:
    case ValueKind::ClockDuration: return decodeShortNumber(parameter, data, length, text);
    case ValueKind::Enumeration: return decodeEnumeration(parameter, data, length, text);
    case ValueKind::NetworkName: return decodeName(parameter, data, length, text);
    case ValueKind::String:
    case ValueKind::Ascii: return DeviceError::RomParameter;
    case ValueKind::RealTimeClock:
      if (length < 2) return DeviceError::DataSize;
      return parameter.value->DataToText(data, static_cast<int>(length), text) == 1
                 ? DeviceError::None
                 : DeviceError::DataSize;
  }
  return DeviceError::DescriptorNotFound;
}

bool numericValue(const StoredParameter& parameter, double& value) {
  return numericValue(parameter, parameter.value->valueText(), value);
}

bool setNumericValue(StoredParameter& parameter, double value) {
  std::string text;
  switch (parameter.kind) {
    case ValueKind::Enumeration: {
      const auto items = model::enumerationItems(parameter.value->typeDescriptor());
      if (value < 0 || value >= static_cast<double>(items.size())) return false;
      text = items[static_cast<size_t>(value)];
      break;
    }
    case ValueKind::StoredDot: {
      char buffer[64];
      std::snprintf(buffer, sizeof buffer, "%.3f", value);
      text = buffer;
      break;
    }
    case ValueKind::DecDot:
    case ValueKind::ClockDuration: {
      if (value < 0 || value > 65535) return false;
      const auto whole = static_cast<unsigned>(std::lround(value));
      char buffer[32];
      if (parameter.kind == ValueKind::DecDot) std::snprintf(buffer, sizeof buffer, "%u", whole);
      else std::snprintf(buffer, sizeof buffer, "%02u:%02u", whole / 60, whole % 60);
      text = buffer;
      break;
    }
    default: return false;
  }
  parameter.value->setRawValueText(text);
  return true;
}

bool numericValue(const StoredParameter& parameter, const std::string& text, double& value) {
  switch (parameter.kind) {
    case ValueKind::ClockDuration: return clockTextSeconds(text, value);
    case ValueKind::Enumeration: {
      const auto items = model::enumerationItems(parameter.value->typeDescriptor());
      for (size_t i = 0; i < items.size(); ++i) {
        if (sameName(items[i], text)) {
          value = static_cast<double>(i);
          return true;
        }
      }
      return false;
    }
    default: return parseDouble(text, value);
  }
}

}  // namespace zelmot::sim
