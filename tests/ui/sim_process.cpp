#include "sim_process.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <sys/prctl.h>

#include <csignal>

namespace zelmot::ui::testing {

SimProcess::SimProcess(const QStringList& options) {
  QStringList arguments{"--data-dir", ZELMOT_BIN_DIR};
  arguments += options;
  // A test that dies must not leave its simulator behind.
  process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
  process_.start(QString(ZELMOT_BIN_DIR) + "/zelmot-sim", arguments);
  if (!process_.waitForStarted(5000)) return;
  QElapsedTimer clock;
  clock.start();
  while (!process_.canReadLine() && clock.elapsed() < 10000) process_.waitForReadyRead(200);
  slavePath_ = QString::fromUtf8(process_.readLine()).trimmed().toStdString();
}

SimProcess::~SimProcess() {
  process_.terminate();
  if (!process_.waitForFinished(3000)) process_.kill();
  process_.waitForFinished(1000);
}

void SimProcess::kill() {
  process_.kill();
  process_.waitForFinished(3000);
}

PromptAnswer RecordingPrompt::ask(const std::string& text, const std::string& caption,
                                  PromptIcon icon, PromptButtons buttons) {
  messages.push_back({text, caption, icon});
  return buttons == PromptButtons::Ok ? PromptAnswer::Ok : answer;
}

FrameFixture::FrameFixture(const std::string& port, int closingPauseMs) {
  FrameOptions options;
  options.dataDir = ZELMOT_BIN_DIR;
  options.port = port;
  options.settingsPath = (dir.path() + "/zelmot.ini").toStdString();
  options.linkCheckAtStart = false;
  options.closingPauseMs = closingPauseMs;
  options.chooseFile = [this](bool, const QString&) { return chosenFile; };
  frame = std::make_unique<CMainFrame>(prompt, options);
  std::string error;
  if (!frame->initialise(error)) frame.reset();
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

}  // namespace zelmot::ui::testing
