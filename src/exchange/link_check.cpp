#include "exchange/link_check.h"

#include "exchange/exchange_engine.h"
#include "exchange/exchange_texts.h"
#include "model/parameter.h"
#include "platform/ascii_text.h"
#include "platform/user_prompt.h"

namespace zelmot::exchange {
namespace {

// Reads one service parameter; false with `error` set when it failed or is not described.
bool readService(ExchangeEngine& engine, const CatalogueLookup& find, const std::string& name,
                 std::string& value, std::string& error) {
  model::Parameter* parameter = find ? find(name) : nullptr;
  if (parameter == nullptr) {
    error = "Параметер '" + name + "' не описан!";
    return false;
  }
  const int result = engine.readOne(*parameter);
  value = parameter->valueText();
  error = parameter->errorText();
  return result == 0;
}

void appendFailure(std::string& errorText, const std::string& name, const std::string& error) {
  errorText += "Ошибка команды '" + name + "':\n" + error + "\n";
}

}  // namespace

LinkCheckResult checkLink(ExchangeEngine& engine, const CatalogueLookup& find) {
  LinkCheckResult result;
  std::string value;
  std::string error;
  if (!readService(engine, find, "n.Err", value, error)) {
    appendFailure(result.errorText, "n.Err", error);
  }
  if (readService(engine, find, "dev", value, error)) {
    result.identity = kIdentityAnswered;
    if (equalsIgnoreCase(value, kDeviceType)) result.identity |= kIdentityOurType;
    result.infoText += "Прибор: " + value + "\n";
  } else {
    result.identity = 0;
    appendFailure(result.errorText, "dev", error);
  }
  if (readService(engine, find, "ver", value, error)) {
    result.infoText += "Версия ПО: " + value + "\n";
  } else {
    appendFailure(result.errorText, "ver", error);
  }
  if (readService(engine, find, "exit", value, error)) {
    result.infoText += "\nПричина последнего перезапуска: " + value + "\n";
  } else {
    appendFailure(result.errorText, "exit", error);
  }
  model::Parameter* counters = find ? find("n.Err") : nullptr;
  if (counters != nullptr && counters->valueText() != kNoDataText) {
    result.infoText += "Ошибки запроса/ответа: " + counters->valueText() + "\n";
  }
  return result;
}

std::string linkCheck(ExchangeEngine& engine, const CatalogueLookup& find, UserPrompt* prompt,
                      bool showMessages, uint8_t* identity) {
  LinkCheckResult result = checkLink(engine, find);
  if (identity != nullptr) *identity = result.identity;
  if (showMessages && prompt != nullptr) {
    if (!result.errorText.empty()) prompt->tell(result.errorText, "Ошибка", PromptIcon::Stop);
    if (!result.infoText.empty()) {
      prompt->tell(result.infoText, kDeviceInfoCaption, PromptIcon::Information);
    }
  }
  return result.errorText;
}

bool deviceTypeMismatch(ExchangeEngine& engine, const CatalogueLookup& find, UserPrompt* prompt) {
  model::Parameter* described = find ? find("dev") : nullptr;
  if (described == nullptr) return false;
  model::Parameter device;
  device.setName(described->name());
  device.setTypeDescriptor(described->typeDescriptor());
  device.setRequestIndex(described->requestIndex());
  if (engine.readOne(device) != 0) return false;
  std::string type;
  for (char c : device.valueText()) {
    if (c != ' ') type += c;
  }
  if (equalsIgnoreCase(type, kDeviceType)) return false;
  if (prompt != nullptr) {
    prompt->tell("Подключенный прибор не соответствует выбранному типу!\n", "Ошибка обмена",
                 PromptIcon::Exclamation);
  }
  return true;
}

}  // namespace zelmot::exchange
