#pragma once
// The main window "Configurator - ZELMOT": menus, tool bar, status bar and the tree-list
// view over the document; runs the document's commands. Device exchange never runs on
// this thread: bulk tasks go to the exchange thread behind the modal progress dialog,
// single exchanges to a LinkWorker.
#include <QHash>
#include <QMainWindow>
#include <functional>
#include <memory>

#include "app/command_line.h"
#include "app/main_menu.h"
#include "app/recent_files.h"
#include "app/tree_rows.h"
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
class ProgressDialog;
class ProgressRelay;
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

  bool isDocumentModified() const { return modified_; }
  const QString& filePath() const { return filePath_; }
  const exchange::TaskOutcome& lastOutcome() const { return lastOutcome_; }
  const QString& linkStatus() const { return linkStatusText_; }

  // Runs a menu command by its identifier (what a click on its item does).
  void runCommand(int id);
  // Opens or saves a configuration file without asking for a name.
  bool openFile(const QString& path);
  bool saveFile(const QString& path);

  // An unattended run: posts the command line's job and starts the watchers. False with
  // `error` when the named exit event cannot be made.
  bool startUnattendedRun(std::string& error);
  // Exit status of an unattended run (0 when nothing failed).
  int unattendedStatus() const { return unattendedStatus_; }
  // Asks the window to close from any thread: a running task is cancelled first and the
  // window closes when it has ended. Nothing is asked about unsaved changes.
  void requestClose();

protected:
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

  // --- file commands (main_frame_file.cpp) ---
  void newDocument();
  void openDocument();
  void saveDocument();
  void saveDocumentAs();
  void openRecent(size_t index);
  bool keepOrSaveChanges();
  QString chooseFile(bool save);
  void setModified(bool modified);
  void updateTitle();
  void afterDocumentReplaced();

  // --- device commands (main_frame_tasks.cpp) ---
  void runTask(exchange::TaskCode code, model::DescBranch* target, bool wholeTree);
  void writeErroneous();
  // Shows the progress dialog of the task just started, then its result and follow-up.
  void followTask(exchange::TaskCode code);
  void showTaskResult(exchange::TaskCode code);
  void navigate(bool next);
  void checkLink(bool showMessages);
  void onEditSubmitted(quintptr row, int column, const QString& text);
  void writeAtOnce(model::Parameter& parameter);
  void applyPortSettings();
  bool exchangeAllowed();

  // --- start-up, unattended runs, APLY and the dialogs (main_frame_startup.cpp) ---
  bool applyStartupSettings(std::string& error);
  void placeWindow();
  void runJob(app::CommandLineJob job);
  void afterTask();
  void finishUnattendedTask();
  void sendAply(std::function<void()> then);
  void closeWhenIdle();
  void openHelp();
  void openSinglePoint();
  void openProgramNetwork();
  void updateStatusBar();
  app::ViewOptions viewOptions() const;

  UserPrompt& prompt_;
  FrameOptions options_;
  Settings settings_;
  app::RecentFiles recent_;
  ProgressRelay* relay_ = nullptr;  // owned by this window (a QObject child)
  std::unique_ptr<document::CZELMOTDoc> doc_;
  std::unique_ptr<LinkWorker> worker_;  // after the document: joined before it goes
  TreeModel* model_ = nullptr;
  CZELMOTTreeListView* view_ = nullptr;
  ProgressDialog* progress_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QLabel* portLabel_ = nullptr;
  QLabel* linkLabel_ = nullptr;
  QHash<int, QAction*> actions_;
  QString filePath_;
  QString linkStatusText_;
  bool modified_ = false;
  bool configurationLoaded_ = false;
  exchange::TaskOutcome lastOutcome_;
  Event shutdown_{Event::Reset::Manual};  // set when the window goes
  std::unique_ptr<app::CommandLineRun> run_;
  bool taskRunning_ = false;
  bool closeRequested_ = false;
  int unattendedStatus_ = 0;
};

}  // namespace zelmot::ui
