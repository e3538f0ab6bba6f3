#pragma once
// Test helpers of the GUI tests: a zelmot-sim child on its own pseudo-terminal, a prompt
// that records what the program says, and a main window wired to both.
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "support/recording_prompt.h"
#include "support/simulator_process.h"
#include "ui/main_frame.h"

namespace zelmot::ui::testing {

// The simulator serving the compiled model, started with extra options; slavePath() is
// empty when it failed.
class SimProcess : public test_support::SimulatorProcess {
public:
  explicit SimProcess(const QStringList& options = {});
};

using test_support::RecordingPrompt;

// A main window over the compiled model, talking to `port`, with its own settings file,
// a short closing pause and no check at start-up.
struct FrameFixture {
  explicit FrameFixture(const std::string& port, int closingPauseMs = 50);
  QTemporaryDir dir;
  RecordingPrompt prompt;
  std::unique_ptr<CMainFrame> frame;
  QString chosenFile;  // what the file dialog "chooses"
};

// Pumps events until `done` or the time-out; true when done.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 20000);

}  // namespace zelmot::ui::testing
