#pragma once
// The main window "Configurator - ZELMOT": menus, tool bar, status bar and the tree-list
// view over the document; runs the document's commands. Device exchange never runs on
// this thread: bulk tasks go to the exchange thread behind the modal progress dialog,
// single exchanges to a LinkWorker. The window is wiring; the logic lives in Qt-free code:
// the command table, the task controller (one job at a time, steps that wait for it, the
// task's report), the file controller, the follow-ups of edits and, in an unattended run,
// the unattended job.
#include <QHash>
#include <QSet>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

#include "app/command_line.h"
#include "app/main_menu.h"
#include "app/startup.h"
#include "app/file_controller.h"
#include "app/link_follow_up.h"
#include "app/task_controller.h"
#include "app/tree_rows.h"
#include "app/unattended_job.h"
#include "calibration/access_codes.h"
#include "exchange/task_kind.h"
#include "exchange/task_outcome.h"
#include "platform/event.h"
#include "platform/settings.h"

class QLabel;
class QMenu;
class QToolBar;

namespace zelmot {
class UserPrompt;
}
namespace zelmot::app {
class CommandLineRun;
class GraphDialogState;
class ParameterDevice;
struct PollPause;
class ProtocolArchive;
}
namespace zelmot::document {
class CZELMOTDoc;
}
namespace zelmot::model {
class DescBranch;
class Parameter;
}  // namespace zelmot::model

