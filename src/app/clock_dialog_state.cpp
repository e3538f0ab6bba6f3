#include "app/clock_dialog_state.h"

#include "app/parameter_device.h"
#include "exchange/poll_scheduler.h"
#include "model/parameter.h"
#include "model/text_util.h"
#include "model/value_messages.h"
#include "platform/ascii_text.h"

namespace zelmot::app {
namespace {

enum Field { kFraction, kSeconds, kMinutes, kHours, kDay, kMonth, kYear };

// What the device takes in each field, as the user types it (day and month from 1).
constexpr std::array<int, kClockFieldCount> kFieldLow = {0, 0, 0, 0, 1, 1, 0};
constexpr std::array<int, kClockFieldCount> kFieldHigh = {99, 59, 59, 23, 31, 12, 99};

// The number a field holds; false for an empty field or one with other than digits.
bool fieldNumber(const std::string& text, int& number) {
  if (text.empty() || text.size() > kClockFieldWidth || !model::consistsOf(text, "0123456789")) {
    return false;
  }
  number = std::stoi(text);
  return true;
}

}  // namespace

bool isClockParameter(const model::Parameter& parameter) {
  return equalsIgnoreCase(parameter.name(), kClockParameterName);
}

std::string clockFieldName(int field) {
  std::string label = kClockFieldLabels[static_cast<size_t>(field)];
  if (!label.empty() && label.back() == ':') label.pop_back();
  return label;
}

ClockDialogState::ClockDialogState(const model::ClockFields& decoded) {
  for (int field = 0; field < kClockFieldCount; ++field) {
    const int value = decoded[static_cast<size_t>(field)];
    if (value < 0) continue;
    present_[static_cast<size_t>(field)] = true;
    texts_[static_cast<size_t>(field)] = std::to_string(static_cast<unsigned>(value));
    if (lowest_ < 0) lowest_ = field;
    highest_ = field;
  }
}

void ClockDialogState::setFieldText(int field, std::string text) {
  if (field < 0 || field >= kClockFieldCount) return;
  texts_[static_cast<size_t>(field)] = std::move(text);
}

std::vector<std::string> ClockDialogState::lowestBlockChoices() const {
  std::vector<std::string> names;
  for (int field = 0; field <= highest_; ++field) names.push_back(clockFieldName(field));
  return names;
}

std::vector<std::string> ClockDialogState::highestBlockChoices() const {
  std::vector<std::string> names;
  if (lowest_ < 0) return names;
  for (int field = lowest_; field < kClockFieldCount; ++field) names.push_back(clockFieldName(field));
  return names;
}

bool ClockDialogState::synchroniseWith(const std::tm& local) {
  char buffer[64] = {};
  std::strftime(buffer, sizeof buffer, "%y|%m|%d|%H|%M|%S", &local);
  const std::vector<std::string> pieces = model::splitText(buffer, '|');
  constexpr std::array<int, 6> kOrder = {kYear, kMonth, kDay, kHours, kMinutes, kSeconds};
  for (size_t i = 0; i < kOrder.size() && i < pieces.size(); ++i) {
    if (pieces[i].empty()) break;
    texts_[static_cast<size_t>(kOrder[i])] = pieces[i];
  }
  return writeAtOnce;
}

std::string ClockDialogState::refusal() const {
  if (lowest_ < 0) return model::kInvalidValue;
  for (int field = lowest_; field <= highest_; ++field) {
    int number = 0;
    const auto at = static_cast<size_t>(field);
    if (!fieldNumber(texts_[at], number) || number < kFieldLow[at] || number > kFieldHigh[at]) {
      return std::string(model::kInvalidValue) + "\n" + clockFieldName(field) + ": '" +
             texts_[at] + "'";
    }
  }
  return {};
}

std::string ClockDialogState::valueText() const {
  std::string text;
  for (int field = kYear; field >= kFraction; --field) {
    if (field < lowest_ || field > highest_) continue;
    std::string piece = texts_[static_cast<size_t>(field)];
    if (field == kMonth || field == kDay) {
      int number = 0;
      piece = std::to_string(fieldNumber(piece, number) ? number - 1 : -1);
    }
    text += piece + "|";
  }
  const int format = lowest_ + 16 * (highest_ - lowest_ + 1);
  return text + std::to_string(format & 0xFF);
}

PollPause schedulerPause(exchange::PollScheduler& scheduler) {
  return {[&scheduler](model::Parameter& parameter) { return scheduler.stop(parameter) == 0; },
          [&scheduler](model::Parameter& parameter) { scheduler.start(parameter); }};
}

int writeClock(model::Parameter& parameter, const std::string& valueText, ParameterDevice& device,
               const PollPause& pollPause) {
  parameter.setRawValueText(valueText);
  parameter.setValueChanged(true);
  const bool paused = pollPause.pause && pollPause.pause(parameter);
  const int result = device.write(parameter);
  // Read back, so that the tree shows the clock as a date again and not the byte list.
  if (result == 0) device.read(parameter);
  if (paused && pollPause.resume) pollPause.resume(parameter);
  return result;
}

}  // namespace zelmot::app
