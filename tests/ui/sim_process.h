#pragma once
// Test helpers of the GUI tests: a zelmot-sim child on its own pseudo-terminal, a prompt
// that records what the program says, and a main window wired to both.
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "platform/user_prompt.h"
#include "ui/main_frame.h"

namespace zelmot::ui::testing {

class SimProcess {
public:
  // Starts the simulator with extra options; slavePath() is empty when it failed.
  explicit SimProcess(const QStringList& options = {});
  ~SimProcess();
  const std::string& slavePath() const { return slavePath_; }
  // Ends the simulator at once: its terminal hangs up as an unplugged adapter would.
  void kill();

private:
  QProcess process_;
  std::string slavePath_;
};

struct RecordedMessage {
  std::string text;
  std::string caption;
  PromptIcon icon;
};

class RecordingPrompt final : public UserPrompt {
public:
  PromptAnswer ask(const std::string& text, const std::string& caption, PromptIcon icon,
                   PromptButtons buttons) override;
  std::vector<RecordedMessage> messages;
  PromptAnswer answer = PromptAnswer::No;  // to questions
};

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
