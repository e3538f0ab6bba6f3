#include "sim_process.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace zelmot::ui::testing {

namespace {

std::vector<std::string> toStrings(const QStringList& list) {
  std::vector<std::string> strings;
  for (const QString& item : list) strings.push_back(item.toStdString());
  return strings;
}

}  // namespace

SimProcess::SimProcess(const QStringList& options)
    : SimulatorProcess(servingTheModel(toStrings(options))) {}

FrameFixture::FrameFixture(const std::string& port, int closingPauseMs) {
  FrameOptions options;
  options.dataDir = ZELMOT_BIN_DIR;
  options.port = port;
  options.settingsPath = (dir.path() + "/zelmot.ini").toStdString();
  options.home = dir.path().toStdString();  // "protocol" and "temp" of the test, not the user's
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
