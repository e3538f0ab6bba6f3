// The password change, block properties and About dialogs as the user meets them, and the
// information parameters in the main window's tree.
#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include "app/block_properties.h"
#include "app/change_password.h"
#include "app/command_ids.h"
#include "document/program_port_settings.h"
#include "document/zelmot_doc.h"
#include "model/common_params.h"
#include "model/desc_branch.h"
#include "platform/system_info.h"
#include "platform/version.h"
#include "sim_process.h"
#include "tree_walk_helpers.h"
#include "ui/about_dialog.h"
#include "ui/block_properties_dialog.h"
#include "ui/change_password_dialog.h"
#include "ui/qt_text.h"

namespace zelmot::ui::testing {
namespace {

class PasswordDialogTest : public ::testing::Test {
protected:
  QTemporaryDir dir;
  Settings settings{(dir.path() + "/zelmot.ini").toStdString()};
  RecordingPrompt prompt;
  app::ChangePasswordState state{settings, 2};
  CChangePassword dialog{state, prompt};
};

TEST_F(PasswordDialogTest, TypedPasswordsAreHiddenAndStoredByTheirButton) {
  EXPECT_EQ(dialog.currentField()->echoMode(), QLineEdit::Password);
  EXPECT_EQ(dialog.maximumField(1)->echoMode(), QLineEdit::Password);
  dialog.currentField()->setText("2");
  dialog.maximumField(0)->setText("новый");
  dialog.maximumField(1)->setText("новый");
  dialog.changeButton(app::PasswordLevel::Maximum)->click();
  EXPECT_EQ(dialog.lastChange(), app::PasswordChange::Changed);
  std::string stored;
  settings.readString(document::kProgramSettingsKey, app::kMaxPasswordValue, stored);
  EXPECT_EQ(stored, "новый");
  EXPECT_EQ(dialog.maximumField(0)->text(), "новый") << "the dialog stays as it was";
}

TEST_F(PasswordDialogTest, MismatchClearsBothFieldsOnScreen) {
  dialog.currentField()->setText("2");
  dialog.middleField(0)->setText("a");
  dialog.middleField(1)->setText("b");
  dialog.changeButton(app::PasswordLevel::Middle)->click();
  EXPECT_EQ(prompt.texts(), std::vector<std::string>{app::kPasswordsDifferText});
  EXPECT_TRUE(dialog.middleField(0)->text().isEmpty());
  EXPECT_TRUE(dialog.middleField(1)->text().isEmpty());
  EXPECT_EQ(dialog.currentField()->text(), "2");
}

TEST(AccessDialogs, MainWindowOffersTheCommandsAndShowsTheInformationParameters) {
  FrameFixture fixture("/nonexistent/port");
  ASSERT_NE(fixture.frame, nullptr);
  CMainFrame& frame = *fixture.frame;
  EXPECT_TRUE(frame.action(app::kCmdChangePasswords)->isEnabled());
  EXPECT_TRUE(frame.action(app::kCmdAbout)->isEnabled());

  TreeModel& model = frame.treeModel();
  const QModelIndex system = findRow(model, [](const app::TreeRow& row) {
    return row.parameter() != nullptr && row.parameter()->name() == model::kSystemParameterName;
  });
  ASSERT_TRUE(system.isValid());
  EXPECT_EQ(model.data(system).toString(), "Операционная система");
  EXPECT_EQ(model.data(system.siblingAtColumn(2)).toString(), toQt(operatingSystemText()));
  const QModelIndex version = findRow(model, [](const app::TreeRow& row) {
    return row.parameter() != nullptr && row.parameter()->name() == model::kVersionParameterName;
  });
  ASSERT_TRUE(version.isValid());
  EXPECT_EQ(model.data(version.siblingAtColumn(2)).toString(), toQt(programVersion()));
}

TEST(AccessDialogs, BlockPropertiesShowTheBlockAsTheExpandedRoot) {
  document::CZELMOTDoc doc;
  ASSERT_TRUE(doc.initialise(ZELMOT_BIN_DIR));
  model::DescBranch* block = nullptr;
  for (const auto& child : doc.root()->children()) {
    if (!child->children().empty() || !child->parameters().empty()) block = child.get();
    if (block != nullptr) break;
  }
  ASSERT_NE(block, nullptr);
  const app::BlockPropertiesState state(*block, {.showLinearIndexes = true});
  CBlockPropertieDialog dialog(state);
  QTreeView& tree = *dialog.treeView();
  TreeModel& model = *dialog.treeModel();
  ASSERT_EQ(model.rowCount(), 1);
  const QModelIndex root = model.index(0, 0);
  EXPECT_EQ(model.rowAt(root)->branch(), block);
  EXPECT_TRUE(tree.isExpanded(root));
  EXPECT_GT(model.rowCount(root), 0);
  const int widths[] = {280, 70, 120, 110, 90};
  for (int column = 0; column < 5; ++column) {
    EXPECT_EQ(tree.columnWidth(column), widths[column]) << column;
    EXPECT_EQ(model.headerData(column, Qt::Horizontal).toString(),
              toQt(app::kColumns[static_cast<size_t>(column)].title));
  }
  EXPECT_EQ(tree.editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST(AccessDialogs, AboutNamesTheVersionAndQt) {
  const app::AboutInformation info = aboutInformationWithQt();
  EXPECT_NE(app::libraryListText(info.libraries).find(std::string("Qt ") + qVersion()),
            std::string::npos);
  AboutDialog dialog(info);
  bool versionShown = false;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) {
    if (label->text() == toQt(info.version)) versionShown = true;
  }
  EXPECT_TRUE(versionShown);
}

}  // namespace
}  // namespace zelmot::ui::testing
