// exchange_parameter: one parameter's read or write, with its protective attributes.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "link/device_protocol.h"
#include "platform/ascii_text.h"
#include "platform/code_page.h"

namespace zelmot::link {
namespace {

constexpr const char* kAttributeSizeText =
    "Ошибка атрибутов; размер ответа не совпадает с ожидаемым.\n";
constexpr const char* kNotDecodedText = "Не могу раскодировать ответ";
// Part of the catalogue texts for an index beyond the parameter's limit.
constexpr const char* kIndexLimitFragment = "ндекс параметр";

bool isGraphNodeName(const std::string& name) {
  return equalsIgnoreCase(name, "absc") || equalsIgnoreCase(name, "ordn");
}

// "#%2i : %03i = 0x%02X (%c)" after the prefix; the character as the device's code page
// shows it, "." for control characters.
std::string byteLogLine(const char* prefix, size_t position, uint8_t byte) {
  char numbers[64];
  std::snprintf(numbers, sizeof numbers, "#%2i : %03i = 0x%02X (", static_cast<int>(position),
                static_cast<int>(byte), static_cast<unsigned>(byte));
  const std::string shown = byte < 32 ? "." : cp1251ToUtf8(std::string(1, static_cast<char>(byte)));
  return std::string(prefix) + numbers + shown + ")";
}

void appendHighByteFirst(std::vector<uint8_t>& data, uint16_t value) {
  data.push_back(static_cast<uint8_t>(value >> 8));
  data.push_back(static_cast<uint8_t>(value & 0xFF));
}

}  // namespace

ParameterResult DeviceProtocol::exchange_parameter(int requestFlag, LinkParameter& parameter,
                                                   LogSink* log) {
  if (noDeviceExchange_) return ParameterResult::Ok;
  const TemporaryOpen open = openForExchange();
  if (open == TemporaryOpen::Failed) {
    parameter.setLinkErrorText(openFailureText());
    return ParameterResult::Failed;
  }
  parameter.setLinkErrorText("");

  ParameterResult result = ParameterResult::Ok;
  if (attributeExchangeDue(parameter)) {
    std::string errorText;
    result = exchangeAttributes(requestFlag, parameter, errorText);
    if (result != ParameterResult::Ok) parameter.setLinkErrorText(errorText);
  }
  if (result == ParameterResult::Ok) result = exchangeValue(requestFlag, parameter, log);

  if (open == TemporaryOpen::Opened) closeAfterExchange();
  return result;
}

// Attributes are held once per group of linear indexes, by the group's first index.
bool DeviceProtocol::attributeExchangeDue(const LinkParameter& parameter) const {
  const int64_t multiplicity = parameter.linkAttributeMultiplicity();
  if (multiplicity == 0 || noAttributeTransfer_) return false;
  return static_cast<int64_t>(parameter.linkLinearIndex()) % multiplicity == 0;
}

ParameterResult DeviceProtocol::exchangeAttributes(int requestFlag, LinkParameter& parameter,
                                                   std::string& errorText) {
  // Without the permission attributes are only ever read, also before a write.
  const int direction = attributeWritePermission_ ? requestFlag : 1;
  const bool indexed = parameter.linkHasLinearIndex();
  std::vector<uint8_t> data;
  if (direction == 0) {
    data.push_back(static_cast<uint8_t>((parameter.linkEditable() ? 0x01 : 0x00) |
                                        (parameter.linkFactoryOwned() ? 0x00 : 0x02)));
  }
  if (indexed) {
    data.push_back(0x00);
    data.push_back(static_cast<uint8_t>(parameter.linkLinearIndex() & 0xFF));
  }
  appendHighByteFirst(data, name_hash(parameter.linkName()));

  FrameReply reply;
  if (transact_frame(direction, kAttributeCode, data.data(), data.size(), reply, errorText,
                     parameter.linkRequestIndex()) == 0) {
    return ParameterResult::AttributeExchangeFailed;
  }
  if (reply.length != (indexed ? 5 : 3)) {
    errorText = kAttributeSizeText;
    return ParameterResult::AttributeReplySize;
  }
  parameter.setLinkAttributes((reply.data[0] & 0x01) != 0, (reply.data[0] & 0x02) == 0);
  return ParameterResult::Ok;
}

ParameterResult DeviceProtocol::exchangeValue(int requestFlag, LinkParameter& parameter,
                                              LogSink* log) {
  const std::string name = parameter.linkName();
  std::vector<uint8_t> data;
  if (requestFlag == 0) {
    std::string message;
    const int encoded = parameter.linkTextToData(parameter.linkValueText(), data, message);
    if (log != nullptr && encoded == -1) {
      log->addLine("Метод формирования посылки записи для команды '" + name + "' не определен.");
      return ParameterResult::NoEncoding;
    }
    if (log != nullptr && encoded == 0) {
      log->addLine("Неверное значение (неудается закодировать данные)");
      return ParameterResult::NotEncodable;
    }
    if (log != nullptr && encoded != 1) {
      log->addLine("Предупреждение: странный ответ от ConvertToData(...)");
    }
  }
  if (parameter.linkHasLinearIndex()) {
    appendHighByteFirst(data, static_cast<uint16_t>(parameter.linkLinearIndex()));
  }
  if (log != nullptr) {
    log->addLine("Размер инф-ой части посылки " + std::to_string(data.size()) + " байт.");
    for (size_t i = 0; i < data.size(); ++i) log->addLine(byteLogLine(">> Посылка: ", i, data[i]));
  }

  FrameReply reply;
  std::string errorText;
  ParameterResult result = ParameterResult::Ok;
  if (transact_frame(requestFlag, name_hash(name), data.data(), data.size(), reply, errorText,
                     parameter.linkRequestIndex()) == 0) {
    // A graph node that does not exist is reported as an index beyond the limit: not an error.
    if (isGraphNodeName(name) && errorText.find(kIndexLimitFragment) != std::string::npos) {
      errorText.clear();
    }
    if (log != nullptr && errorText == kTimeoutText) log->addLine(describeLineSettings());
    result = ParameterResult::Failed;
  } else {
    if (log != nullptr) {
      for (size_t i = 0; i < reply.length; ++i) {
        log->addLine(byteLogLine("<< Ответ: ", i, reply.data[i]));
      }
      log->addLine("Инф-ная часть квитанции ответа имеет размер " + std::to_string(reply.length) +
                   " байт.");
    }
    // Writes are decoded too: the value text then shows what the device took.
    if (parameter.linkDataToText(reply.data.data(), reply.length) == 0) {
      errorText = kNotDecodedText;
      parameter.setLinkValueText("");
      result = ParameterResult::NotDecoded;
    }
  }
  parameter.setLinkErrorText(errorText);
  parameter.storeLinkRawReply(reply.data.data(), reply.length);
  if (errorText.empty()) parameter.clearLinkChangeFlags();
  return result;
}

}  // namespace zelmot::link
