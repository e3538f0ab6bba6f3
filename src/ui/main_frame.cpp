#include "ui/main_frame.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QApplication>
#include <QLabel>
#include <QMimeData>
#include <QStatusBar>
#include <QUrl>

#include "app/command_line_run.h"
#include "app/frame_texts.h"
#include "app/protocol_archive.h"
#include "app/startup.h"
#include "app/window_state.h"
#include "document/program_port_settings.h"
#include "document/zelmot_doc.h"
#include "link/port_names.h"
#include "link/serial_port.h"
#include "model/parameter.h"
#include "platform/paths.h"
#include "ui/icon_resources.h"
#include "ui/link_worker.h"
#include "ui/progress_dialog.h"
#include "ui/progress_relay.h"
#include "ui/qt_prompt.h"
#include "ui/qt_text.h"
#include "ui/tree_list_view.h"
#include "ui/tree_model.h"

namespace zelmot::ui {
namespace {

constexpr int kInitialWidth = 1060;
constexpr int kInitialHeight = 700;

std::filesystem::path settingsFile(const std::string& path) {
  return path.empty() ? defaultSettingsPath() : std::filesystem::path(path);
}

}  // namespace

CMainFrame::CMainFrame(UserPrompt& prompt, FrameOptions options, QWidget* parent)
    : QMainWindow(parent),
      prompt_(prompt),
      options_(std::move(options)),
      settings_(settingsFile(options_.settingsPath)),
      relay_(new ProgressRelay(this)),
      tasks_({[this](bool busy) { setTaskCommandsEnabled(!busy); },
              [this] {
                QMetaObject::invokeMethod(this, [this] { tasks_.idleStep(); }, Qt::QueuedConnection);
              }}) {
  zelmotInitIconResources();
  settings_.load();
  doc_ = std::make_unique<document::CZELMOTDoc>(&prompt_, [this](int number) {
    std::string path = link::defaultComPortPath(number);
    settings_.readString("ports", "COM" + std::to_string(number), path);
    return path;
  });
  files_ = std::make_unique<app::FileController>(*doc_, settings_, prompt_, fileHooks());
  worker_ = std::make_unique<LinkWorker>();
  followUps_ = std::make_unique<app::LinkFollowUps>(
      *doc_, settings_, tasks_,
      app::LinkFollowUps::Hooks{[this] { model_->refreshAll(); }, [this] { updateStatusBar(); },
                                [this](model::Parameter& parameter) { writeAtOnce(parameter); }});

  model_ = new TreeModel(this);
  view_ = new CZELMOTTreeListView(this);
  view_->setTreeModel(model_);
  setCentralWidget(view_);
  progress_ = new ProgressDialog(doc_->deviceLink().engine().cancelEvent(), this);
  progress_->setClosingPause(options_.closingPauseMs);
  progress_->connectRelay(*relay_);

  exchange::ExchangeEngine& engine = doc_->deviceLink().engine();
  engine.setProgressSink(relay_);
  ProgressRelay* relay = relay_;
  engine.setRedrawHook([relay](model::Parameter& parameter) { relay->parameterChanged(&parameter); });
  engine.setAutoReadingOffHook([relay] { relay->autoReadingSwitchedOff(); });
  // Queued: it arrives while the warning is shown, so the mark and the message agree.
  connect(relay_, &ProgressRelay::autoReadingOff, this,
          [this] { action(app::kCmdAutoReading)->setChecked(false); }, Qt::QueuedConnection);
  connect(relay_, &ProgressRelay::parameterRead, this, [this](quintptr parameter) {
    model_->refreshParameter(reinterpret_cast<const model::Parameter*>(parameter));
  });
  connect(model_, &TreeModel::editSubmitted, this, &CMainFrame::onEditSubmitted,
          Qt::QueuedConnection);
  connect(view_, &CZELMOTTreeListView::commandRequested, this, &CMainFrame::runCommand);
  connect(view_, &CZELMOTTreeListView::clockRequested, this,
          [this](model::Parameter* clock) { openClock(*clock); });
  connect(worker_.get(), &LinkWorker::busyChanged, this, [this](bool busy) {
    if (busy) {
      tasks_.jobStarted();
    } else {
      tasks_.jobEnded();
    }
    updateStatusBar();
  });
  // Shortcuts of the window must not take keys from an open in-place editor.
  qApp->installEventFilter(this);

  buildMenus();
  buildToolBar();
  buildStatusBar();
  setAcceptDrops(true);
  resize(kInitialWidth, kInitialHeight);
  updateTitle();
}

CMainFrame::~CMainFrame() {
  // A worker waiting for an answer would never see the end of the join below. The
  // watchers of an unattended run end first (they signal the link's cancel event); then
  // free any exchange waiting on a silent line, and let the workers end before the
  // document (and its link) goes.
  qApp->removeEventFilter(this);
  emit questionsToCancel(true);
  shutdown_.set();
  run_.reset();
  doc_->deviceLink().port().stop_event().set();
  // The polling's observer writes to the archive, which goes before the document.
  doc_->deviceLink().polling().shutdown();
  worker_->join();
  exchange::ExchangeEngine& engine = doc_->deviceLink().engine();
  engine.setRedrawHook({});
  engine.setAutoReadingOffHook({});
  engine.setProgressSink(nullptr);
  doc_->deviceLink().polling().setSink({});
  worker_.reset();
  archive_.reset();
  followUps_.reset();
  files_.reset();
  doc_.reset();
}

void CMainFrame::connectPrompt(QtPrompt& prompt) {
  prompt.setOwner(this);
  connect(this, &CMainFrame::questionsToCancel, &prompt, &QtPrompt::cancelQuestions);
}

QString CMainFrame::filePath() const { return toQt(files_->path()); }

bool CMainFrame::initialise(std::string& error) {
  const std::optional<app::InitialModes> modes =
      app::startDocument(options_.commandLine, {options_.dataDir, options_.port, options_.home},
                         settings_, *doc_, &prompt_, error);
  if (!modes) return false;
  startArchive();
  showStartupModes(*modes);
  // The measurement tree is polled only beside a device tree (its parameters get their
  // poll timers then).
  model::DescBranch* measurements =
      doc_->root() != nullptr ? doc_->deviceModel().measurementTree() : nullptr;
  model_->load(doc_->root(),
               {&doc_->commonParams(), &doc_->deviceNetwork(), &doc_->programNetwork()},
               viewOptions(), measurements);
  restoreWindowState();
  const QModelIndex top = model_->index(0, 0);
  if (top.isValid()) {
    view_->expand(top);
    view_->setCurrentIndex(top);
  }
  updateStatusBar();
  connectMeasuring();
  if (options_.linkCheckAtStart && !options_.commandLine.noExchange) checkLink(false);
  return true;
}

app::ViewOptions CMainFrame::viewOptions() const {
  app::ViewOptions options;
  const QAction* indexes = action(app::kCmdShowLinearIndexes);
  options.showLinearIndexes = indexes != nullptr && indexes->isChecked();
  options.discreteInputCount = doc_->deviceModel().nDiskretInput();
  return options;
}

void CMainFrame::buildStatusBar() {
  portLabel_ = new QLabel(this);
  linkLabel_ = new QLabel(this);
  statusBar()->addPermanentWidget(portLabel_);
  statusBar()->addPermanentWidget(linkLabel_);
  linkStatusText_ = toQt(app::kLinkUnknownText);
}

void CMainFrame::updateStatusBar() {
  if (portLabel_ == nullptr) return;
  const app::PortStatus port = app::portStatus(doc_->programNetwork(), doc_->deviceLink());
  portLabel_->setText(toQt(port.text));
  portLabel_->setToolTip(toQt(port.toolTip));
  linkLabel_->setText(linkStatusText_);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (tasks_.busy()) {
    // Closing while the line is busy: the task and any question of a worker are
    // cancelled, and the window closes once the job has ended, so that nothing is left
    // half-written and no worker waits for an answer that never comes.
    event->ignore();
    closeOnceIdle();
    return;
  }
  const bool unattended = options_.commandLine.commandLineMode || closeRequested_;
  if (!unattended && !files_->keepOrSaveChanges()) {
    event->ignore();
    return;
  }
  // An unattended run may be placed by its caller; that is not the user's window.
  if (!options_.commandLine.commandLineMode) saveWindowState();
  event->accept();
}

void CMainFrame::closeOnceIdle() {
  doc_->deviceLink().engine().cancelEvent().set();
  emit questionsToCancel(false);
  if (closeWaiting_) return;
  closeWaiting_ = true;
  tasks_.whenIdle([this] {
    closeWaiting_ = false;
    close();
  });
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  // A key that an in-place editor of the view would get is the editor's: taking the
  // shortcut override keeps Alt+Down in a drop-down from jumping to a problem parameter.
  if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType()) return false;
  const QWidget* viewport = view_->viewport();
  for (auto* widget = static_cast<QWidget*>(watched)->parentWidget(); widget != nullptr;
       widget = widget->parentWidget()) {
    if (widget == viewport) {
      event->accept();
      return true;
    }
  }
  return false;
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() == 1 && urls.front().isLocalFile() &&
      urls.front().toLocalFile().endsWith(toQt(app::kFileExtension), Qt::CaseInsensitive)) {
    event->acceptProposedAction();
  }
}

void CMainFrame::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty()) return;
  event->acceptProposedAction();
  const QString path = urls.front().toLocalFile();
  if (!tasks_.busy() && files_->keepOrSaveChanges()) openFile(path);
}

}  // namespace zelmot::ui
