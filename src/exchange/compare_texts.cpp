#include "exchange/compare_texts.h"

#include "exchange/exchange_texts.h"

namespace zelmot::exchange {

std::string editableText(bool editable) {
  return editable ? "Редактируемый" : "Не редактируемый";
}

std::string ownerText(bool factoryOwned) { return factoryOwned ? "фирме" : "пользователю"; }

std::string shortEditableText(bool editable) { return editable ? "Ред-ый," : "Не ред-ый,"; }

std::string shortOwnerText(bool factoryOwned) { return factoryOwned ? "фирм." : "польз."; }

bool sidesDiffer(const CompareSide& configuration, const CompareSide& device) {
  return configuration.value != device.value || configuration.editable != device.editable ||
         configuration.factoryOwned != device.factoryOwned;
}

std::string differenceDescription(int number, const std::string& name,
                                  const std::string& description,
                                  const CompareSide& configuration, const CompareSide& device) {
  std::string text = "\n" + std::to_string(number) + ") Параметер '" + name + " (" +
                     description + ") в конфигурации: значение=" + configuration.value + "," +
                     editableText(configuration.editable) + ",принадлежит " +
                     ownerText(configuration.factoryOwned) + "; в приборе: значение=" +
                     device.value + "," + editableText(device.editable) + ",принадлежит " +
                     ownerText(device.factoryOwned) + ".\n";
  return text;
}

std::string markedErrorText(const std::string& previousError, const CompareSide& device) {
  std::string text = std::string(kMismatchPrefix) + " '" + device.value + "'," +
                     shortEditableText(device.editable) + shortOwnerText(device.factoryOwned);
  if (!previousError.empty()) text += "; " + previousError;
  return text;
}

std::string compareSummary(int differenceCount, const std::string& differenceText) {
  if (differenceCount == 0) return "Отличий не обнаружено";
  std::string text = "Обнаружены отличия (" + std::to_string(differenceCount) + ")";
  if (differenceCount > kDescribedDifferences) text += " (показанны только первые 10)";
  return text + ":\n" + differenceText;
}

}  // namespace zelmot::exchange
