#include "link/exchange_retries.h"

#include <gtest/gtest.h>

#include <string>

#include "link/serial_port.h"

namespace zelmot::link {
namespace {

using Verdict = ExchangeRetries::Verdict;

struct Outcome {
  ExchangeResult result;
  std::string reply;
};

const Outcome kNoReply{ExchangeResult::NoReply, ""};
const Outcome kLineError{ExchangeResult::LineError, ""};
const Outcome kNoStart{ExchangeResult::Done, "G\r"};
const Outcome kAborted{ExchangeResult::Aborted, ""};
const Outcome kSound{ExchangeResult::Done, "#GG\r"};

// Feeds outcomes until a verdict other than Retry; returns the attempts used.
int attemptsUntilDone(ExchangeRetries& retries, const std::vector<Outcome>& script,
                      Verdict& verdict, std::string& error) {
  for (size_t i = 0; i < script.size(); ++i) {
    verdict = retries.judge(script[i].result, script[i].reply.data(), script[i].reply.size(), error);
    if (verdict != Verdict::Retry) return static_cast<int>(i) + 1;
  }
  return -1;
}

TEST(ExchangeRetries, EachBudgetEndsWithItsText) {
  struct Case {
    Outcome outcome;
    int attempts;
    const char* text;
  };
  const Case cases[] = {
      {kNoReply, 4, kTimeoutText},
      {kLineError, 17, kLineErrorText},
      {kNoStart, 16, kLostStartText},
      {kAborted, 16, kLostStartText},  // stop_event ends through the lost-start budget
  };
  for (const auto& c : cases) {
    ExchangeRetries retries;
    Verdict verdict = Verdict::Retry;
    std::string error = "untouched";
    EXPECT_EQ(attemptsUntilDone(retries, std::vector<Outcome>(40, c.outcome), verdict, error),
              c.attempts)
        << c.text;
    EXPECT_EQ(verdict, Verdict::Fail);
    EXPECT_EQ(error, c.text);
  }
}

TEST(ExchangeRetries, BudgetsDoNotResetEachOther) {
  std::vector<Outcome> script;
  for (int i = 0; i < 3; ++i) script.push_back(kNoReply);
  for (int i = 0; i < 16; ++i) script.push_back(kLineError);
  for (int i = 0; i < 15; ++i) script.push_back(kNoStart);
  script.push_back(kNoReply);  // the fourth time-out, after 34 other attempts
  ExchangeRetries retries;
  Verdict verdict = Verdict::Retry;
  std::string error;
  EXPECT_EQ(attemptsUntilDone(retries, script, verdict, error), 35);
  EXPECT_EQ(error, kTimeoutText);
}

TEST(ExchangeRetries, SoundStartIsAcceptedWhateverCameBefore) {
  ExchangeRetries retries;
  Verdict verdict = Verdict::Retry;
  std::string error = "untouched";
  EXPECT_EQ(attemptsUntilDone(retries, {kNoReply, kLineError, kNoStart, kSound}, verdict, error), 4);
  EXPECT_EQ(verdict, Verdict::Accept);
  EXPECT_EQ(error, "untouched");
}

TEST(ExchangeRetries, StartAloneIsNotAReply) {
  ExchangeRetries retries;
  std::string error;
  EXPECT_EQ(retries.judge(ExchangeResult::Done, "#", 1, error), Verdict::Retry);
  EXPECT_EQ(retries.judge(ExchangeResult::Done, "#\r", 2, error), Verdict::Accept);
}

}  // namespace
}  // namespace zelmot::link
