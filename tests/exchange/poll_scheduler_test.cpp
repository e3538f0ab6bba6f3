#include "exchange/poll_scheduler.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "model/parameter.h"

namespace zelmot::exchange::testing {
namespace {

using namespace std::chrono_literals;

// A device that answers every read with the number of reads of that parameter so far;
// one parameter's read can be held until the test releases it.
class CountingTransport final : public ParameterTransport {
public:
  int exchangeParameter(bool /*read*/, link::LinkParameter& parameter) override {
    const std::string name = parameter.linkName();
    if (name == held) release.wait(Event::kInfinite);
    int count = 0;
    {
      std::lock_guard lock(mutex_);
      count = ++reads_[name];
    }
    parameter.setLinkValueText(std::to_string(count));
    parameter.setLinkErrorText("");
    return 0;
  }
  int readsOf(const std::string& name) const {
    std::lock_guard lock(mutex_);
    const auto found = reads_.find(name);
    return found == reads_.end() ? 0 : found->second;
  }

  std::string held;  // set before polling starts
  Event release{Event::Reset::Manual};

private:
  mutable std::mutex mutex_;
  std::map<std::string, int> reads_;
};

// Collects the notices; waits until enough have come.
class NoticeLog {
public:
  void take(const PollNotice& notice) {
    {
      std::lock_guard lock(mutex_);
      notices_.push_back(notice);
      threads_.insert(std::this_thread::get_id());
    }
    arrived_.notify_all();
  }
  bool waitFor(size_t count, std::chrono::seconds limit = 10s) {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, limit, [&] { return notices_.size() >= count; });
  }
  std::vector<PollNotice> notices() const {
    std::lock_guard lock(mutex_);
    return notices_;
  }
  std::set<std::thread::id> threads() const {
    std::lock_guard lock(mutex_);
    return threads_;
  }

private:
  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<PollNotice> notices_;
  std::set<std::thread::id> threads_;
};

class PollSchedulerTest : public ::testing::Test {
protected:
  model::Parameter& polled(const std::string& name) {
    auto parameter = std::make_unique<model::Parameter>();
    parameter->setName(name);
    parameter->setTypeDescriptor("DEC_dot");
    parameter->PreparePolling();
    parameters.push_back(std::move(parameter));
    return *parameters.back();
  }
  void wire(PollScheduler& scheduler) {
    scheduler.setSink([this](const PollNotice& notice) { log.take(notice); });
  }

