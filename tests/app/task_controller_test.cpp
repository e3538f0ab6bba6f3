#include "app/task_controller.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/recording_prompt.h"

namespace zelmot::app {
namespace {

TEST(TaskController, StepsAskedForDuringAJobWaitForItsEndAndRunInOrder) {
  std::vector<std::string> seen;
  int scheduled = 0;
  TaskController tasks({[&](bool busy) { seen.push_back(busy ? "busy" : "idle"); },
                        [&] { ++scheduled; }});
  tasks.whenIdle([&] { seen.push_back("at once"); });
  tasks.jobStarted();
  tasks.jobStarted();  // the follow-up of a task starts before the task's job ends
  tasks.whenIdle([&] { seen.push_back("first"); });
  tasks.whenIdle([&] { seen.push_back("second"); });
  tasks.jobEnded();
  EXPECT_EQ(scheduled, 0) << "one job still runs";
  tasks.jobEnded();
  EXPECT_EQ(scheduled, 1);
  EXPECT_EQ(tasks.waitingSteps(), 2u) << "they run from the posted step, not inside jobEnded";
  tasks.idleStep();
  EXPECT_EQ(seen, (std::vector<std::string>{"at once", "busy", "idle", "first", "second"}));
  tasks.jobEnded();  // an unmatched end changes nothing
  EXPECT_FALSE(tasks.busy());
}

TEST(TaskController, AStepThatStartsAJobHoldsBackTheStepsAfterIt) {
  TaskController tasks({});
  std::vector<int> ran;
  tasks.jobStarted();
  tasks.whenIdle([&] {
    ran.push_back(1);
    tasks.jobStarted();
  });
  tasks.whenIdle([&] { ran.push_back(2); });
  tasks.jobEnded();  // no scheduler: the steps run at once
  EXPECT_EQ(ran, std::vector<int>{1});
  tasks.whenIdle([&] { ran.push_back(3); });
  tasks.jobEnded();
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
}

TEST(TaskReport, TellsFailuresLinkStateAndWhatChanged) {
  exchange::TaskOutcome outcome;
  outcome.counts.handled = 10;
  outcome.successes = 8;
  outcome.errors = 2;
  TaskReport report = reportTask(exchange::TaskCode::Read, outcome);
  EXPECT_EQ(report.failedSummary,
            "Параметров с ошибками: 2.\nПерейти к первому проблемному параметру?");
  EXPECT_EQ(report.linkStatus, "Прибор отвечает");
  EXPECT_TRUE(report.configurationLoaded);
  EXPECT_TRUE(report.modified);
  EXPECT_TRUE(report.compareSummary.empty());

  outcome = {};
  outcome.timeouts = 5;
  outcome.errors = 5;
  outcome.suspended = true;
  report = reportTask(exchange::TaskCode::WriteAll, outcome);
  EXPECT_EQ(report.linkStatus, "Нет связи с прибором");
  EXPECT_FALSE(report.configurationLoaded);
  EXPECT_FALSE(report.modified);

  // A clean task says nothing more; a compare reports through its own summary.
  outcome = {};
  outcome.successes = 3;
  EXPECT_TRUE(reportTask(exchange::TaskCode::WriteChanged, outcome).failedSummary.empty());
  outcome.errors = 1;
  outcome.differenceCount = 1;
  report = reportTask(exchange::TaskCode::Compare, outcome);
  EXPECT_TRUE(report.failedSummary.empty());
  EXPECT_FALSE(report.compareSummary.empty());
}

TEST(TaskController, ReportIsToldAndTheQuestionAfterFailuresIsNeverAskedUnattended) {
  exchange::TaskOutcome outcome;
  outcome.errors = 2;
  outcome.portFailureText = "no port";
  test_support::RecordingPrompt prompt;
  prompt.answerQuestionsWith(PromptAnswer::Yes);
  const TaskReport report = reportTask(exchange::TaskCode::Read, outcome);
  tellTaskReport(report, prompt);
  ASSERT_EQ(prompt.calls().size(), 1u);
  EXPECT_EQ(prompt.calls()[0].text, "no port");
  EXPECT_FALSE(askToShowFailed(report, true, prompt));
  EXPECT_EQ(prompt.calls().size(), 1u) << "nobody answers an unattended run";
  EXPECT_TRUE(askToShowFailed(report, false, prompt));
  prompt.answerQuestionsWith(PromptAnswer::No);
  EXPECT_FALSE(askToShowFailed(report, false, prompt));
  EXPECT_FALSE(askToShowFailed(reportTask(exchange::TaskCode::Read, {}), false, prompt));
  EXPECT_EQ(prompt.calls().size(), 3u) << "no failures, no question";
}

}  // namespace
}  // namespace zelmot::app
