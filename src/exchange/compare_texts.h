#pragma once
// Texts of a comparison between the configuration and the device: the description of one
// difference, the mark left in the parameter's error text and the closing summary.
#include <string>

namespace zelmot::exchange {

// The parts of one side of a comparison that the texts show.
struct CompareSide {
  std::string value;
  bool editable = true;
  bool factoryOwned = false;
};

std::string editableText(bool editable);          // "Редактируемый" / "Не редактируемый"
std::string ownerText(bool factoryOwned);         // "фирме" / "пользователю"
std::string shortEditableText(bool editable);     // "Ред-ый," / "Не ред-ый,"
std::string shortOwnerText(bool factoryOwned);    // "фирм." / "польз."

// A difference exists when the value texts differ byte for byte or an attribute differs.
bool sidesDiffer(const CompareSide& configuration, const CompareSide& device);

// "\n%i) Параметер '<name> (<description>) в конфигурации: ... ; в приборе: ....\n"
std::string differenceDescription(int number, const std::string& name,
                                  const std::string& description,
                                  const CompareSide& configuration, const CompareSide& device);

// The new error text of a differing parameter: the mark first, the old text after "; ".
std::string markedErrorText(const std::string& previousError, const CompareSide& device);

// "Обнаружены отличия (N)[ (показанны только первые 10)]:\n<text>" or "Отличий не обнаружено".
std::string compareSummary(int differenceCount, const std::string& differenceText);

inline constexpr int kDescribedDifferences = 10;
inline constexpr const char* kCompareCaption = "Результат сравнения";

}  // namespace zelmot::exchange
