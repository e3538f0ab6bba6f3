#include "app/main_menu.h"

#include "document/parameter_table.h"

namespace zelmot::app {
namespace {

MenuItem command(int id, std::string text, std::string shortcut = {}, bool available = true) {
  MenuItem item;
  item.id = id;
  item.text = std::move(text);
  item.shortcut = std::move(shortcut);
  item.available = available;
  return item;
}

MenuItem check(int id, std::string text, bool checked, bool available = true) {
  MenuItem item = command(id, std::move(text), {}, available);
  item.kind = MenuItemKind::Check;
  item.checked = checked;
  return item;
}

MenuItem radio(int id, std::string text, bool checked) {
  MenuItem item = command(id, std::move(text));
  item.kind = MenuItemKind::Radio;
  item.checked = checked;
  return item;
}

MenuItem separator() {
  MenuItem item;
  item.kind = MenuItemKind::Separator;
  return item;
}

MenuItem submenu(std::string text, std::vector<MenuItem> items, bool available = true) {
  MenuItem item;
  item.kind = MenuItemKind::Submenu;
  item.text = std::move(text);
  item.items = std::move(items);
  item.available = available;
  return item;
}

MenuItem recentFiles() {
  MenuItem item;
  item.kind = MenuItemKind::RecentFiles;
  return item;
}

MenuItem exportDbf() {
  MenuItem item = command(kCmdExportDbf, "Экспорт в DBF");
  item.statusTip = document::kDbfExportStatusText;
  return item;
}

Menu fileMenu() {
  return {"&Файл",
          {command(kCmdFileNew, "&Новый", "Ctrl+N"), command(kCmdFileOpen, "&Открыть...", "Ctrl+O"),
           command(kCmdFileSave, "&Сохранить", "Ctrl+S"),
           command(kCmdFileSaveAs, "Сохранить &как..."), separator(),
           exportDbf(), command(kCmdImportDbf, "Импорт из DBF"),
           separator(), recentFiles(), separator(), command(kCmdAppExit, "Вы&ход")}};
}

Menu deviceMenu() {
  return {"&Прибор",
          {command(kCmdReadAll, "Считать все параметры", "Alt+R"),
           command(kCmdWriteAll, "Записать все параметры", "Alt+W"),
           command(kCmdWriteChanged, "Записать изменения", "Alt+U"),
           command(kCmdCompare, "Сравнить с параметрами в приборе", "Alt+C"),
           command(kCmdWriteErroneous, "Записать только параметры с ошибками"), separator(),
           command(kCmdReadBranch, "Считать параметры выделенной ветви", "Alt+Ctrl+R"),
           command(kCmdWriteBranch, "Записать параметры выделенной ветви", "Alt+Ctrl+W"),
           command(kCmdWriteChangedBranch,
                   "Записать только измененные параметры выделенной ветви", "Alt+Ctrl+U"),
           command(kCmdCompareBranch,
                   "Сравнить с параметрами в приборе в пределах выделенной ветви", "Alt+Ctrl+C"),
           separator(),
           command(kCmdPreviousProblem, "К предыдущему проблемному параметру дерева", "Alt+Up"),
           command(kCmdNextProblem, "К следующему проблемному параметру дерева", "Alt+Down"),
           separator(), command(kCmdCalibration, "Юстировка входов"),
           submenu("Графики уставки",
                   {command(kCmdGraph1, "График №1"), command(kCmdGraph2, "График №2")}),
           command(kCmdSinglePoll, "Опрос отдельного параметра", "Alt+S"), separator(),
           command(kCmdCheckLink, "Проверить связь с прибором (vEr, dEv)", "Alt+N"),
           submenu("Преобразователь интерфейса",
                   {radio(kCmdConverterSemiAutomatic, "Полуавтоматический (VQ-5)", false),
                    radio(kCmdConverterAutomatic, "Автоматический (ND 6530)", true)})}};
}

Menu modesMenu() {
  return {"&Режимы программы",
          {check(kCmdShowLinearIndexes, "Показывать линейные индексы", false),
           check(kCmdAutoReading, "Режим автоматического чтения", true),
           check(kCmdImmediateWrite, "Режим немедленной записи", false),
           check(kCmdNoAttributes, "Не передавать атрибуты параметров", false), separator(),
           command(kCmdProgramNetwork, "Сетевые параметры программы"), separator(),
           check(kCmdToolBar, "Панель инструментов", true),
           check(kCmdStatusBar, "Панель состояния", true),
           check(kCmdTrendPanel, "Тренд опрашиваемых параметров", false),
           command(kCmdTrendArchiveDay, "Тренд за день из архива...")}};
}

Menu helpMenu() {
  return {"&Справка",
          {command(kCmdHelp, "&Справка...", "F1"),
           command(kCmdExportParameterList, "Экспорт списка параметров в HTML"),
           command(kCmdExportProtocol, "Экспорт протокола измерений..."), separator(),
           command(kCmdAbout, "&О программе...")}};
}

const MenuItem* findIn(const std::vector<MenuItem>& items, int id) {
  for (const MenuItem& item : items) {
    if (item.kind == MenuItemKind::Submenu) {
      if (const MenuItem* found = findIn(item.items, id)) return found;
    } else if (item.id == id && id != kCmdNone) {
      return &item;
    }
  }
  return nullptr;
}

void collect(const std::vector<MenuItem>& items, std::vector<const MenuItem*>& out) {
  for (const MenuItem& item : items) {
    if (item.kind == MenuItemKind::Submenu) {
      collect(item.items, out);
    } else if (item.id != kCmdNone) {
      out.push_back(&item);
    }
  }
}

}  // namespace

std::vector<Menu> mainMenu() { return {fileMenu(), deviceMenu(), modesMenu(), helpMenu()}; }

std::vector<MenuItem> windowPopupMenu() {
  return {command(kCmdSendAply, "Послать команду APLY"),
          command(kCmdChangePasswords, "Смена паролей")};
}

std::vector<MenuItem> branchContextMenu() {
  return {command(kCmdReadThisBranch, "Прочитать эту ветвь"),
          command(kCmdWriteThisBranch, "Записать эту ветвь"),
          command(kCmdWriteChangedThisBranch, "Записать новые значения этой ветви"),
          command(kCmdCompareThisBranch, "Сравнить значения этой ветви")};
}

const MenuItem* findMenuItem(const std::vector<Menu>& menus, int id) {
  for (const Menu& menu : menus) {
    if (const MenuItem* found = findIn(menu.items, id)) return found;
  }
  return nullptr;
}

std::vector<const MenuItem*> allCommandItems(const std::vector<Menu>& menus) {
  std::vector<const MenuItem*> out;
  for (const Menu& menu : menus) collect(menu.items, out);
  return out;
}

std::span<const ToolButton> toolBarButtons() {
  static constexpr ToolButton kButtons[] = {
      {kCmdFileNew, "new"},         {kCmdFileOpen, "open"},
      {kCmdFileSave, "save"},       {0, nullptr},
      {kCmdReadAll, "read"},        {kCmdWriteAll, "write"},
      {kCmdWriteChanged, "write-changed"}, {kCmdCompare, "compare"},
      {0, nullptr},                 {kCmdPreviousProblem, "previous"},
      {kCmdNextProblem, "next"},    {0, nullptr},
      {kCmdCheckLink, "link"},
  };
  return kButtons;
}

}  // namespace zelmot::app
