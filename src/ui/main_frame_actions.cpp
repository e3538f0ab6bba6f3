// The main window's menus, tool bar and mode switches, built from the menu tables.
#include <QActionGroup>
#include <QApplication>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "app/frame_commands.h"
#include "app/frame_texts.h"
#include "app/startup.h"
#include "document/zelmot_doc.h"
#include "link/serial_port.h"
#include "platform/user_prompt.h"
#include "ui/main_frame.h"
#include "ui/qt_text.h"
#include "ui/tree_list_view.h"
#include "ui/tree_model.h"

namespace zelmot::ui {

QAction* CMainFrame::makeAction(const app::MenuItem& item) {
  auto* action = new QAction(toQt(item.text), this);
  if (!item.shortcut.empty()) action->setShortcut(QKeySequence(toQt(item.shortcut)));
  action->setEnabled(item.available);
  if (!item.statusTip.empty()) action->setStatusTip(toQt(item.statusTip));
  const int id = item.id;
  if (!item.available) unavailable_.insert(id);
  if (item.kind == app::MenuItemKind::Check || item.kind == app::MenuItemKind::Radio) {
    action->setCheckable(true);
    action->setChecked(item.checked);
  }
  if (item.kind == app::MenuItemKind::Check) {
    connect(action, &QAction::toggled, this, [this, id](bool checked) { onModeToggled(id, checked); });
  } else {
    connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
  }
  actions_.insert(id, action);
  return action;
}

void CMainFrame::buildMenus() {
  std::function<void(QMenu*, const std::vector<app::MenuItem>&)> fill =
      [&](QMenu* menu, const std::vector<app::MenuItem>& items) {
        QActionGroup* radios = nullptr;
        for (const app::MenuItem& item : items) {
          switch (item.kind) {
            case app::MenuItemKind::Separator: menu->addSeparator(); break;
            case app::MenuItemKind::Submenu: {
              QMenu* sub = menu->addMenu(toQt(item.text));
              fill(sub, item.items);
              sub->setEnabled(item.available);
              break;
            }
            case app::MenuItemKind::RecentFiles:
              recentMenu_ = menu;
              menu->addSeparator()->setObjectName("recent-start");
              break;
            case app::MenuItemKind::Radio:
              if (radios == nullptr) radios = new QActionGroup(menu);
              menu->addAction(radios->addAction(makeAction(item)));
              break;
            default: menu->addAction(makeAction(item)); break;
          }
        }
      };
  for (const app::Menu& menu : app::mainMenu()) fill(menuBar()->addMenu(toQt(menu.title)), menu.items);
  for (const app::MenuItem& item : app::windowPopupMenu()) makeAction(item);
  updateRecentFilesMenu();
}

void CMainFrame::buildToolBar() {
  toolBar_ = addToolBar(toQt("Панель инструментов"));
  toolBar_->setObjectName("main-toolbar");
  toolBar_->setMovable(false);
  for (const app::ToolButton& button : app::toolBarButtons()) {
    if (button.icon == nullptr) {
      toolBar_->addSeparator();
      continue;
    }
    QAction* command = action(button.id);
    command->setIcon(QIcon(QString(":/icons/%1.svg").arg(button.icon)));
    toolBar_->addAction(command);
  }
  // The window's own pop-up menu: APLY and the password change.
  auto* service = new QToolButton(toolBar_);
  service->setIcon(QIcon(":/icons/service.svg"));
  service->setPopupMode(QToolButton::InstantPopup);
  auto* popup = new QMenu(service);
  for (const app::MenuItem& item : app::windowPopupMenu()) popup->addAction(action(item.id));
  service->setMenu(popup);
  toolBar_->addSeparator();
  toolBar_->addWidget(service);
}

void CMainFrame::updateRecentFilesMenu() {
  if (recentMenu_ == nullptr) return;
  for (QAction* old : recentMenu_->actions()) {
    if (old->objectName() == "recent-file") {
      recentMenu_->removeAction(old);
      old->deleteLater();
    }
  }
  QAction* before = action(app::kCmdAppExit);
  // The recent files stand between their two separators, just above "Выход".
  QList<QAction*> all = recentMenu_->actions();
  const qsizetype exitAt = all.indexOf(before);
  QAction* anchor = exitAt > 0 ? all.at(exitAt - 1) : before;
  for (size_t i = 0; i < files_->recent().paths().size(); ++i) {
    auto* entry = new QAction(toQt(app::RecentFiles::menuText(i, files_->recent().paths()[i])), recentMenu_);
    entry->setObjectName("recent-file");
    entry->setToolTip(toQt(files_->recent().paths()[i]));
    entry->setEnabled(!tasks_.busy());
    connect(entry, &QAction::triggered, this, [this, i] {
      if (!tasks_.busy()) files_->openRecent(i);
    });
    recentMenu_->insertAction(anchor, entry);
  }
}

void CMainFrame::setTaskCommandsEnabled(bool enabled) {
  for (const int id : app::taskCommands()) {
    if (QAction* command = action(id)) command->setEnabled(enabled && !unavailable_.contains(id));
  }
  if (recentMenu_ == nullptr) return;
  for (QAction* entry : recentMenu_->actions()) {
    if (entry->objectName() == "recent-file") entry->setEnabled(enabled);
  }
}

void CMainFrame::switchConverter(int id) {
  const link::ConverterMode mode = app::converterModeForCommand(id);
  app::storeConverterMode(settings_, mode);
  // The mode is read once per frame without the port's lock, so this never waits for a
  // reply that is due.
  doc_->deviceLink().port().setConverterMode(mode);
}

void CMainFrame::onModeToggled(int id, bool checked) {
  exchange::DeviceLink& link = doc_->deviceLink();
  switch (id) {
    case app::kCmdShowLinearIndexes: model_->setOptions(viewOptions()); break;
    case app::kCmdAutoReading: link.engine().setAutoReading(checked); break;
    case app::kCmdImmediateWrite:
      if (checked) prompt_.tell(app::kImmediateWriteNotice, app::kProgramCaption, PromptIcon::Information);
      break;
    case app::kCmdNoAttributes:
      link.setNoAttributeTransfer(checked);
      if (checked) prompt_.tell(app::kNoAttributesNotice, app::kProgramCaption, PromptIcon::Information);
      break;
    case app::kCmdToolBar: toolBar_->setVisible(checked); break;
    case app::kCmdStatusBar: statusBar()->setVisible(checked); break;
    default: break;
  }
}

void CMainFrame::runCommand(int id) {
  if (tasks_.busy() && app::isTaskCommand(id)) return;
  if (const std::optional<app::CommandTask> task = app::commandTask(id)) {
    runTask(task->code, task->wholeTree ? doc_->root() : view_->currentBranch(), task->wholeTree);
    return;
  }
  switch (id) {
    case app::kCmdFileNew: files_->newDocument(); break;
    case app::kCmdFileOpen: files_->openDocument(); break;
    case app::kCmdFileSave: files_->saveDocument(); break;
    case app::kCmdFileSaveAs: files_->saveDocumentAs(); break;
    case app::kCmdAppExit: close(); break;
    case app::kCmdWriteErroneous: writeErroneous(); break;
    case app::kCmdPreviousProblem: navigate(false); break;
    case app::kCmdNextProblem: navigate(true); break;
    case app::kCmdCheckLink: checkLink(true); break;
    case app::kCmdSinglePoll: openSinglePoint(); break;
    case app::kCmdProgramNetwork: openProgramNetwork(); break;
    case app::kCmdSendAply: sendAply({}); break;
    case app::kCmdHelp: openHelp(); break;
    case app::kCmdExportParameterList: exportParameterList(); break;
    case app::kCmdExportDbf: exportTable(); break;
    case app::kCmdImportDbf: importTable(); break;
    case app::kCmdConverterSemiAutomatic:
    case app::kCmdConverterAutomatic: switchConverter(id); break;
    default: break;
  }
}

}  // namespace zelmot::ui