namespace zelmot::ui {

class CZELMOTTreeListView;
class LinkWorker;
class PollRelay;
class ProgressDialog;
class ProgressRelay;
class QtPrompt;
class ReadingNotice;
class TrendPanel;
class TreeModel;

struct FrameOptions {
  std::string dataDir;       // description files; empty: searched as usual
  std::string port;          // port name or device path replacing the saved one
  std::string settingsPath;  // settings file; empty: the user's
  bool linkCheckAtStart = true;
  int closingPauseMs = 2000;
  // Chooses a file for open (save false) or save; empty: cancelled. Null: file dialogs.
  std::function<QString(bool save, const QString& suggested)> chooseFile;
  // The command line of an unattended run (the default: an interactive start).
  app::CommandLine commandLine;
  // The program's home with "protocol" and "temp"; empty: the usual one.
  std::string home;
  // The user manual's start page; empty: looked up beside the program and in share/doc.
  std::string manualPath;
  // Opens the manual; null: the desktop's browser. False when it could not be opened.
  std::function<bool(const QString& path)> openManual;
  // Opens a generated page (the parameter list); null: the desktop's browser.
  std::function<bool(const QString& path)> openPage;
};

class CMainFrame final : public QMainWindow {
  Q_OBJECT

public:
  CMainFrame(UserPrompt& prompt, FrameOptions options, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // Loads the description files, applies the port settings and shows the tree. False
  // with `error` set when no tree could be loaded.
  bool initialise(std::string& error);

  document::CZELMOTDoc& document() { return *doc_; }
  CZELMOTTreeListView& view() { return *view_; }
  TreeModel& treeModel() { return *model_; }
  ProgressDialog& progressDialog() { return *progress_; }
  QAction* action(int id) const { return actions_.value(id, nullptr); }
  QMenu* recentFilesMenu() const { return recentMenu_; }
  LinkWorker& linkWorker() { return *worker_; }
  // The measurement archive (null before initialise); readings go to its recordReading.
  app::ProtocolArchive* protocolArchive() { return archive_.get(); }
  // The archive node's check box: ticked switches the archive on.
  void setArchiveSwitch(bool on);
  // The one-second timer's work for the archive: a new day starts a new log.
  void rotateArchive();

  app::TaskController& taskController() { return tasks_; }
  app::FileController& fileController() { return *files_; }

  bool isDocumentModified() const { return files_->modified(); }
  QString filePath() const;
  const exchange::TaskOutcome& lastOutcome() const { return tasks_.lastOutcome(); }
  const QString& linkStatus() const { return linkStatusText_; }

  // Message boxes of `prompt` belong to this window; its questions from workers are
  // cancelled when the window closes.
  void connectPrompt(QtPrompt& prompt);

  // Runs a menu command by its identifier (what a click on its item does). Task commands
  // are ignored while a job runs.
  void runCommand(int id);
  // Opens a configuration file without asking for a name, once no job runs.
  void openFile(const QString& path);
  bool saveFile(const QString& path);

  // An unattended run: posts the command line's job and starts the watchers. False with
  // `error` when the named exit event cannot be made.
  bool startUnattendedRun(std::string& error);
  // Exit status of an unattended run (0 when nothing failed).
  int unattendedStatus() const { return job_ ? job_->status() : 0; }
  // Asks the window to close from any thread: a running task is cancelled first and the
  // window closes when it has ended. Nothing is asked about unsaved changes.
  void requestClose();

  // --- measuring (main_frame_measure.cpp) ---
  // The notice shown while an expanded branch reads.
  QWidget* readingNotice() const;
  // The live trend of the polled parameters (null before the tree shows).
  TrendPanel* trendPanel() const { return trend_; }

signals:
  // Questions of workers are to be cancelled (for good: the window goes).
  void questionsToCancel(bool forGood);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  // --- building (main_frame_actions.cpp) ---
  void buildMenus();
  void buildToolBar();
  void buildStatusBar();
  QAction* makeAction(const app::MenuItem& item);
  void onModeToggled(int id, bool checked);
  void updateRecentFilesMenu();
  void setTaskCommandsEnabled(bool enabled);
  void switchConverter(int id);

  // --- files and the window's state (main_frame_file.cpp) ---
  app::FileController::Hooks fileHooks();
  QString chooseFile(bool save, const QString& suggested);
  void updateTitle();
  void afterDocumentReplaced(bool opened);
  void restoreWindowState();
  void saveWindowState();

  // --- device commands (main_frame_tasks.cpp) ---
  bool runTask(exchange::TaskCode code, model::DescBranch* target, bool wholeTree);
  void writeErroneous();
  // Shows the progress dialog of the task just started, then its result and follow-up.
  void followTask(exchange::TaskCode code);
  void showTaskResult(exchange::TaskCode code);
  void navigate(bool next, bool fromTop = false);
  void checkLink(bool showMessages);
  void onEditSubmitted(quintptr row, int column, const QString& text);
  void writeAtOnce(model::Parameter& parameter);

  // --- measuring (main_frame_measure.cpp) ---
  void connectMeasuring();
  void connectTrend();
  void readOnExpand(const QModelIndex& index);
  void onCheckToggled(quintptr row, bool checked);
  // The window's one-second timer: everything that must
  // happen once a second on the window's thread hangs here.
  void onSecondTimer();

  // --- start-up, unattended runs, APLY and the dialogs (main_frame_startup.cpp) ---
  void showStartupModes(const app::InitialModes& modes);
  void placeWindow();
  void afterTask(exchange::TaskCode code);
  void finishUnattendedTask(std::optional<exchange::TaskCode> code);
  void sendAply(std::function<void()> then);
  void closeWithoutQuestions();
  void closeOnceIdle();
  void openHelp();
  void openSinglePoint();
  void openProgramNetwork();
  void openProtocolExport();  // main_frame_export.cpp

  // --- the parameter list page and the parameter table (main_frame_tables.cpp) ---
  void exportParameterList();
  void exportTable();
  void importTable();
  QString chooseTableFile(bool save, const QString& suggested);

  // --- passwords, block properties, about (main_frame_dialogs.cpp) ---
  void openChangePassword();
  void openBlockProperties(model::DescBranch* block);
  void openAbout();

  // "Юстировка входов" (main_frame_calibration.cpp): the set-up, the steps and whatever
  // they start next; true when a run committed its coefficients.
  bool openCalibration();

  // --- the clock and graph dialogs (main_frame_special_dialogs.cpp) ---
  void openClock(model::Parameter& clock);
  void editClock(model::Parameter& clock);
  void openGraph(int graph);
  void editGraph(std::shared_ptr<app::GraphDialogState> state,
                 std::shared_ptr<app::ParameterDevice> device);
  // How the clock's periodic reading is paused around its write.
  app::PollPause clockPollPause() const;
  void updateStatusBar();
  app::ViewOptions viewOptions() const;

  // --- measurement archive (main_frame_archive.cpp) ---
  // Makes the archive, rotates it under the wait window and starts the one-second timer.
  void startArchive();

  UserPrompt& prompt_;
  FrameOptions options_;
  Settings settings_;
  ProgressRelay* relay_ = nullptr;  // owned by this window (a QObject child)
  std::unique_ptr<document::CZELMOTDoc> doc_;
  std::unique_ptr<app::FileController> files_;  // after the document it works on
  app::TaskController tasks_;
  std::unique_ptr<app::LinkFollowUps> followUps_;  // after the document it works on
  std::unique_ptr<LinkWorker> worker_;  // after the document: joined before it goes
  std::unique_ptr<app::ProtocolArchive> archive_;  // refers to the document's archive node
  TreeModel* model_ = nullptr;
  CZELMOTTreeListView* view_ = nullptr;
  ProgressDialog* progress_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QLabel* portLabel_ = nullptr;
  QLabel* linkLabel_ = nullptr;
  QHash<int, QAction*> actions_;
  QSet<int> unavailable_;  // commands the menu tables mark as not built yet
  QString linkStatusText_;
  Event shutdown_{Event::Reset::Manual};  // set when the window goes
  std::unique_ptr<app::CommandLineRun> run_;
  std::unique_ptr<app::UnattendedJob> job_;  // in an unattended run
  bool closeRequested_ = false;  // closing without questions (unattended, signals)
  bool closeWaiting_ = false;    // a close waits for the running job
  calibration::WrongCodeCounter wrongCodes_;  // for the whole run of the program
  PollRelay* pollRelay_ = nullptr;        // owned by this window (a QObject child)
  ReadingNotice* readingNotice_ = nullptr;  // owned by this window
  TrendPanel* trend_ = nullptr;             // owned by this window (a dock)
};

}  // namespace zelmot::ui
