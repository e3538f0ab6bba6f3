// The unattended run: job posting, task finish, the job watcher and the exit watcher.
#include "app/command_line_run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>

#include "support/temp_folder.h"

namespace zelmot::app {
namespace {

using ScratchDir = test_support::TempFolder;

constexpr int kWaitMs = 5000;

std::string uniqueEventName(const char* tag) {
  return std::string("zelmot_test_") + tag + "_" + std::to_string(::getpid());
}

struct Recorder {
  std::vector<CommandLineJob> posted;
  Event closeRequested{Event::Reset::Manual};
  std::atomic<int> closeRequests{0};

  CommandLineRun::Hooks hooks() {
    return {[this](CommandLineJob job) { posted.push_back(job); },
            [this] {
              ++closeRequests;
              closeRequested.set();
            }};
  }
};

TEST(CommandLineRun, PostsOnlyTheFirstJobInOrder) {
  Event shutdown{Event::Reset::Manual};
  Recorder recorder;
  CommandLineRun run(parseCommandLine({"/read/write/calibrate"}), shutdown, nullptr, recorder.hooks());
  std::string error;
  ASSERT_TRUE(run.start(error)) << error;
  ASSERT_EQ(recorder.posted.size(), 1u);
  EXPECT_EQ(recorder.posted[0], CommandLineJob::WriteAll);
}

TEST(CommandLineRun, CloseAfterTheJobOnlyWhenAsked) {
  document::CZELMOTDoc doc;
  for (const char* line : {"/read/port:1/close", "/calibrate", "/read/port:1"}) {
    Event shutdown{Event::Reset::Manual};
    Recorder recorder;
    const CommandLine parsed = parseCommandLine({line});
    {
      CommandLineRun run(parsed, shutdown, nullptr, recorder.hooks());
      std::string error;
      ASSERT_TRUE(run.start(error));
      EXPECT_TRUE(run.taskFinished(doc).ok);  // no document path: nothing to save
      const bool closes = parsed.close || parsed.calibrate;
      EXPECT_EQ(recorder.closeRequested.wait(closes ? kWaitMs : 200), closes) << line;
    }
    EXPECT_LE(recorder.closeRequests.load(), 1) << line;
  }
}

TEST(CommandLineRun, ReadJobSavesToTheCommandLinePath) {
  ScratchDir dir;
  const std::string path = (dir.path() / "out.zel").string();
  document::CZELMOTDoc doc;
  Event shutdown{Event::Reset::Manual};
  Recorder recorder;
  CommandLineRun run(parseCommandLine({"/read/port:1", path}), shutdown, nullptr, recorder.hooks());
  std::string error;
  ASSERT_TRUE(run.start(error));
  EXPECT_TRUE(run.taskFinished(doc).ok);
  EXPECT_TRUE(std::filesystem::exists(path));

  CommandLineRun unwritable(parseCommandLine({"/read/port:1", (dir.path() / "no" / "x.zel").string()}),
                            shutdown, nullptr, recorder.hooks());
  EXPECT_FALSE(unwritable.taskFinished(doc).ok);
}

TEST(CommandLineRun, ExitEventClosesAndCancels) {
  const std::string name = uniqueEventName("exit");
  Event shutdown{Event::Reset::Manual};
  Event cancel{Event::Reset::Manual};
  Recorder recorder;
  CommandLineRun run(parseCommandLine({"/port:1/exitevent:" + name}), shutdown, &cancel,
                     recorder.hooks());
  std::string error;
  ASSERT_TRUE(run.start(error)) << error;
  EXPECT_FALSE(recorder.closeRequested.wait(150));
  ASSERT_TRUE(NamedExitEvent::signal(name, error)) << error;
  ASSERT_TRUE(recorder.closeRequested.wait(kWaitMs));
  EXPECT_TRUE(cancel.isSet());
  EXPECT_TRUE(run.exitEventArrived());
}

TEST(CommandLineRun, ShutdownEndsTheWatchersAndCancels) {
  const std::string name = uniqueEventName("shutdown");
  Event shutdown{Event::Reset::Manual};
  Event cancel{Event::Reset::Manual};
  Recorder recorder;
  {
    CommandLineRun run(parseCommandLine({"/port:1/exitevent:" + name}), shutdown, &cancel,
                       recorder.hooks());
    std::string error;
    ASSERT_TRUE(run.start(error));
    shutdown.set();
    ASSERT_TRUE(cancel.wait(kWaitMs));
  }  // joins
  EXPECT_EQ(recorder.closeRequests.load(), 0);
  std::string error;
  EXPECT_FALSE(NamedExitEvent::signal(name, error)) << "the event goes with the program";
}

TEST(NamedExitEvent, StartsUnsignalledEvenWhenLeftSignalled) {
  const std::string name = uniqueEventName("reset");
  std::string error;
  {
    NamedExitEvent first;
    ASSERT_TRUE(first.open(name, error));
    ASSERT_TRUE(NamedExitEvent::signal(name, error));
    NamedExitEvent second;  // opens the same event and resets it
    ASSERT_TRUE(second.open(name, error));
    Event shutdown{Event::Reset::Manual, true};
    EXPECT_FALSE(second.waitOrShutdown(shutdown));
  }
}

TEST(NamedExitEvent, StaysSignalledForEveryWaiter) {
  const std::string name = uniqueEventName("manual");
  std::string error;
  NamedExitEvent event;
  ASSERT_TRUE(event.open(name, error));
  ASSERT_TRUE(NamedExitEvent::signal(name, error));
  ASSERT_TRUE(NamedExitEvent::signal(name, error));  // twice is still one signal
  Event shutdown{Event::Reset::Manual};
  EXPECT_TRUE(event.waitOrShutdown(shutdown));
  EXPECT_TRUE(event.waitOrShutdown(shutdown));
}

TEST(NamedExitEvent, RefusesNamesThatAreNotOneWord) {
  NamedExitEvent event;
  std::string error;
  for (const char* name : {"", "a/b", "/lead"}) {
    EXPECT_FALSE(event.open(name, error)) << name;
    EXPECT_FALSE(error.empty());
  }
  EXPECT_FALSE(NamedExitEvent::signal("zelmot_no_such_event_" + std::to_string(::getpid()), error));
}

TEST(UnattendedExitStatus, CountsAsTheCliDoes) {
  exchange::TaskOutcome fine;
  fine.successes = 10;
  EXPECT_EQ(unattendedExitStatus(fine, true), 0);
  EXPECT_EQ(unattendedExitStatus(fine, false), 2);
  exchange::TaskOutcome silent;
  silent.timeouts = 5;
  silent.suspended = true;
  EXPECT_EQ(unattendedExitStatus(silent, true), 3);
  exchange::TaskOutcome someFailed = fine;
  someFailed.errors = 2;
  EXPECT_EQ(unattendedExitStatus(someFailed, true), 1);
}

}  // namespace
}  // namespace zelmot::app
