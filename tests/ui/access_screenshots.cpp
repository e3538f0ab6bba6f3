// Renders the password change, About and block properties dialogs and the service
// parameters of the main window into PNG files, for a reviewer to look at.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>

#include "app/block_properties.h"
#include "app/change_password.h"
#include "app/command_ids.h"
#include "document/zelmot_doc.h"
#include "model/common_params.h"
#include "sim_process.h"
#include "tree_walk_helpers.h"
#include "ui/about_dialog.h"
#include "ui/block_properties_dialog.h"
#include "ui/change_password_dialog.h"
#include "ui/tree_list_view.h"

namespace zelmot::ui::testing {
namespace {

QString shotPath(const char* name) {
  QDir().mkpath(ZELMOT_SCREENSHOT_DIR);
  return QString(ZELMOT_SCREENSHOT_DIR) + "/" + name;
}

bool grabShown(QWidget& widget, const char* name) {
  widget.show();
  QCoreApplication::processEvents();
  return widget.grab().save(shotPath(name));
}

TEST(AccessScreenshots, PasswordAndAboutDialogs) {
  QTemporaryDir dir;
  Settings settings((dir.path() + "/zelmot.ini").toStdString());
  RecordingPrompt prompt;
  app::ChangePasswordState state(settings, 2);
  CChangePassword passwords(state, prompt);
  passwords.currentField()->setText("2");
  passwords.middleField(0)->setText("1234");
  passwords.middleField(1)->setText("1234");
  EXPECT_TRUE(grabShown(passwords, "change_password.png"));

  AboutDialog about(aboutInformationWithQt());
  EXPECT_TRUE(grabShown(about, "about.png"));
}

TEST(AccessScreenshots, BlockPropertiesAndServiceParametersAfterARead) {
  SimProcess sim;
  ASSERT_FALSE(sim.slavePath().empty());
  FrameFixture fixture(sim.slavePath(), 50);
  ASSERT_NE(fixture.frame, nullptr);
  CMainFrame& frame = *fixture.frame;
  frame.resize(1180, 620);
  frame.show();
  frame.action(app::kCmdReadAll)->trigger();
  ASSERT_TRUE(waitUntil([&] { return !frame.taskController().busy(); }, 120000));

  TreeModel& model = frame.treeModel();
  const QModelIndex system = findRow(model, [](const app::TreeRow& row) {
    return row.parameter() != nullptr && row.parameter()->name() == model::kSystemParameterName;
  });
  ASSERT_TRUE(system.isValid());
  frame.view().selectRow(system);
  QCoreApplication::processEvents();
  EXPECT_TRUE(frame.grab().save(shotPath("service_parameters.png")));

  model::DescBranch* block = frame.document().findBranch("Регуляторы/Регулятор 1");
  ASSERT_NE(block, nullptr);
  const app::BlockPropertiesState state(*block, {});
  CBlockPropertieDialog dialog(state, &frame);
  EXPECT_TRUE(grabShown(dialog, "block_properties.png"));
}

}  // namespace
}  // namespace zelmot::ui::testing
