// "&Справка...": the manual opens, or the program says it is missing.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/command_ids.h"
#include "app/help_file.h"
#include "sim_process.h"

namespace zelmot::ui::testing {
namespace {

std::unique_ptr<CMainFrame> frameWithManual(RecordingPrompt& prompt, const QTemporaryDir& dir,
                                            const QString& manual, QStringList& opened,
                                            bool browserStarts = true) {
  FrameOptions options;
  options.dataDir = ZELMOT_BIN_DIR;
  options.port = "/dev/null-no-port";
  options.settingsPath = (dir.path() + "/zelmot.ini").toStdString();
  options.home = (dir.path() + "/home").toStdString();
  options.linkCheckAtStart = false;
  options.manualPath = manual.toStdString();
  options.openManual = [&opened, browserStarts](const QString& path) {
    opened << path;
    return browserStarts;
  };
  auto frame = std::make_unique<CMainFrame>(prompt, options);
  std::string error;
  if (!frame->initialise(error)) frame.reset();
  return frame;
}

TEST(HelpCommand, OpensTheManualOrSaysItIsMissing) {
  QTemporaryDir dir;
  const QString page = dir.path() + "/index.html";
  QFile(page).open(QIODevice::WriteOnly);
  RecordingPrompt prompt;
  QStringList opened;
  auto frame = frameWithManual(prompt, dir, page, opened);
  ASSERT_NE(frame, nullptr);
  frame->runCommand(app::kCmdHelp);
  EXPECT_EQ(opened, QStringList{page});
  EXPECT_TRUE(prompt.calls().empty());

  auto missing = frameWithManual(prompt, dir, dir.path() + "/none.html", opened);
  ASSERT_NE(missing, nullptr);
  missing->runCommand(app::kCmdHelp);
  EXPECT_EQ(opened.size(), 1);
  ASSERT_EQ(prompt.calls().size(), 1u);
  EXPECT_EQ(prompt.calls()[0].text, "Файл справки не был найден!\nПопробуйте найти его самостоятельно.");
  EXPECT_EQ(prompt.calls()[0].caption, "Не найден файл...");
  EXPECT_EQ(prompt.calls()[0].icon, PromptIcon::Information);
}

TEST(HelpCommand, WithoutABrowserTheMessageSaysSoAndGivesTheManualsPath) {
  QTemporaryDir dir;
  const QString page = dir.path() + "/index.html";
  QFile(page).open(QIODevice::WriteOnly);
  RecordingPrompt prompt;
  QStringList opened;
  auto frame = frameWithManual(prompt, dir, page, opened, false);
  ASSERT_NE(frame, nullptr);
  frame->runCommand(app::kCmdHelp);
  ASSERT_EQ(prompt.count(), 1u);
  EXPECT_EQ(prompt.calls()[0].text,
            "Не удалось запустить браузер для просмотра справки.\n"
            "Руководство пользователя находится в файле:\n" + page.toStdString());
  EXPECT_EQ(prompt.calls()[0].caption, "Справка");
}

TEST(HelpCommand, TheBuildTreeCarriesTheManual) {
  const auto found = app::findManual(ZELMOT_BIN_DIR, "/nonexistent");
  ASSERT_TRUE(found.has_value());
  EXPECT_TRUE(QFile::exists(QString::fromStdString(found->string())));
}

}  // namespace
}  // namespace zelmot::ui::testing
