// The main window's start-up modes, the unattended run of a command line, the APLY
// command, help, and the dialogs of the single-parameter poll and the program's settings.
#include <QAction>
#include <QDesktopServices>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QUrl>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "app/aply_state.h"
#include "app/command_line_run.h"
#include "app/help_file.h"
#include "app/problem_search.h"
#include "app/serial_port_list.h"
#include "app/startup.h"
#include "document/zelmot_doc.h"
#include "link/serial_port.h"
#include "model/desc_branch.h"
#include "platform/paths.h"
#include "platform/user_prompt.h"
#include "ui/apply_dialog.h"
#include "ui/link_worker.h"
#include "ui/main_frame.h"
#include "ui/program_network_dialog.h"
#include "ui/qt_text.h"
#include "ui/single_point_dialog.h"
#include "ui/tree_list_view.h"
#include "ui/tree_model.h"

namespace zelmot::ui {
namespace {

constexpr const char* kDeviceMenuTitle = "&Прибор";

void pauseMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

void CMainFrame::showStartupModes(const app::InitialModes& modes) {
  const app::CommandLine& line = options_.commandLine;
  action(app::kCmdAutoReading)->setChecked(modes.autoReading);
  {
    const QSignalBlocker quiet(action(app::kCmdImmediateWrite));  // no notice at start-up
    action(app::kCmdImmediateWrite)->setChecked(modes.immediateWrite);
  }
  const bool automatic =
      doc_->deviceLink().port().converterMode() != link::ConverterMode::SemiAutomatic;
  action(app::kCmdConverterSemiAutomatic)->setChecked(!automatic);
  action(app::kCmdConverterAutomatic)->setChecked(automatic);
  if (line.noExchange) {
    for (QAction* menu : menuBar()->actions()) {
      if (menu->text() == toQt(kDeviceMenuTitle)) menu->setEnabled(false);
    }
  }
  placeWindow();
}

void CMainFrame::placeWindow() {
  const app::WindowPlacement& place = options_.commandLine.placement;
  if (!place.width || !place.height) return;
  setGeometry(place.x.value_or(0), place.y.value_or(0), *place.width, *place.height);
}

bool CMainFrame::startUnattendedRun(std::string& error) {
  if (!options_.commandLine.commandLineMode) return true;
  job_ = std::make_unique<app::UnattendedJob>(
      options_.commandLine,
      app::UnattendedJob::Hooks{
          [this](exchange::TaskCode code) { return runTask(code, doc_->root(), true); },
          [this] {
            if (run_) run_->jobDone().set();
          },
          [](const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); },
          [this] { job_->calibrationEnded(openCalibration(), *files_); }});
  app::CommandLineRun::Hooks hooks;
  hooks.postJob = [this](app::CommandLineJob job) {
    // After the check at start-up, which may still be waiting on a silent line.
    QMetaObject::invokeMethod(
        this, [this, job] { tasks_.whenIdle([this, job] { job_->run(job, *files_); }); },
        Qt::QueuedConnection);
  };
  hooks.requestClose = [this] { requestClose(); };
  run_ = std::make_unique<app::CommandLineRun>(options_.commandLine, shutdown_,
                                               &doc_->deviceLink().engine().cancelEvent(),
                                               std::move(hooks));
  if (run_->start(error)) return true;
  run_.reset();
  return false;
}

void CMainFrame::requestClose() {
  QMetaObject::invokeMethod(this, [this] { closeWithoutQuestions(); }, Qt::QueuedConnection);
}

void CMainFrame::closeWithoutQuestions() {
  closeRequested_ = true;
  close();  // while a job runs: cancelled, and the window closes when it has ended
}

void CMainFrame::afterTask(exchange::TaskCode code) {
  exchange::DeviceLink& link = doc_->deviceLink();
  if (link.engine().networkParametersWritten() && !link.port().stop_event().isSet()) {
    sendAply([this, code] { finishUnattendedTask(code); });
    return;
  }
  finishUnattendedTask(code);
}

void CMainFrame::finishUnattendedTask(std::optional<exchange::TaskCode> code) {
  if (run_) job_->finish(code, tasks_.lastOutcome(), *files_);
}

void CMainFrame::sendAply(std::function<void()> then) {
  exchange::ExchangeEngine& engine = doc_->deviceLink().engine();
  const app::CommandLine& line = options_.commandLine;
  app::AplyAction next =
      app::aplyActionFor(!then, line.commandLineMode, line.aply, doc_.get(), prompt_);
  auto state = std::make_shared<app::AplyState>();
  if (next == app::AplyAction::Dialog) {
    CApply dialog(*state, toQt(app::AplyState::newParametersText(doc_->deviceNetwork())), this);
    if (dialog.exec() != QDialog::Accepted) next = app::AplyAction::None;
  }
  if (next == app::AplyAction::None) {
    engine.clearNetworkParametersWritten();
    if (then) then();
    return;
  }
  const bool showMessages = next == app::AplyAction::Dialog;
  const bool started = worker_->run(
      [this, state, showMessages] { state->run(*doc_, &settings_, &prompt_, showMessages, pauseMs); },
      [this, then] {
        model_->refreshAll();
        updateStatusBar();
        if (then) then();
      });
  if (!started && then) then();
}

void CMainFrame::openHelp() {
  const std::optional<std::filesystem::path> page =
      app::manualPage(options_.manualPath, executableDir(), defaultInstallPrefix());
  const QString path = page ? toQt(page->string()) : QString();
  const bool opened = page && (options_.openManual ? options_.openManual(path)
                                                   : QDesktopServices::openUrl(QUrl::fromLocalFile(path)));
  if (!opened) app::tellHelpFailure(prompt_, page);
}

void CMainFrame::openSinglePoint() {
  const exchange::SinglePointPoll poll(doc_->deviceLink(), doc_->deviceModel().catalogue());
  auto reveal = [this](const exchange::SinglePointRequest& request) {
    model::DescBranch* root = doc_->root();
    if (root == nullptr) return false;
    const model::Parameter* found = exchange::SinglePointPoll::findInTree(*root, request);
    const model::DescBranch* branch = found != nullptr ? app::owningBranchOf(*root, found) : nullptr;
    if (branch == nullptr) return false;
    view_->selectRow(model_->reveal(branch, found));
    return true;
  };
  CSinglePoint dialog(poll, *worker_, prompt_, reveal, this);
  dialog.exec();
  worker_->join();  // the dialog's exchange (if any) ends before the poll object goes
}

void CMainFrame::openProgramNetwork() {
  model::NetRS485prg& node = doc_->programNetwork();
  ProgramNetworkDialog dialog(node, app::listSerialPorts(), files_->configurationLoaded(), prompt_, this);
  if (dialog.exec() != QDialog::Accepted || !dialog.changed()) return;
  followUps_->take({.portSettingsChanged = true, .reopenPort = true,
                    .resetDocument = dialog.resetRequested()});
}

}  // namespace zelmot::ui
