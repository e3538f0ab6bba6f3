#include "model/value_text_check.h"

#include <cmath>
#include <vector>

#include "model/integer_codecs.h"
#include "model/my_converter.h"
#include "model/stored_dot_codec.h"
#include "model/text_util.h"
#include "model/value_context.h"
#include "model/value_messages.h"
#include "platform/user_prompt.h"

namespace zelmot::model {

namespace {

constexpr double kLimitsTolerance = 0.0009;
constexpr double kRoundingNoticeThreshold = 0.000001;
constexpr const char* kWarningCaption = "Предупреждение";
constexpr const char* kNoticeCaption = "Сообщение";
constexpr const char* kDigits = "1234567890";

void tell(const MyConverter& converter, const std::string& text, const char* caption,
          PromptIcon icon) {
  ValueContext* context = converter.context();
  UserPrompt* prompt = context == nullptr ? nullptr : context->prompt();
  if (prompt != nullptr) prompt->tell(text, caption, icon);
}

ValueCheck refuse(const MyConverter& converter, const std::string& warning) {
  tell(converter, warning, kWarningCaption, PromptIcon::Exclamation);
  return {};
}

ValueCheck refuseForLimits() {
  ValueCheck check;
  check.limitsRefusal = true;
  return check;
}

ValueCheck accept(std::string text) { return {1, false, std::move(text)}; }

bool outsideLimits(const MyConverter& converter, double value, double tolerance) {
  return converter.hasLimits() &&
         (value < converter.minimum() - tolerance || value > converter.maximum() + tolerance);
}

// A value the encoder would refuse can never be written: refuse it while it is typed.
bool encodable(const MyConverter& converter, const std::string& text, std::string& message) {
  std::vector<uint8_t> data;
  return converter.TextToData(text, data, message) == 1;
}

ValueCheck checkStoredDot(const MyConverter& converter, const std::string& typed) {
  double value = 0.0;
  if (!consistsOf(typed, "1234567890.-") || !parseDoubleText(typed, value)) {
    return refuse(converter, kInvalidValue);
  }
  if (outsideLimits(converter, value, kLimitsTolerance)) return refuseForLimits();

  std::string rounded;
  double roundedValue = 0.0;
  if (converter.RoundToPrecision(typed, rounded) != 1 || !parseDoubleText(rounded, roundedValue)) {
    return refuse(converter, kInvalidValue);
  }
  const std::string accepted = formatThreeDecimals(roundedValue);
  std::string message;
  if (!encodable(converter, accepted, message)) return refuse(converter, message);
  if (std::fabs(roundedValue - value) > kRoundingNoticeThreshold) {
    tell(converter, "Значение было округлено с " + typed + " до " + rounded, kNoticeCaption,
         PromptIcon::Information);
  }
  return accept(accepted);
}

// Seconds of "h:m:s", "m:s" or "s", the groups counted from the right.
bool clockSeconds(const std::string& typed, uint64_t& seconds) {
  const std::vector<std::string> groups = splitText(typed, ':');
  constexpr uint64_t kWeights[] = {1, 60, 3600};
  if (groups.size() > std::size(kWeights)) return false;
  seconds = 0;
  for (size_t i = 0; i < groups.size(); ++i) {
    const std::string& group = groups[groups.size() - 1 - i];
    if (group.size() > 9) return false;
    uint64_t number = 0;
    for (char c : group) number = number * 10 + static_cast<uint64_t>(c - '0');
    seconds += number * kWeights[i];
  }
  return true;
}

ValueCheck checkClockDuration(const MyConverter& converter, const std::string& typed) {
  uint64_t seconds = 0;
  if (typed.empty() || !consistsOf(typed, "1234567890:") || !clockSeconds(typed, seconds)) {
    return refuse(converter, kInvalidValue);
  }
  if (outsideLimits(converter, static_cast<double>(seconds), 0.0)) return refuseForLimits();
  if (seconds > kMaxTwoByteValue) return refuse(converter, kValueTooLarge);
  // Stored as minutes:seconds, the form the device reads back and the encoder sends
  // exactly ("1:2:3" would otherwise be sent as 51 seconds instead of 3723).
  const auto value = static_cast<unsigned>(seconds);
  return accept(formatText("%02u:%02u", value / 60, value % 60));
}

ValueCheck checkDecDot(const MyConverter& converter, const std::string& typed) {
  if (typed.empty() || !consistsOf(typed, kDigits)) return refuse(converter, kInvalidValue);
  double value = 0.0;  // exact for every number of interest; huge ones only need to be huge
  for (char c : typed) value = value * 10.0 + (c - '0');
  if (outsideLimits(converter, value, kLimitsTolerance)) return refuseForLimits();
  if (value > kMaxTwoByteValue) return refuse(converter, kValueTooLarge);
  // Without leading zeros, as the device reads it back.
  return accept(formatText("%u", static_cast<unsigned>(value)));
}

}  // namespace

ValueCheck checkValueText(const MyConverter& converter, const std::string& typed) {
  switch (converter.valueKind()) {
    case ValueKind::StoredDot: return checkStoredDot(converter, typed);
    case ValueKind::ClockDuration: return checkClockDuration(converter, typed);
    case ValueKind::DecDot: return checkDecDot(converter, typed);
    default: return accept(typed);
  }
}

std::string rangeMessage(const MyConverter& converter) {
  const char* format = converter.valueKind() == ValueKind::StoredDot
                           ? "Допустимый диапазон значений: от %.3f до %.3f"
                           : "Допустимый диапазон значений: от %.0f до %.0f";
  return formatText(format, converter.minimum(), converter.maximum());
}

}  // namespace zelmot::model
