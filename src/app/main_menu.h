#pragma once
// The menus of the main window as plain data: the Qt view builds its actions from these
// tables, so texts, shortcuts and check marks live in one place and are testable.
#include <span>
#include <string>
#include <vector>

#include "app/command_ids.h"

namespace zelmot::app {

enum class MenuItemKind {
  Command,      // runs a command
  Check,        // a program mode with a check mark
  Radio,        // one of a group of exclusive choices (the group is its submenu)
  Separator,
  Submenu,
  RecentFiles,  // placeholder where the recent files are listed
};

struct MenuItem {
  MenuItemKind kind = MenuItemKind::Command;
  int id = kCmdNone;
  std::string text;
  std::string shortcut;  // portable key sequence ("Ctrl+N", "Alt+Ctrl+R"), empty for none
  bool available = true; // false: the command is not built yet (shown disabled)
  bool checked = false;  // initial mark of Check and Radio items
  std::string statusTip;  // shown in the status bar while the item is highlighted
  std::vector<MenuItem> items;  // Submenu only
};

struct Menu {
  std::string title;
  std::vector<MenuItem> items;
};

// Menu bar of the main window, in order.
std::vector<Menu> mainMenu();

// The main window's own pop-up menu ("Послать команду APLY", "Смена паролей").
std::vector<MenuItem> windowPopupMenu();

// Context menu of a branch in the tree (commands 150..153).
std::vector<MenuItem> branchContextMenu();

// The item with this command identifier anywhere in the menus (submenus included);
// nullptr when there is none.
const MenuItem* findMenuItem(const std::vector<Menu>& menus, int id);

// Every command item with its identifier, submenus flattened, in menu order.
std::vector<const MenuItem*> allCommandItems(const std::vector<Menu>& menus);

struct ToolButton {
  int id;            // 0: a separator
  const char* icon;  // the icon's name in the program's resources
};
// The tool bar: file commands, the bulk tasks, problem navigation and the link check.
std::span<const ToolButton> toolBarButtons();

}  // namespace zelmot::app
