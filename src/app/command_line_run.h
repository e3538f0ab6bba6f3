#pragma once
// An unattended run of the program: posts the job the command line asks for, finishes each
// exchange task the way such a run needs (save after `read`, job done), and keeps the two
// watcher threads: the job watcher closes the program when the job is done (with `close`
// or `calibrate`), the exit watcher when another program signals the named exit event.
#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "app/command_line.h"
#include "app/named_exit_event.h"
#include "document/zelmot_doc.h"
#include "exchange/task_outcome.h"
#include "platform/event.h"

namespace zelmot::app {

class CommandLineRun {
public:
  struct Hooks {
    // Runs the job; called once from start(), on the caller's thread. Front ends that
    // need it later post it to their own loop.
    std::function<void(CommandLineJob)> postJob;
    // Asks the program to close; called from a watcher thread.
    std::function<void()> requestClose;
  };

  // `shutdown` is the program's shutdown event; `cancel` (may be null) the cancel event of
  // the exchange tasks, signalled when the program shuts down or the exit event arrives.
  CommandLineRun(CommandLine line, Event& shutdown, Event* cancel, Hooks hooks);
  // Sets the shutdown event and waits for both watchers.
  ~CommandLineRun();
  CommandLineRun(const CommandLineRun&) = delete;
  CommandLineRun& operator=(const CommandLineRun&) = delete;

  // Resets the job-done event, opens the exit event, posts the job and starts the
  // watchers. False with `error` when the exit event cannot be made (nothing is posted).
  bool start(std::string& error);

  // The unattended part of a task's finish, on the thread that ran the task's dialog:
  // after a `read` job the document is saved to the command line's path; then job done.
  // Returns the save's result (ok without a save).
  document::FileResult taskFinished(document::CZELMOTDoc& doc);

  const CommandLine& line() const { return line_; }
  Event& jobDone() { return jobDone_; }
  bool exitEventArrived() const { return exitArrived_.load(); }

private:
  void watchJob();
  void watchExit();

  CommandLine line_;
  Event& shutdown_;
  Event* cancel_;
  Hooks hooks_;
  Event jobDone_{Event::Reset::Auto};
  Event jobWatcherEnded_{Event::Reset::Manual};
  NamedExitEvent exitEvent_;
  std::atomic<bool> exitArrived_{false};
  std::thread jobWatcher_;
  std::thread exitWatcher_;
};

// Exit status of an unattended run, as zelmot-cli counts it: 0 done, 1 some parameters
// failed, 2 the configuration could not be saved or opened, 3 no link at all.
int unattendedExitStatus(const exchange::TaskOutcome& outcome, bool fileOk);

}  // namespace zelmot::app
