// The menu commands of the parameter list page and the parameter table in the window:
// where the page goes and that it is opened, the table's dialogs and messages.
#include <gtest/gtest.h>

#include <QAction>
#include <QTemporaryDir>

#include "app/command_ids.h"
#include "document/zelmot_doc.h"
#include "model/desc_branch.h"
#include "model/parameter.h"
#include "sim_process.h"
#include "support/file_text.h"

namespace zelmot::ui::testing {
namespace {

struct TablesFixture {
  QTemporaryDir dir;
  RecordingPrompt prompt;
  QString chosen;
  QStringList opened;
  std::unique_ptr<CMainFrame> frame;

  TablesFixture() {
    FrameOptions options;
    options.dataDir = ZELMOT_BIN_DIR;
    options.port = "/dev/null-no-port";
    options.settingsPath = path("zelmot.ini");
    options.home = path("home");
    options.linkCheckAtStart = false;
    options.chooseFile = [this](bool, const QString&) { return chosen; };
    options.openPage = [this](const QString& page) {
      opened << page;
      return true;
    };
    frame = std::make_unique<CMainFrame>(prompt, options);
    std::string error;
    if (!frame->initialise(error)) frame.reset();
  }
  std::string path(const std::string& name) const { return dir.path().toStdString() + "/" + name; }
  model::Parameter& parameter(const std::string& name) {
    return *frame->document().root()->FindParameter(name, -1);
  }
};

TEST(TablesInTheWindow, ParameterListIsWrittenIntoTheHomeAndOpened) {
  TablesFixture fixture;
  ASSERT_NE(fixture.frame, nullptr);
  QAction* command = fixture.frame->action(app::kCmdExportParameterList);
  ASSERT_TRUE(command->isEnabled());
  command->trigger();
  const std::string page = fixture.path("home/temp/parlist.html");
  EXPECT_EQ(fixture.prompt.count(), 0u);
  ASSERT_EQ(fixture.opened, QStringList{QString::fromStdString(page)});
  EXPECT_NE(test_support::readWholeFile(page).find("charset=windows-1251"), std::string::npos);

  // A page that cannot be written is reported, and no stale page is opened instead.
  std::filesystem::remove(page);
  std::filesystem::create_directories(page);
  command->trigger();
  EXPECT_EQ(fixture.opened.size(), 1);
  ASSERT_EQ(fixture.prompt.count(), 1u);
  EXPECT_EQ(fixture.prompt.calls().front().icon, PromptIcon::Stop);
}

TEST(TablesInTheWindow, ExportedTableImportsBackWithTheMissingOnesNamed) {
  TablesFixture fixture;
  ASSERT_NE(fixture.frame, nullptr);
  model::Parameter& speed = fixture.parameter("bPS");
  ASSERT_EQ(speed.SetValueText("19200"), 1);
  fixture.chosen = QString::fromStdString(fixture.path("t.dbf"));
  fixture.frame->action(app::kCmdExportDbf)->trigger();
  ASSERT_EQ(fixture.prompt.count(), 0u) << fixture.prompt.texts().front();
  ASSERT_EQ(fixture.frame->action(app::kCmdExportDbf)->statusTip(),
            "Экспартирует таблицу значений параметров в формат DBase-III");

  // Another program deletes the first record (dev) of the table.
  std::string bytes = test_support::readWholeFile(fixture.path("t.dbf"));
  const size_t headerLength = static_cast<uint8_t>(bytes[8]) | static_cast<uint8_t>(bytes[9]) << 8;
  bytes[headerLength] = '*';
  test_support::writeWholeFile(fixture.path("t.dbf"), bytes);

  ASSERT_EQ(speed.SetValueText("9600"), 1);
  fixture.frame->action(app::kCmdImportDbf)->trigger();
  EXPECT_EQ(speed.valueText(), "19200");
  EXPECT_TRUE(fixture.frame->isDocumentModified());
  ASSERT_EQ(fixture.prompt.count(), 1u);
  const test_support::PromptCall message = fixture.prompt.calls().front();
  EXPECT_EQ(message.text, "След. параметры небыли определены:\ndev (Тип прибора)");
  EXPECT_EQ(message.icon, PromptIcon::Exclamation);
}

TEST(TablesInTheWindow, DamagedTableIsRefusedAndChangesNothing) {
  TablesFixture fixture;
  ASSERT_NE(fixture.frame, nullptr);
  model::Parameter& speed = fixture.parameter("bPS");
  ASSERT_EQ(speed.SetValueText("9600"), 1);
  test_support::writeWholeFile(fixture.path("bad.dbf"), std::string("\x03\x7e\x0c\x08\xff\xff", 6) + std::string(60, ' '));
  fixture.chosen = QString::fromStdString(fixture.path("bad.dbf"));
  fixture.frame->action(app::kCmdImportDbf)->trigger();
  EXPECT_EQ(speed.valueText(), "9600");
  EXPECT_FALSE(fixture.frame->isDocumentModified());
  ASSERT_EQ(fixture.prompt.count(), 1u);
  EXPECT_EQ(fixture.prompt.calls().front().icon, PromptIcon::Stop);
  EXPECT_NE(fixture.prompt.calls().front().text.find("Таблица повреждена"), std::string::npos);
}

}  // namespace
}  // namespace zelmot::ui::testing
