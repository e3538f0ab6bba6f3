#pragma once
// The per-parameter half of the exchange engine: read one, write one (with the walk of the
// structure counters), compare one, the consecutive-failure rules, the re-read list, the
// error log and the progress log. The tree's bulk loops call it through ParameterExchanger;
// the exchange thread (ExchangeThread) decides which task runs.
//
// Thread safety: the task state is written by the caller before a task starts and by the
// exchange thread while it runs; counters are atomics, texts are kept under a mutex.
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>

#include "exchange/parameter_transport.h"
#include "exchange/progress_sink.h"
#include "model/parameter_exchanger.h"
#include "platform/event.h"

namespace zelmot {
class UserPrompt;
}

namespace zelmot::exchange {

// Results of the per-parameter operations besides those of the transaction.
inline constexpr int kResultCancelled = 3;
inline constexpr int kResultNotEncodable = 4;  // the value text is no value of its type
inline constexpr int kResultNoValue = 5;
inline constexpr int kResultNotExchanged = 6;

// Consecutive time-outs (reads) or counted failures (writes) that stop a task.
inline constexpr int kMaxConsecutiveFailures = 5;

class ExchangeEngine final : public model::ParameterExchanger {
public:
  explicit ExchangeEngine(ParameterTransport& transport);

  // --- wiring and settings (set before tasks run) ----------------------------------------
  void setProgressSink(ProgressSink* sink) { sink_.store(sink); }
  ProgressSink* progressSink() const { return sink_.load(); }
  void setPrompt(UserPrompt* prompt) { prompt_.store(prompt); }
  void setErrorLogPath(const std::string& path);
  std::string errorLogPath() const;
  // Automatic reading (a program mode): switched off when the exchange is suspended.
  void setAutoReading(bool on) { autoReading_.store(on); }
  bool autoReading() const { return autoReading_.load(); }
  // Command-line runs of the desktop program keep the suspension warning to the log.
  void setSuppressWarnings(bool suppress) { suppressWarnings_.store(suppress); }
  // Called after every read that was not a time-out (the view redraws the parameter).
  void setRedrawHook(std::function<void(model::Parameter&)> hook);
  // Called (on the exchange thread) when time-outs switch automatic reading off, before
  // the warning is told, so that the menu can follow at once.
  void setAutoReadingOffHook(std::function<void()> hook);

  // --- ParameterExchanger ----------------------------------------------------------------
  int readOne(model::Parameter& parameter) override;
  int writeOne(model::Parameter& parameter, bool allMode) override;
  int compareOne(model::Parameter& parameter) override;
  bool cancelled() override { return cancel_.isSet(); }
  bool forceWriteAll() override { return false; }
  void enterNode(const model::ObjectWithParameters& node, model::ExchangeTask task) override;

  // --- task state --------------------------------------------------------------------------
  // Resets the counters, the re-read list and the statistics, takes the start time.
  void beginTask(int total);
  void setProgressTotal(int total);
  void setProgressDone(int done) { done_.store(done); }
  int progressTotal() const { return total_.load(); }
  int progressDone() const { return done_.load(); }
  void logLine(const std::string& text);

  Event& cancelEvent() { return cancel_; }
  int consecutiveFailures() const { return failures_.load(); }
  bool linkLost() const { return linkLost_.load(); }
  bool suspendedThisTask() const { return suspended_.load(); }
  // The line went away during this task (port hung up, or writes stopped answering).
  bool lineLostThisTask() const { return lineLost_.load(); }
  int successesThisTask() const { return successes_.load(); }
  int timeoutsThisTask() const { return timeouts_.load(); }
  // Exchanges (and refused writes) that left an error text; a graph node that does not
  // exist fails without one and is not counted.
  int errorsThisTask() const { return errors_.load(); }

  std::string reReadList() const;
  std::string takeReReadList();
  bool networkParametersWritten() const { return networkWritten_.load(); }
  void clearNetworkParametersWritten() { networkWritten_.store(false); }

  void resetDifferences();
  int differenceCount() const { return differences_.load(); }
  std::string differenceText() const;

private:
  int writeValue(model::Parameter& parameter);
  int writeStructureCounter(model::Parameter& parameter);
  void noteTransaction(int result, const model::Parameter& parameter);
  void noteReadTimeout();
  void noteWriteFailure();
  bool stopOnLineLoss(model::Parameter& parameter);
  void reportLineLoss(const std::string& reason);
  void noteDifference(model::Parameter& parameter, const model::Parameter& device);
  void appendErrorLog(const model::Parameter& parameter);

  ParameterTransport& transport_;
  Event cancel_{Event::Reset::Manual};
  std::atomic<ProgressSink*> sink_{nullptr};
  std::atomic<UserPrompt*> prompt_{nullptr};
  std::atomic<bool> autoReading_{false};
  std::atomic<bool> suppressWarnings_{false};

  std::atomic<int> total_{0};
  std::atomic<int> done_{0};
  std::atomic<int> failures_{0};
  std::atomic<bool> linkLost_{false};
  std::atomic<bool> suspended_{false};
  std::atomic<bool> lineLost_{false};
  std::atomic<int> successes_{0};
  std::atomic<int> timeouts_{0};
  std::atomic<int> errors_{0};
  std::atomic<bool> networkWritten_{false};
  std::atomic<int> differences_{0};
  std::atomic<std::chrono::steady_clock::time_point> start_{};

  mutable std::mutex mutex_;  // guards the texts and the hook below
  std::string reReadList_;
  std::string errorLogPath_;
  std::string differenceText_;
  std::function<void(model::Parameter&)> redrawHook_;
  std::function<void()> autoReadingOffHook_;
};

}  // namespace zelmot::exchange