  std::vector<std::unique_ptr<model::Parameter>> parameters;  // outlive the scheduler
  CountingTransport transport;
  Event stop{Event::Reset::Manual};
  NoticeLog log;
};

TEST_F(PollSchedulerTest, StartAndStopSayWhetherAnythingChanged) {
  PollScheduler scheduler(transport, &stop);
  model::Parameter& a = polled("r.oe");
  model::Parameter plain;  // no poll timer: not a measurement parameter
  EXPECT_EQ(scheduler.start(a), 0);
  EXPECT_EQ(scheduler.start(a), 1);
  EXPECT_EQ(scheduler.start(plain), 1);
  EXPECT_TRUE(a.timerArmed());
  EXPECT_EQ(scheduler.runningCount(), 1u);
  EXPECT_EQ(scheduler.stop(a), 0);
  EXPECT_EQ(scheduler.stop(a), 1);
  EXPECT_FALSE(a.timerArmed());
  EXPECT_EQ(scheduler.runningCount(), 0u);
}

TEST_F(PollSchedulerTest, PeriodBelowOneSecondIsRefusedAndTheOldOneKept) {
  PollScheduler scheduler(transport, &stop);
  model::Parameter& a = polled("rEAd");
  EXPECT_FALSE(scheduler.setPeriod(a, 999));
  EXPECT_EQ(a.pollPeriod(), 1000);
  EXPECT_TRUE(scheduler.setPeriod(a, 2500));
  EXPECT_EQ(a.pollPeriod(), 2500);
  EXPECT_TRUE(scheduler.setPeriod(a, 1000));
  EXPECT_EQ(a.pollPeriod(), 1000);
  EXPECT_FALSE(a.timerArmed());  // setting a period does not start polling
}

TEST_F(PollSchedulerTest, ReadingGoesToTheObserverThenToTheSinkWithTheArchiveVerdict) {
  PollScheduler scheduler(transport, &stop);
  wire(scheduler);
  std::vector<std::string> observed;
  scheduler.setObserver([&](model::Parameter& parameter) {
    observed.push_back(parameter.valueText());
    return false;  // the archive could not append
  });
  model::Parameter& a = polled("r.CAL");
  scheduler.start(a);
  ASSERT_TRUE(log.waitFor(1));
  scheduler.stop(a);
  const PollNotice notice = log.notices().front();
  EXPECT_EQ(notice.parameter, &a);
  EXPECT_TRUE(notice.archiveFailed);
  ASSERT_FALSE(observed.empty());
  EXPECT_EQ(observed.front(), "1");  // the observer sees the fresh reading
}

TEST_F(PollSchedulerTest, ClearedBoxIsNeverReadEvenWhenAlreadyDue) {
  // While the read of "held" blocks the thread, "cleared" falls due; its box is cleared
  // before the thread gets to it.
  transport.held = "held";
  PollScheduler scheduler(transport, &stop);
  wire(scheduler);
  model::Parameter& held = polled("held");
  model::Parameter& cleared = polled("cleared");
  model::Parameter& kept = polled("kept");
  scheduler.start(held);
  scheduler.start(cleared);
  scheduler.start(kept);
  std::this_thread::sleep_for(1300ms);  // the test's own clock: all three are due now
  scheduler.stop(cleared);
  transport.release.set();
  ASSERT_TRUE(log.waitFor(2));
  scheduler.stop(held);
  scheduler.stop(kept);
  EXPECT_EQ(transport.readsOf("cleared"), 0);
  EXPECT_GE(transport.readsOf("kept"), 1);
}

TEST_F(PollSchedulerTest, OneThreadServesTwoHundredParameters) {
  PollScheduler scheduler(transport, &stop);
  wire(scheduler);
  for (int i = 0; i < 200; ++i) scheduler.start(polled("p" + std::to_string(i)));
  ASSERT_TRUE(log.waitFor(200));
  std::set<model::Parameter*> served;
  for (const PollNotice& notice : log.notices()) served.insert(notice.parameter);
  EXPECT_EQ(served.size(), 200u);
  EXPECT_EQ(log.threads(), std::set<std::thread::id>{scheduler.threadId()});
}

TEST_F(PollSchedulerTest, NewPeriodRestartsARunningPoll) {
  PollScheduler scheduler(transport, &stop);
  wire(scheduler);
  model::Parameter& a = polled("Set.P");
  scheduler.start(a);
  // Moved far out before it was due: no reading comes within the old period.
  ASSERT_TRUE(scheduler.setPeriod(a, 60000));
  std::this_thread::sleep_for(1500ms);
  EXPECT_EQ(transport.readsOf("Set.P"), 0);
  EXPECT_TRUE(a.timerArmed());
  ASSERT_TRUE(scheduler.setPeriod(a, 1000));
  EXPECT_TRUE(log.waitFor(1));
}

TEST_F(PollSchedulerTest, StopEventEndsPollingAtOnce) {
  auto scheduler = std::make_unique<PollScheduler>(transport, &stop);
  wire(*scheduler);
  model::Parameter& a = polled("r.kEY");
  scheduler->start(a);
  stop.set();
  std::this_thread::sleep_for(1300ms);
  scheduler.reset();  // joins: returns because the thread has ended
  EXPECT_EQ(transport.readsOf("r.kEY"), 0);
}

}  // namespace
}  // namespace zelmot::exchange::testing
