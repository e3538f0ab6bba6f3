#include "platform/event.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace zelmot {
namespace {

bool fdReadable(const Event& e) {
  pollfd p{e.fd(), POLLIN, 0};
  return ::poll(&p, 1, 0) == 1 && (p.revents & POLLIN);
}

TEST(Event, ManualResetStaysSetAcrossWaitsUntilReset) {
  Event e(Event::Reset::Manual);
  EXPECT_FALSE(e.isSet());
  EXPECT_FALSE(e.wait(0));
  e.set();
  EXPECT_TRUE(e.wait(0));
  EXPECT_TRUE(e.wait(0));
  EXPECT_TRUE(e.isSet());
  e.reset();
  EXPECT_FALSE(e.wait(0));
}

TEST(Event, AutoResetIsTakenByOneWait) {
  Event e(Event::Reset::Auto, true);
  EXPECT_TRUE(e.isSet());
  EXPECT_TRUE(e.wait(0));
  EXPECT_FALSE(e.isSet());
  EXPECT_FALSE(e.wait(0));
}

TEST(Event, SetTwiceIsStillOneSignalAndOneResetClearsIt) {
  Event e(Event::Reset::Auto);
  e.set();
  e.set();
  EXPECT_TRUE(e.wait(0));
  EXPECT_FALSE(e.wait(0));
  EXPECT_FALSE(fdReadable(e));
}

TEST(Event, FdIsReadableExactlyWhileSetAndPollingDoesNotConsume) {
  for (auto mode : {Event::Reset::Manual, Event::Reset::Auto}) {
    Event e(mode);
    EXPECT_FALSE(fdReadable(e));
    e.set();
    EXPECT_TRUE(fdReadable(e));
    EXPECT_TRUE(fdReadable(e));
    EXPECT_TRUE(e.isSet());
    e.reset();
    EXPECT_FALSE(fdReadable(e));
    e.set();
    EXPECT_TRUE(e.wait(0));
    EXPECT_EQ(fdReadable(e), mode == Event::Reset::Manual);
  }
}

TEST(Event, WaitTimesOutWhenNotSet) {
  Event e(Event::Reset::Manual);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(e.wait(30));
  // A lower bound only: the wait must not return early.
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
}

TEST(Event, SetFromAnotherThreadWakesAnInfiniteWait) {
  for (auto mode : {Event::Reset::Manual, Event::Reset::Auto}) {
    Event e(mode);
    Event started(Event::Reset::Manual);
    std::thread setter([&] {
      started.wait(Event::kInfinite);
      // Not needed for correctness: only makes it likely that the waiter is already asleep.
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      e.set();
    });
    started.set();
    EXPECT_TRUE(e.wait(Event::kInfinite));
    setter.join();
    EXPECT_EQ(e.isSet(), mode == Event::Reset::Manual);
  }
}

TEST(WaitAny, ReturnsLowestSetIndexAndResetsOnlyAnAutoWinner) {
  Event manual(Event::Reset::Manual);
  Event autoA(Event::Reset::Auto);
  Event autoB(Event::Reset::Auto);
  autoA.set();
  autoB.set();
  EXPECT_EQ(waitAny({&manual, &autoA, &autoB}, 0), 1);
  EXPECT_FALSE(autoA.isSet());
  EXPECT_TRUE(autoB.isSet());
  EXPECT_EQ(waitAny({&manual, &autoA, &autoB}, 0), 2);
  EXPECT_EQ(waitAny({&manual, &autoA, &autoB}, 0), -1);
  manual.set();
  autoB.set();
  EXPECT_EQ(waitAny({&manual, &autoA, &autoB}, 0), 0);
  EXPECT_EQ(waitAny({&manual, &autoA, &autoB}, 0), 0);
  EXPECT_TRUE(autoB.isSet());
}

TEST(WaitAny, TimesOutAndIgnoresNullEntries) {
  Event a(Event::Reset::Auto);
  EXPECT_EQ(waitAny({nullptr, &a}, 10), -1);
  a.set();
  EXPECT_EQ(waitAny({nullptr, &a}, 10), 1);
}

TEST(WaitAny, WakesWhenAnotherThreadSetsALaterEvent) {
  Event stop(Event::Reset::Manual);
  Event task(Event::Reset::Auto);
  std::thread setter([&] { task.set(); });
  EXPECT_EQ(waitAny({&stop, &task}, Event::kInfinite), 1);
  setter.join();
  EXPECT_FALSE(task.isSet());
}

// Several threads wait on one auto-reset event: each set releases exactly one of them.
TEST(Event, AutoResetReleasesOneWaiterPerSet) {
  constexpr int kWaiters = 4;
  Event e(Event::Reset::Auto);
  Event done(Event::Reset::Manual);
  std::atomic<int> woken{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < kWaiters; ++i) {
    waiters.emplace_back([&] {
      if (waitAny({&done, &e}, Event::kInfinite) == 1) ++woken;
    });
  }
  for (int i = 0; i < kWaiters - 1; ++i) {
    e.set();
    // Wait until someone took it before signalling again, so sets are not merged.
    while (e.isSet()) std::this_thread::yield();
  }
  done.set();
  for (auto& t : waiters) t.join();
  EXPECT_EQ(woken.load(), kWaiters - 1);
}

}  // namespace
}  // namespace zelmot
