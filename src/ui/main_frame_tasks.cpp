// The main window's device commands: bulk tasks behind the progress dialog, writing the
// erroneous parameters, problem navigation, the link check and the edits of the view.
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <algorithm>
#include <memory>

#include "app/edit_state.h"
#include "app/frame_texts.h"
#include "document/program_port_settings.h"
#include "document/zelmot_doc.h"
#include "exchange/compare_texts.h"
#include "exchange/exchange_texts.h"
#include "exchange/link_check.h"
#include "exchange/problem_navigation.h"
#include "exchange/tree_walk.h"
#include "model/desc_branch.h"
#include "platform/user_prompt.h"
#include "ui/link_worker.h"
#include "ui/main_frame.h"
#include "ui/progress_dialog.h"
#include "ui/qt_text.h"
#include "ui/tree_list_view.h"
#include "ui/tree_model.h"

namespace zelmot::ui {
namespace {

constexpr const char* kProgramCaption = "ZELMOT";
constexpr const char* kErrorCaption = "Ошибка";
constexpr int kWaitSliceMs = 50;

bool contains(const std::vector<model::Parameter*>& list, const model::Parameter* parameter) {
  return std::find(list.begin(), list.end(), parameter) != list.end();
}

}  // namespace

bool CMainFrame::exchangeAllowed() {
  // A single exchange still running (the check at start-up on a silent line) ends first;
  // events keep flowing meanwhile, so a question it raises can still be answered.
  if (!worker_->busy()) return true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  while (worker_->busy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, kWaitSliceMs);
  QApplication::restoreOverrideCursor();
  return true;
}

void CMainFrame::runTask(exchange::TaskCode code, model::DescBranch* target, bool wholeTree) {
  if (target == nullptr) {
    prompt_.tell(wholeTree ? exchange::kTreeUndefinedText : exchange::kBranchUndefinedText,
                 exchange::kOperationImpossibleCaption, PromptIcon::Stop);
    return;
  }
  if (!exchangeAllowed()) return;
  if (doc_->deviceLink().tasks().start(code, target)) followTask(code);
}

void CMainFrame::writeErroneous() {
  model::DescBranch* root = doc_->root();
  if (root == nullptr) {
    prompt_.tell(exchange::kTreeUndefinedText, exchange::kOperationImpossibleCaption,
                 PromptIcon::Stop);
    return;
  }
  std::vector<model::Parameter*> group = exchange::collectErroneousParameters(*root);
  if (group.empty()) {
    prompt_.tell(exchange::kNoErroneousText, kProgramCaption, PromptIcon::Exclamation);
    return;
  }
  if (!exchangeAllowed()) return;
  if (doc_->deviceLink().tasks().startGroupWrite(std::move(group))) {
    followTask(exchange::TaskCode::GroupWrite);
  }
}

void CMainFrame::followTask(exchange::TaskCode code) {
  taskRunning_ = true;
  progress_->exec();
  lastOutcome_ = doc_->deviceLink().tasks().wait();
  taskRunning_ = false;
  showTaskResult(code);
  afterTask();
}

void CMainFrame::showTaskResult(exchange::TaskCode code) {
  exchange::ExchangeEngine& engine = doc_->deviceLink().engine();
  if (code == exchange::TaskCode::Compare) {
    prompt_.tell(exchange::compareSummary(lastOutcome_.differenceCount, lastOutcome_.differenceText),
                 exchange::kCompareCaption, PromptIcon::Information);
  }
  // Five time-outs in a row switch automatic reading off; the menu shows it.
  if (QAction* autoReading = action(app::kCmdAutoReading)) {
    autoReading->setChecked(engine.autoReading());
  }
  if (lastOutcome_.noLink()) {
    linkStatusText_ = toQt(app::kNoLinkText);
  } else if (lastOutcome_.successes > 0) {
    linkStatusText_ = toQt(app::kLinkAnswersText);
  }
  if (code == exchange::TaskCode::Read) configurationLoaded_ = true;
  if (lastOutcome_.counts.handled > 0) setModified(true);
  model_->refreshAll();
  updateStatusBar();
}

void CMainFrame::navigate(bool next) {
  model::DescBranch* root = doc_->root();
  if (root == nullptr) return;
  exchange::TreePlace from{root, nullptr};
  const app::TreeRow* row = model_->rowAt(view_->currentIndex());
  if (row != nullptr && row->kind() == app::TreeRow::Kind::SubItem) row = row->parent();
  if (row != nullptr && row->kind() == app::TreeRow::Kind::Branch) {
    from = {row->branch(), nullptr};
  } else if (row != nullptr && row->kind() == app::TreeRow::Kind::Parameter) {
    model::DescBranch* owner = row->branch();
    if (owner == nullptr && row->parent() != nullptr) owner = row->parent()->owningBranch();
    if (owner != nullptr) from = {owner, row->parameter()};
  }
  const exchange::NavigationResult result = exchange::findProblemParameter(
      *root, from, next ? exchange::NavigationDirection::Next : exchange::NavigationDirection::Previous);
  if (!result.found) {
    prompt_.tell(result.message, kProgramCaption, PromptIcon::Information);
    return;
  }
  view_->selectRow(model_->reveal(result.place.branch, result.place.parameter));
}

void CMainFrame::checkLink(bool showMessages) {
  if (showMessages) exchangeAllowed();
  auto result = std::make_shared<exchange::LinkCheckResult>();
  exchange::ExchangeEngine& engine = doc_->deviceLink().engine();
  exchange::CatalogueLookup lookup = doc_->catalogueLookup();
  worker_->run([&engine, lookup, result] { *result = exchange::checkLink(engine, lookup); },
               [this, result, showMessages] {
                 const bool answered = (result->identity & exchange::kIdentityAnswered) != 0;
                 linkStatusText_ = toQt(answered ? app::kLinkAnswersText : app::kNoLinkText);
                 updateStatusBar();
                 if (!showMessages) return;
                 if (!result->errorText.empty()) {
                   prompt_.tell(result->errorText, kErrorCaption, PromptIcon::Stop);
                 }
                 if (!result->infoText.empty()) {
                   prompt_.tell(result->infoText, exchange::kDeviceInfoCaption,
                                PromptIcon::Information);
                 }
               });
}

void CMainFrame::onEditSubmitted(quintptr rowPointer, int column, const QString& text) {
  const auto* row = reinterpret_cast<const app::TreeRow*>(rowPointer);
  model::Parameter* parameter = row != nullptr ? row->parameter() : nullptr;
  if (parameter == nullptr) return;
  const auto which = static_cast<app::Column>(column);
  if (which != app::Column::Value) {
    if (app::takeAttributeEdit(*parameter, which, fromQt(text))) setModified(true);
    model_->refreshParameter(parameter);
    return;
  }
  model::NetRS485prg& program = doc_->programNetwork();
  document::DeviceNetworkNode& device = doc_->deviceNetwork();
  app::ValueEditContext context;
  if (contains(program.parameters(), parameter)) {
    context.networkNode = &program;
    context.programNetwork = true;
  } else if (contains(device.parameters(), parameter)) {
    context.networkNode = &device;
  }
  context.configurationLoaded = configurationLoaded_;
  context.immediateWrite = action(app::kCmdImmediateWrite)->isChecked();
  context.prompt = &prompt_;
  const app::ValueEditResult result = app::takeValueEdit(*parameter, fromQt(text), context);
  if (result.verdict == app::EditVerdict::Accepted) {
    setModified(true);
    if (result.portSettingsChanged) {
      document::saveProgramPortSettings(settings_, program);
      applyPortSettings();
    }
    if (result.resetConfiguration) {
      doc_->resetDocument();
      model_->refreshAll();
    }
    if (result.writeNow) writeAtOnce(*parameter);
  }
  model_->refreshParameter(parameter);
}

void CMainFrame::writeAtOnce(model::Parameter& parameter) {
  exchangeAllowed();
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

void CMainFrame::applyPortSettings() {
  doc_->deviceLink().load_port_settings();
  updateStatusBar();
}

}  // namespace zelmot::ui
