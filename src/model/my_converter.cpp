#include "model/my_converter.h"

#include <algorithm>
#include <cstring>

#include "model/clock_codec.h"
#include "model/enumeration_codec.h"
#include "model/integer_codecs.h"
#include "model/name_codec.h"
#include "model/service_values.h"
#include "model/status_codes.h"
#include "model/stored_dot_codec.h"
#include "model/stored_dot_rounding.h"
#include "platform/ascii_text.h"
#include "model/value_context.h"
#include "model/value_messages.h"
#include "platform/code_page.h"

namespace zelmot::model {

namespace {

std::string reversedDeviceString(const uint8_t* data, int length) {
  std::string bytes(reinterpret_cast<const char*>(data), static_cast<size_t>(length));
  std::reverse(bytes.begin(), bytes.end());
  return cp1251ToUtf8(bytes);
}

}  // namespace

MyConverter::MyConverter() : typeDescriptor_("неизвестен") {}

void MyConverter::setName(std::string name) {
  name_ = std::move(name);
  nameRole_ = nameRoleOf(name_);
}

std::string MyConverter::valueText() const {
  std::lock_guard lock(mutex_);
  return valueText_;
}

void MyConverter::setRawValueText(const std::string& text) {
  std::lock_guard lock(mutex_);
  valueText_ = text;
}

std::vector<uint8_t> MyConverter::rawData() const {
  std::lock_guard lock(mutex_);
  return std::vector<uint8_t>(rawData_, rawData_ + rawLength_);
}

void MyConverter::setRawData(const uint8_t* data, size_t length) {
  std::lock_guard lock(mutex_);
  // A reply field never exceeds the buffer; anything longer is cut rather than overrun it.
  const size_t kept = data == nullptr ? 0 : std::min(length, kRawDataSize);
  if (kept > 0) std::memcpy(rawData_, data, kept);
  rawLength_ = static_cast<uint8_t>(kept);
}

int MyConverter::DataToText(const uint8_t* data, int length, std::string& text) const {
  if (data == nullptr || length <= 0) {
    if (!equalsIgnoreCase(name_, "APLY")) return 0;
    text.clear();
    return 1;
  }
  int result = 0;
  if (nameRole_ == NameRole::Service && decodeServiceValue(name_, data, length, text, result)) {
    return result;
  }
  if (nameRole_ == NameRole::Measured) return decodeMeasuredValue(name_, data, length, text);
  if (nameRole_ == NameRole::State) {
    if (isStatusCode(data[0])) {
      text = stateStatusText(data[0]);
      return 1;
    }
    if (length == 2) {  // the state is the second byte
      ++data;
      length = 1;
    }
  }
  return decodeByDescriptor(data, length, text);
}

int MyConverter::decodeByDescriptor(const uint8_t* data, int length, std::string& text) const {
  switch (valueKind()) {
    case ValueKind::StoredDot: return decodeStoredDot(data, length, text);
    case ValueKind::DecDot: return decodeDecDot(data, length, text);
    case ValueKind::ClockDuration: return decodeClock(data, length, text);
    case ValueKind::RealTimeClock: {
      ClockFields fields{};
      const int result = decodeRealTimeClock(data, length, text, fields);
      if (result == 1 && context_ != nullptr) context_->setClock(fields);
      return result;
    }
    case ValueKind::String:
    case ValueKind::Ascii:
      text = reversedDeviceString(data, length);
      return 1;
    case ValueKind::NetworkName: return decodeNetworkName(data, length, text);
    case ValueKind::Enumeration: return decodeEnumeration(typeDescriptor_, data, length, text);
  }
  return 0;
}

int MyConverter::applyData(const uint8_t* data, int length) {
  std::string text;
  const int result = DataToText(data, length, text);
  if (result != 0) setRawValueText(text);
  return result;
}

int MyConverter::TextToData(const std::string& text, std::vector<uint8_t>& data,
                            std::string& message) const {
  data.clear();
  if (equalsIgnoreCase(name_, "dev") || equalsIgnoreCase(name_, "ver") ||
      equalsIgnoreCase(name_, "exit")) {
    message = "Метод формирования посылки записи для команды '" + name_ + "' не определен.";
    return -1;
  }
  if (equalsIgnoreCase(name_, "APLY")) return 1;  // the command carries no data

  std::vector<uint8_t> encoded;
  const int result = encodeByDescriptor(text, encoded, message);
  if (result != 1) return result;
  if (encoded.size() > kMaxDataSize) {
    message = kValueTooLarge;
    return -1;
  }
  data = std::move(encoded);
  return 1;
}

int MyConverter::encodeByDescriptor(const std::string& text, std::vector<uint8_t>& data,
                                    std::string& message) const {
  switch (valueKind()) {
    case ValueKind::StoredDot: return encodeStoredDot(text, decimals_, data, message);
    case ValueKind::DecDot: return encodeDecDot(text, data, message);
    case ValueKind::ClockDuration: return encodeClock(text, data, message);
    case ValueKind::RealTimeClock: return encodeRealTimeClock(text, data, message);
    case ValueKind::String:
    case ValueKind::Ascii: return 0;  // read only
    case ValueKind::NetworkName: return encodeNetworkName(text, data, message);
    case ValueKind::Enumeration:
      return encodeEnumeration(typeDescriptor_, accessLevel(), text, data);
  }
  return 0;
}

int MyConverter::accessLevel() const { return context_ == nullptr ? 0 : context_->accessLevel(); }

int MyConverter::RoundToPrecision(const std::string& text, std::string& rounded) const {
  return roundStoredDotText(text, decimals_, minimum_, maximum_, rounded);
}

std::string MyConverter::typeDescription() const {
  switch (valueKind()) {
    case ValueKind::StoredDot:
      return decimals_ == 0 ? "Число с плавающей точкой"
                            : "Знаковое число с односторонней десятичной точкой";
    case ValueKind::DecDot: return "Знаковое целое число";
    case ValueKind::ClockDuration: return "Составной тип данных с информацией о времени";
    case ValueKind::RealTimeClock: return "";
    case ValueKind::Ascii: return "Строковый тип";
    case ValueKind::NetworkName: return "Нетипизированный набор битов";
    case ValueKind::String:  // listed as a one-item enumeration
    case ValueKind::Enumeration: return enumerationDescription(typeDescriptor_);
  }
  return "";
}

}  // namespace zelmot::model
