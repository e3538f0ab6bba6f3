// The menu tables of the main window.
#include "app/main_menu.h"

#include <gtest/gtest.h>

#include <set>

namespace zelmot::app {
namespace {

struct ItemCase {
  int id;
  const char* text;
  const char* shortcut;
};

class MainMenuItemTest : public ::testing::TestWithParam<ItemCase> {};

TEST_P(MainMenuItemTest, HasItsTextAndShortcut) {
  const ItemCase& c = GetParam();
  const std::vector<Menu> menus = mainMenu();
  const MenuItem* item = findMenuItem(menus, c.id);
  ASSERT_NE(item, nullptr) << c.id;
  EXPECT_EQ(item->text, c.text);
  EXPECT_EQ(item->shortcut, c.shortcut);
}

INSTANTIATE_TEST_SUITE_P(
    Items, MainMenuItemTest,
    ::testing::Values(
        ItemCase{kCmdFileNew, "&Новый", "Ctrl+N"}, ItemCase{kCmdFileOpen, "&Открыть...", "Ctrl+O"},
        ItemCase{kCmdFileSave, "&Сохранить", "Ctrl+S"},
        ItemCase{kCmdFileSaveAs, "Сохранить &как...", ""},
        ItemCase{kCmdAppExit, "Вы&ход", ""},
        ItemCase{kCmdReadAll, "Считать все параметры", "Alt+R"},
        ItemCase{kCmdWriteAll, "Записать все параметры", "Alt+W"},
        ItemCase{kCmdWriteChanged, "Записать изменения", "Alt+U"},
        ItemCase{kCmdCompare, "Сравнить с параметрами в приборе", "Alt+C"},
        ItemCase{kCmdWriteErroneous, "Записать только параметры с ошибками", ""},
        ItemCase{kCmdReadBranch, "Считать параметры выделенной ветви", "Alt+Ctrl+R"},
        ItemCase{kCmdWriteBranch, "Записать параметры выделенной ветви", "Alt+Ctrl+W"},
        ItemCase{kCmdWriteChangedBranch, "Записать только измененные параметры выделенной ветви",
                 "Alt+Ctrl+U"},
        ItemCase{kCmdCompareBranch, "Сравнить с параметрами в приборе в пределах выделенной ветви",
                 "Alt+Ctrl+C"},
        ItemCase{kCmdPreviousProblem, "К предыдущему проблемному параметру дерева", "Alt+Up"},
        ItemCase{kCmdNextProblem, "К следующему проблемному параметру дерева", "Alt+Down"},
        ItemCase{kCmdSinglePoll, "Опрос отдельного параметра", "Alt+S"},
        ItemCase{kCmdCheckLink, "Проверить связь с прибором (vEr, dEv)", "Alt+N"},
        ItemCase{kCmdGraph2, "График №2", ""},
        ItemCase{kCmdConverterAutomatic, "Автоматический (ND 6530)", ""},
        ItemCase{kCmdShowLinearIndexes, "Показывать линейные индексы", ""},
        ItemCase{kCmdNoAttributes, "Не передавать атрибуты параметров", ""},
        ItemCase{kCmdStatusBar, "Панель состояния", ""},
        ItemCase{kCmdTrendPanel, "Тренд опрашиваемых параметров", ""},
        ItemCase{kCmdTrendArchiveDay, "Тренд за день из архива...", ""},
        ItemCase{kCmdExportProtocol, "Экспорт протокола измерений...", ""},
        ItemCase{kCmdHelp, "&Справка...", "F1"},
        ItemCase{kCmdAbout, "&О программе...", ""}));

TEST(MainMenu, MenusInOrderWithUniqueCommands) {
  const std::vector<Menu> menus = mainMenu();
  ASSERT_EQ(menus.size(), 4u);
  EXPECT_EQ(menus[0].title, "&Файл");
  EXPECT_EQ(menus[1].title, "&Прибор");
  EXPECT_EQ(menus[2].title, "&Режимы программы");
  EXPECT_EQ(menus[3].title, "&Справка");
  // Every menu opens from the keyboard, each with its own letter.
  std::set<std::string> letters;
  for (const Menu& menu : menus) {
    const size_t amp = menu.title.find('&');
    ASSERT_NE(amp, std::string::npos) << menu.title;
    EXPECT_TRUE(letters.insert(menu.title.substr(amp + 1, 2)).second) << menu.title;
  }
  std::set<int> ids;
  for (const MenuItem* item : allCommandItems(menus)) {
    EXPECT_TRUE(ids.insert(item->id).second) << "duplicate " << item->id;
  }
  EXPECT_EQ(ids.size(), 38u);
}

TEST(MainMenu, ModesAreCheckMarksAndConvertersAreRadioItems) {
  const std::vector<Menu> menus = mainMenu();
  for (int id : {kCmdShowLinearIndexes, kCmdAutoReading, kCmdImmediateWrite, kCmdNoAttributes,
                 kCmdToolBar, kCmdStatusBar, kCmdTrendPanel}) {
    EXPECT_EQ(findMenuItem(menus, id)->kind, MenuItemKind::Check) << id;
  }
  EXPECT_TRUE(findMenuItem(menus, kCmdAutoReading)->checked);
  EXPECT_FALSE(findMenuItem(menus, kCmdNoAttributes)->checked);
  EXPECT_EQ(findMenuItem(menus, kCmdConverterSemiAutomatic)->kind, MenuItemKind::Radio);
  EXPECT_EQ(findMenuItem(menus, kCmdConverterAutomatic)->kind, MenuItemKind::Radio);
}

TEST(MainMenu, EveryCommandIsPresentAndAvailable) {
  const std::vector<Menu> menus = mainMenu();
  for (int id : {kCmdReadAll, kCmdSinglePoll, kCmdProgramNetwork, kCmdHelp, kCmdExportDbf,
                 kCmdImportDbf, kCmdExportParameterList, kCmdExportProtocol, kCmdAbout,
                 kCmdCalibration, kCmdGraph1, kCmdGraph2}) {
    ASSERT_NE(findMenuItem(menus, id), nullptr) << id;
    EXPECT_TRUE(findMenuItem(menus, id)->available) << id;
  }
  EXPECT_EQ(findMenuItem(menus, kCmdExportDbf)->statusTip,
            "Экспартирует таблицу значений параметров в формат DBase-III");
  EXPECT_EQ(findMenuItem(menus, 12345), nullptr);
}

TEST(MainMenu, ToolBarButtonsAreMenuCommandsWithIcons) {
  const std::vector<Menu> menus = mainMenu();
  int buttons = 0;
  for (const ToolButton& button : toolBarButtons()) {
    if (button.id == 0) continue;
    ++buttons;
    EXPECT_NE(findMenuItem(menus, button.id), nullptr) << button.id;
    ASSERT_NE(button.icon, nullptr) << button.id;
  }
  EXPECT_EQ(buttons, 10);
}

TEST(MainMenu, BranchContextMenuAndWindowPopup) {
  const std::vector<MenuItem> branch = branchContextMenu();
  ASSERT_EQ(branch.size(), 4u);
  EXPECT_EQ(branch[0].id, kCmdReadThisBranch);
  EXPECT_EQ(branch[0].text, "Прочитать эту ветвь");
  EXPECT_EQ(branch[1].text, "Записать эту ветвь");
  EXPECT_EQ(branch[2].text, "Записать новые значения этой ветви");
  EXPECT_EQ(branch[3].id, kCmdCompareThisBranch);
  EXPECT_EQ(branch[3].text, "Сравнить значения этой ветви");
  const std::vector<MenuItem> popup = windowPopupMenu();
  ASSERT_EQ(popup.size(), 2u);
  EXPECT_EQ(popup[0].text, "Послать команду APLY");
  EXPECT_EQ(popup[1].text, "Смена паролей");
  EXPECT_TRUE(popup[1].available);
}

}  // namespace
}  // namespace zelmot::app
