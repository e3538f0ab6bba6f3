// The main window's dialogs of special parameters: the device clock (from the value cell
// of the clock in the tree) and the setpoint-correction graphs (from the menu). Their
// reads and writes run on the link worker; the dialogs themselves only edit state.
#include <QApplication>
#include <memory>

#include "app/clock_dialog_state.h"
#include "app/edit_state.h"
#include "app/graph_dialog_state.h"
#include "app/parameter_device.h"
#include "document/zelmot_doc.h"
#include "platform/user_prompt.h"
#include "ui/clock_dialog.h"
#include "ui/graph_dialog.h"
#include "ui/link_worker.h"
#include "ui/main_frame.h"
#include "ui/qt_text.h"
#include "ui/reading_notice.h"
#include "ui/tree_list_view.h"
#include "ui/tree_model.h"

namespace zelmot::ui {
namespace {

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

// The window's reading notice and the wait cursor, while a dialog's parameters are read.
class NoticeWhileReading {
public:
  NoticeWhileReading(ReadingNotice* notice, QWidget* over) : notice_(notice) {
    notice_->showOver(over);
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~NoticeWhileReading() {
    notice_->hide();
    QApplication::restoreOverrideCursor();
  }
  NoticeWhileReading(const NoticeWhileReading&) = delete;
  NoticeWhileReading& operator=(const NoticeWhileReading&) = delete;

private:
  ReadingNotice* notice_;
};

}  // namespace

app::PollPause CMainFrame::clockPollPause() const {
  return app::schedulerPause(doc_->deviceLink().polling());
}

void CMainFrame::openClock(model::Parameter& clock) {
  if (worker_->busy()) return;
  // A clock never read has no fields to edit: read it first.
  if (app::ClockDialogState(doc_->valueContext().clock()).lowestBlock() < 0) {
    auto device = std::make_shared<app::LinkParameterDevice>(doc_->deviceLink());
    auto notice = std::make_shared<NoticeWhileReading>(readingNotice_, view_);
    model::Parameter* target = &clock;
    worker_->run([device, target] { device->read(*target); },
                 [this, target, notice]() mutable {
                   notice.reset();
                   model_->refreshParameter(target);
                   editClock(*target);
                 });
    return;
  }
  editClock(clock);
}

void CMainFrame::editClock(model::Parameter& clock) {
  app::ClockDialogState state(doc_->valueContext().clock());
  CDateTimeDlg dialog(state, prompt_, {}, this);
  dialog.placeAtCursor();
  if (dialog.exec() != QDialog::Accepted) return;
  auto device = std::make_shared<app::LinkParameterDevice>(doc_->deviceLink());
  auto result = std::make_shared<int>(0);
  model::Parameter* target = &clock;
  worker_->run(
      [device, target, result, text = state.valueText(), pause = clockPollPause()] {
        *result = app::writeClock(*target, text, *device, pause);
      },
      [this, target, result] {
        model_->refreshParameter(target);
        if (*result != 0) {
          prompt_.tell(target->errorText(), app::kWriteFailedCaption, PromptIcon::Stop);
        }
      });
}

void CMainFrame::openGraph(int graph) {
  if (worker_->busy()) return;
  auto state = std::make_shared<app::GraphDialogState>(graph, doc_->root());
  if (!state->unavailable().empty()) {
    prompt_.tell(state->unavailable(), state->caption(), PromptIcon::Stop);
    return;
  }
  auto device = std::make_shared<app::LinkParameterDevice>(doc_->deviceLink());
  auto notice = std::make_shared<NoticeWhileReading>(readingNotice_, view_);
  worker_->run([state, device] { state->load(*device); },
               [this, state, device, notice]() mutable {
                 notice.reset();
                 model_->refreshAll();
                 editGraph(state, device);
               });
}

void CMainFrame::editGraph(std::shared_ptr<app::GraphDialogState> state,
                           std::shared_ptr<app::ParameterDevice> device) {
  CGrafDlg dialog(*state, prompt_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  auto outcome = std::make_shared<app::GraphWriteOutcome>();
  worker_->run([state, device, outcome] { *outcome = state->write(*device); },
               [this, state, outcome] {
                 if (outcome->modified) files_->setModified(true);
                 model_->refreshAll();
                 if (!outcome->errors.empty()) {
                   prompt_.tell(joinLines(outcome->errors), app::kWriteFailedCaption,
                                PromptIcon::Stop);
                 }
               });
}

}  // namespace zelmot::ui
