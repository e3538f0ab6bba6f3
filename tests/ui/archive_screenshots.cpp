// The measurement archive in the window: start-up packs the older daily logs and shows the
// current one on the archive node; the node's switch; the dialog "Очистка данных" as a PNG
// file for a reviewer to look at.
#include <gtest/gtest.h>

#include <QDateEdit>
#include <QDir>
#include <QTemporaryDir>

#include "app/cleanup_state.h"
#include "app/protocol_archive.h"
#include "archive/archive_names.h"
#include "archive/local_clock.h"
#include "document/zelmot_doc.h"
#include "model/parameter.h"
#include "support/file_text.h"
#include "support/fixed_clock.h"
#include "support/recording_prompt.h"
#include "ui/cleanup_dialog.h"
#include "ui/main_frame.h"

namespace zelmot::ui::testing {
namespace {

namespace fs = std::filesystem;

QString shotPath(const char* name) {
  QDir().mkpath(ZELMOT_SCREENSHOT_DIR);
  return QString(ZELMOT_SCREENSHOT_DIR) + "/" + name;
}

TEST(ArchiveInWindow, StartUpPacksOlderLogsAndTheNodeShowsTodaysLog) {
  QTemporaryDir dir;
  const fs::path home = dir.path().toStdString();
  test_support::writeWholeFile(home / "protocol" / "01-01-2026.log", "a day long gone");
  FrameOptions options;
  options.dataDir = ZELMOT_BIN_DIR;
  options.port = (home / "no-port").string();
  options.settingsPath = (home / "zelmot.ini").string();
  options.linkCheckAtStart = false;
  options.home = home.string();
  test_support::RecordingPrompt prompt;
  CMainFrame frame(prompt, options);
  std::string error;
  ASSERT_TRUE(frame.initialise(error)) << error;

  EXPECT_FALSE(fs::exists(home / "protocol" / "01-01-2026.log"));
  EXPECT_TRUE(fs::exists(home / "protocol" / "01-2026.var"));
  const std::string today = archive::dailyLogName(archive::SystemLocalClock().now());
  EXPECT_EQ(frame.document().archiveNode().valueText(), today);
  EXPECT_EQ(frame.document().archiveNode().GetDescription(), "Имя файла для сохранения протокола");
  ASSERT_NE(frame.protocolArchive(), nullptr);
  EXPECT_FALSE(frame.protocolArchive()->enabled());
  frame.setArchiveSwitch(true);
  EXPECT_TRUE(frame.protocolArchive()->enabled());
  frame.setArchiveSwitch(false);
  EXPECT_FALSE(frame.protocolArchive()->enabled());
}

TEST(ArchiveScreenshots, CleanupDialog) {
  QTemporaryDir dir;
  app::CleanupState state(dir.path().toStdString(), test_support::FixedClock(15, 3, 2026).now());
  CleanupDialog dialog(state);
  dialog.show();
  EXPECT_EQ(dialog.monthPicker()->date().month(), 3);
  EXPECT_TRUE(dialog.grab().save(shotPath("archive_cleanup_dialog.png")));
}

}  // namespace
}  // namespace zelmot::ui::testing
