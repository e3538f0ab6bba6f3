#include "exchange/exchange_engine.h"

#include "exchange/elapsed_text.h"
#include "exchange/error_log.h"
#include "exchange/exchange_texts.h"
#include "exchange/suspension_text.h"
#include "model/object_with_parameters.h"
#include "model/parameter.h"
#include "platform/user_prompt.h"

namespace zelmot::exchange {

ExchangeEngine::ExchangeEngine(ParameterTransport& transport) : transport_(transport) {}

void ExchangeEngine::setErrorLogPath(const std::string& path) {
  std::lock_guard lock(mutex_);
  errorLogPath_ = path;
}

std::string ExchangeEngine::errorLogPath() const {
  std::lock_guard lock(mutex_);
  return errorLogPath_;
}

void ExchangeEngine::setRedrawHook(std::function<void(model::Parameter&)> hook) {
  std::lock_guard lock(mutex_);
  redrawHook_ = std::move(hook);
}

void ExchangeEngine::setAutoReadingOffHook(std::function<void()> hook) {
  std::lock_guard lock(mutex_);
  autoReadingOffHook_ = std::move(hook);
}

// --- task state ----------------------------------------------------------------------------

void ExchangeEngine::beginTask(int total) {
  total_.store(total);
  done_.store(0);
  suspended_.store(false);
  lineLost_.store(false);
  successes_.store(0);
  timeouts_.store(0);
  errors_.store(0);
  start_.store(std::chrono::steady_clock::now());
  std::lock_guard lock(mutex_);
  reReadList_.clear();
}

void ExchangeEngine::setProgressTotal(int total) {
  total_.store(total);
  if (ProgressSink* sink = sink_.load()) sink->rangeChanged(total);
}

void ExchangeEngine::logLine(const std::string& text) {
  ProgressSink* sink = sink_.load();
  if (sink == nullptr) return;
  const auto elapsed = std::chrono::steady_clock::now() - start_.load();
  ProgressLine line;
  line.text = text;
  line.elapsed = formatElapsed(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count());
  line.done = done_.load();
  line.total = total_.load();
  line.counter = counterText(line.done, line.total);
  sink->logLine(line);
}

std::string ExchangeEngine::reReadList() const {
  std::lock_guard lock(mutex_);
  return reReadList_;
}

std::string ExchangeEngine::takeReReadList() {
  std::lock_guard lock(mutex_);
  std::string list;
  list.swap(reReadList_);
  return list;
}

void ExchangeEngine::resetDifferences() {
  differences_.store(0);
  std::lock_guard lock(mutex_);
  differenceText_.clear();
}

std::string ExchangeEngine::differenceText() const {
  std::lock_guard lock(mutex_);
  return differenceText_;
}

void ExchangeEngine::enterNode(const model::ObjectWithParameters& node,
                               model::ExchangeTask task) {
  const char* header = "Читаем ветвь '";
  if (task == model::ExchangeTask::Compare) header = "Сравниваем ветвь '";
  if (task == model::ExchangeTask::Write || task == model::ExchangeTask::WriteChanged) {
    header = "Пишем ветвь '";
  }
  logLine(header + node.nodeTitle() + "'");
}

// --- shared bookkeeping --------------------------------------------------------------------

namespace {

std::string parameterLabel(const model::Parameter& parameter) {
  std::string label = parameter.name();
  if (parameter.hasLinearIndex()) label += ":" + std::to_string(parameter.linearIndex());
  return label;
}

}  // namespace

void ExchangeEngine::noteTransaction(int result, const model::Parameter& parameter) {
  if (result == 0) {
    successes_.fetch_add(1);
    return;
  }
  const std::string error = parameter.errorText();
  if (error == kTimeoutText) timeouts_.fetch_add(1);
  if (!error.empty()) errors_.fetch_add(1);
}

void ExchangeEngine::appendErrorLog(const model::Parameter& parameter) {
  appendErrorLogLine(errorLogPath(), parameter.name(), parameter.hasLinearIndex(),
                     parameter.linearIndex(), parameter.errorText());
}

void ExchangeEngine::noteReadTimeout() {
  if (failures_.fetch_add(1) + 1 < kMaxConsecutiveFailures) return;
  linkLost_.store(true);
  suspended_.store(true);
  const bool autoReadingWasOn = autoReading_.exchange(false);
  const std::string text = suspensionText(failures_.load(), autoReadingWasOn);
  failures_.store(0);
  cancel_.set();
  if (autoReadingWasOn) {
    std::function<void()> hook;
    {
      std::lock_guard lock(mutex_);
      hook = autoReadingOffHook_;
    }
    if (hook) hook();
  }
  UserPrompt* prompt = prompt_.load();
  if (prompt != nullptr && !suppressWarnings_.load()) {
    prompt->tell(text, kWarningCaption, PromptIcon::Exclamation);
  }
}

// The port hung up or failed: every further exchange would fail at once, so the task ends
// here with one message instead of an error on every remaining parameter.
bool ExchangeEngine::stopOnLineLoss(model::Parameter& parameter) {
  const std::string reason = transport_.lineLossReason();
  if (reason.empty()) return false;
  parameter.setErrorText(kLinkLostText);
  linkLost_.store(true);
  if (!lineLost_.load()) reportLineLoss(reason);
  cancel_.set();
  return true;
}

void ExchangeEngine::reportLineLoss(const std::string& reason) {
  lineLost_.store(true);
  const std::string message = std::string(kLinkLostText) + " (" + reason + ").\n" + kTaskStoppedText;
  logLine(message);
  UserPrompt* prompt = prompt_.load();
  if (prompt != nullptr && !suppressWarnings_.load()) {
    prompt->tell(message, kWarningCaption, PromptIcon::Exclamation);
  }
}

// --- read one --------------------------------------------------------------------------------

int ExchangeEngine::readOne(model::Parameter& parameter) {
  done_.fetch_add(1);
  if (parameter.linearIndex() < 0) return kResultNotExchanged;
  const std::string label = "  Чтение: " + parameterLabel(parameter);
  const int result = transport_.exchangeParameter(true, parameter);
  const bool lineLost = result != 0 && stopOnLineLoss(parameter);
  noteTransaction(result, parameter);
  if (result != 0) appendErrorLog(parameter);
  if (!lineLost && result != 0 && parameter.errorText() == kTimeoutText) {
    noteReadTimeout();
  } else {
    failures_.store(0);
    if (!lineLost) linkLost_.store(false);
    std::function<void(model::Parameter&)> hook;
    {
      std::lock_guard lock(mutex_);
      hook = redrawHook_;
    }
    if (hook) hook(parameter);
  }
  logLine(label + " = " + parameter.valueText());
  return result;
}

}  // namespace zelmot::exchange
