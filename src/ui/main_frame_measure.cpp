// The main window's measuring side: the measurement tree's boxes and period cells, the
// poll notification, reads on expand and the one-second timer.
#include <QTimer>

#include "app/measurement.h"
#include "app/protocol_archive.h"
#include "document/zelmot_doc.h"
#include "model/parameter.h"
#include "ui/link_worker.h"
#include "ui/main_frame.h"
#include "ui/poll_relay.h"
#include "ui/reading_notice.h"
#include "ui/tree_list_view.h"
#include "ui/tree_model.h"
#include "ui/trend_day_chooser.h"
#include "ui/trend_panel.h"

namespace zelmot::ui {
namespace {

constexpr int kSecondTimerMs = 1000;

}  // namespace

// Called once the tree shows: from then on an expanded branch reads what it lacks.
void CMainFrame::connectMeasuring() {
  pollRelay_ = new PollRelay(this);
  readingNotice_ = new ReadingNotice(this);
  exchange::PollScheduler& polling = doc_->deviceLink().polling();
  PollRelay* relay = pollRelay_;
  polling.setSink([relay](const exchange::PollNotice& notice) { relay->deliver(notice); });
  if (app::ProtocolArchive* archive = archive_.get()) {
    polling.setObserver([archive](model::Parameter& parameter) {
      return archive->recordReading(parameter);
    });
  }
  connect(pollRelay_, &PollRelay::polled, this, [this](quintptr parameter, bool archiveFailed) {
    const auto* polled = reinterpret_cast<const model::Parameter*>(parameter);
    model_->notePolled(polled, archiveFailed);
    trend_->addReading(*polled);  // the document's parameters live as long as the window
  });
  connect(model_, &TreeModel::checkToggled, this, &CMainFrame::onCheckToggled,
          Qt::QueuedConnection);
  connect(view_, &QTreeView::expanded, this, &CMainFrame::readOnExpand);
  connectTrend();
  auto* timer = new QTimer(this);
  timer->setObjectName("second-timer");
  connect(timer, &QTimer::timeout, this, &CMainFrame::onSecondTimer);
  timer->start(kSecondTimerMs);
}

QWidget* CMainFrame::readingNotice() const { return readingNotice_; }

// The trend is a dock below the trees, hidden until its menu command ticks it.
void CMainFrame::connectTrend() {
  trend_ = new TrendPanel(this);
  addDockWidget(Qt::BottomDockWidgetArea, trend_);
  trend_->hide();
  QAction* toggle = action(app::kCmdTrendPanel);
  connect(toggle, &QAction::toggled, trend_, &QWidget::setVisible);
  connect(trend_, &TrendPanel::closed, toggle, [toggle] { toggle->setChecked(false); });
  connect(action(app::kCmdTrendArchiveDay), &QAction::triggered, this, [this, toggle] {
    const model::DescBranch* tree = doc_->deviceModel().measurementTree();
    if (tree == nullptr || !archive_) return;
    toggle->setChecked(true);
    chooseTrendDay(*trend_, archive::archiveFoldersIn(archive_->protocolDir().parent_path()),
                   *tree, prompt_);
  });
}

void CMainFrame::onSecondTimer() { rotateArchive(); }

void CMainFrame::onCheckToggled(quintptr rowPointer, bool checked) {
  const auto* row = reinterpret_cast<const app::TreeRow*>(rowPointer);
  model::Parameter* parameter = row != nullptr ? row->parameter() : nullptr;
  if (parameter == nullptr) return;
  if (app::isArchiveNode(*parameter)) {
    setArchiveSwitch(checked);
    return;
  }
  exchange::PollScheduler& polling = doc_->deviceLink().polling();
  if (checked) {
    polling.start(*parameter);
  } else {
    polling.stop(*parameter);
  }
  model_->refreshParameter(parameter);
}

// The never-read parameters of the expanded branch are read off this thread, one job at
// a time; an expansion while the line is busy reads nothing (the next one will).
void CMainFrame::readOnExpand(const QModelIndex& index) {
  app::TreeRow* row = model_->rowAt(index);
  if (row == nullptr || tasks_.busy() || worker_->busy()) return;
  model_->fetchMore(index);
  const std::vector<model::Parameter*> list =
      app::expandReadList(*row, action(app::kCmdAutoReading)->isChecked());
  if (list.empty()) return;
  readingNotice_->showOver(view_);
  exchange::ExchangeEngine& engine = doc_->deviceLink().engine();
  worker_->run([&engine, list] { app::readExpanded(engine, list, {}, {}); },
               [this, list] {
                 readingNotice_->hide();
                 for (const model::Parameter* parameter : list) model_->refreshParameter(parameter);
               });
}

}  // namespace zelmot::ui
