// Write one parameter, and the step-by-step walk of the structure counters.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "exchange/exchange_engine.h"
#include "exchange/exchange_texts.h"
#include "exchange/reread_list.h"
#include "model/parameter.h"
#include "platform/ascii_text.h"

namespace zelmot::exchange {
namespace {

bool isNetworkSetting(const std::string& name) {
  for (const char* setting : {"bPS", "LEn", "PrtY", "Sbit", "A.Len", "Addr"}) {
    if (equalsIgnoreCase(name, setting)) return true;
  }
  return false;
}

bool isStructureCounter(const std::string& name) {
  return equalsIgnoreCase(name, "n.Obj") || equalsIgnoreCase(name, "n.Ch");
}

std::string writeLabel(const model::Parameter& parameter) {
  std::string label = "  Запись: " + parameter.name();
  if (parameter.hasLinearIndex()) label += ":" + std::to_string(parameter.linearIndex());
  return label;
}

// A value the type cannot turn into data is refused here: the device would only get a
// frame with an empty or wrong data field.
bool encodable(model::Parameter& parameter, std::string& refusal) {
  std::vector<uint8_t> data;
  std::string message;
  if (parameter.linkTextToData(parameter.valueText(), data, message) == 1) return true;
  refusal = message.empty() ? model::kNotEncodableText : message;
  return false;
}

}  // namespace

int ExchangeEngine::writeOne(model::Parameter& parameter, bool) {
  done_.fetch_add(1);
  if (isStructureCounter(parameter.name())) return writeStructureCounter(parameter);
  return writeValue(parameter);
}

int ExchangeEngine::writeValue(model::Parameter& parameter) {
  if (parameter.valueText() == kNoDataText) {
    parameter.setErrorText(kNotInitialisedText);
    errors_.fetch_add(1);
    return kResultNoValue;
  }
  if (parameter.linearIndex() < 0) return kResultNotExchanged;
  const std::string label = writeLabel(parameter);
  std::string refusal;
  if (!encodable(parameter, refusal)) {
    parameter.setErrorText(refusal);
    errors_.fetch_add(1);
    appendErrorLog(parameter);
    logLine(label + " = " + parameter.valueText() + ": " + refusal);
    return kResultNotEncodable;
  }
  {
    std::lock_guard lock(mutex_);
    appendReReadEntries(reReadList_, parameter.name(), parameter.linearIndex());
  }
  const int result = transport_.exchangeParameter(false, parameter);
  const bool lineLost = result != 0 && stopOnLineLoss(parameter);
  noteTransaction(result, parameter);
  if (result != 0) {
    appendErrorLog(parameter);
  } else {
    if (isNetworkSetting(parameter.name())) networkWritten_.store(true);
    failures_.store(0);
    linkLost_.store(false);
  }
  logLine(label + " = " + parameter.valueText() + " [новое значение]");
  if (lineLost) {
    failures_.store(0);
  } else if (result < 0 || (result != 0 && parameter.errorText() == kTimeoutText)) {
    noteWriteFailure();
  }
  return result;
}

void ExchangeEngine::noteWriteFailure() {
  if (failures_.fetch_add(1) + 1 < kMaxConsecutiveFailures) return;
  logLine(kFiveWriteFailuresText);
  failures_.store(0);
  linkLost_.store(true);
  if (!lineLost_.load()) reportLineLoss(kWritesUnansweredText);
  cancel_.set();
}

// The device accepts object and channel counts only one unit at a time, so the count is
// walked from the device's current value to the target, one write per step.
int ExchangeEngine::writeStructureCounter(model::Parameter& parameter) {
  const std::string targetText = parameter.valueText();
  // Without a value there is no target: walking to 0 would remove every object.
  if (targetText == kNoDataText || parameter.linearIndex() < 0) return writeValue(parameter);
  logLine(kPreReadText);
  const int target = std::atoi(targetText.c_str());
  readOne(parameter);
  setProgressTotal(total_.load() + 1);
  if (parameter.errorText().empty()) {
    int current = std::atoi(parameter.valueText().c_str());
    if (current == target) return 0;
    const int step = target < current ? -1 : 1;
    for (current += step; current != target; current += step) {
      parameter.setRawValueText(std::to_string(current));
      const int result = writeValue(parameter);
      if (!parameter.errorText().empty()) {
        logLine(std::string(kErrorReturnedText) + parameter.errorText());
      }
      if (result != 0) return result;
    }
  }
  parameter.setRawValueText(std::to_string(target));
  return writeValue(parameter);
}

}  // namespace zelmot::exchange
