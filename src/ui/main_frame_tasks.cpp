// The main window's device commands: bulk tasks behind the progress dialog, writing the
// erroneous parameters, problem navigation, the link check and the edits of the view.
#include <QAction>
#include <memory>

#include "app/measurement.h"
#include "app/frame_commands.h"
#include "app/link_follow_up.h"
#include "app/problem_search.h"
#include "document/zelmot_doc.h"
#include "exchange/link_check.h"
#include "exchange/problem_navigation.h"
#include "model/desc_branch.h"
#include "platform/user_prompt.h"
#include "ui/link_worker.h"
#include "ui/main_frame.h"
#include "ui/progress_dialog.h"
#include "ui/qt_text.h"
#include "ui/tree_list_view.h"
#include "ui/tree_model.h"

namespace zelmot::ui {

bool CMainFrame::runTask(exchange::TaskCode code, model::DescBranch* target, bool wholeTree) {
  if (!app::taskTargetDefined(target, wholeTree, prompt_)) return false;
  if (tasks_.busy() || !doc_->deviceLink().tasks().start(code, target)) return false;
  followTask(code);
  return true;
}

void CMainFrame::writeErroneous() {
  std::vector<model::Parameter*> group = app::erroneousGroup(doc_->root(), prompt_);
  if (!group.empty() && !tasks_.busy() &&
      doc_->deviceLink().tasks().startGroupWrite(std::move(group))) {
    followTask(exchange::TaskCode::GroupWrite);
  }
}

void CMainFrame::followTask(exchange::TaskCode code) {
  // The job ends after its follow-up has started (APLY runs as a job of its own), so
  // that a step waiting for the line comes after both.
  tasks_.jobStarted();
  progress_->exec();
  tasks_.setLastOutcome(doc_->deviceLink().tasks().wait());
  showTaskResult(code);
  afterTask(code);
  tasks_.jobEnded();
}

void CMainFrame::showTaskResult(exchange::TaskCode code) {
  const app::TaskReport report = app::reportTask(code, tasks_.lastOutcome());
  app::tellTaskReport(report, prompt_);
  // Five time-outs in a row switch automatic reading off; the menu shows it.
  if (QAction* autoReading = action(app::kCmdAutoReading)) {
    autoReading->setChecked(doc_->deviceLink().engine().autoReading());
  }
  if (report.linkStatus) linkStatusText_ = toQt(*report.linkStatus);
  if (report.configurationLoaded) files_->setConfigurationLoaded(true);
  if (report.modified) files_->setModified(true);
  model_->refreshAll();
  updateStatusBar();
  if (app::askToShowFailed(report, options_.commandLine.commandLineMode, prompt_)) {
    navigate(true, true);
  }
}

void CMainFrame::navigate(bool next, bool fromTop) {
  model::DescBranch* root = doc_->root();
  if (root == nullptr) return;
  const exchange::TreePlace from =
      app::searchStartAt(*root, fromTop ? nullptr : model_->rowAt(view_->currentIndex()));
  const exchange::NavigationResult result = exchange::findProblemParameter(
      *root, from, next ? exchange::NavigationDirection::Next : exchange::NavigationDirection::Previous);
  if (!result.found) {
    prompt_.tell(result.message, app::kProgramCaption, PromptIcon::Information);
    return;
  }
  view_->selectRow(model_->reveal(result.place.branch, result.place.parameter));
}

void CMainFrame::checkLink(bool showMessages) {
  auto result = std::make_shared<exchange::LinkCheckResult>();
  exchange::ExchangeEngine& engine = doc_->deviceLink().engine();
  exchange::CatalogueLookup lookup = doc_->catalogueLookup();
  worker_->run([&engine, lookup, result] { *result = exchange::checkLink(engine, lookup); },
               [this, result, showMessages] {
                 linkStatusText_ = toQt(app::linkStatusAfterCheck(*result));
                 updateStatusBar();
                 if (showMessages) app::tellLinkCheck(*result, prompt_);
               });
}

void CMainFrame::onEditSubmitted(quintptr rowPointer, int column, const QString& text) {
  const auto* row = reinterpret_cast<const app::TreeRow*>(rowPointer);
  model::Parameter* parameter = row != nullptr ? row->parameter() : nullptr;
  if (parameter == nullptr) return;
  if (static_cast<app::Column>(column) == app::Column::Name && parameter->hasPollTimer()) {
    app::takePollPeriodEdit(doc_->deviceLink().polling(), *parameter, fromQt(text), prompt_);
    model_->refreshParameter(parameter);
    return;
  }
  const app::SubmittedEdit edit = app::submitEdit(
      *doc_, *parameter, static_cast<app::Column>(column), fromQt(text), files_->configurationLoaded(),
      action(app::kCmdImmediateWrite)->isChecked(), &prompt_);
  if (edit.modified) files_->setModified(true);
  followUps_->take(edit.followUp);
  model_->refreshParameter(parameter);
}

void CMainFrame::writeAtOnce(model::Parameter& parameter) {
  auto result = std::make_shared<int>(0);
  exchange::ExchangeEngine& engine = doc_->deviceLink().engine();
  model::Parameter* target = &parameter;
  worker_->run([&engine, target, result] { *result = engine.writeOne(*target, true); },
               [this, target, result] {
                 model_->refreshParameter(target);
                 if (*result != 0) {
                   prompt_.tell(target->errorText(), app::kWriteFailedCaption, PromptIcon::Stop);
                 }
               });
}

}  // namespace zelmot::ui
