// Renders the protocol export dialog into a PNG file, for a reviewer to look at.
#include <gtest/gtest.h>

#include <QDir>
#include <fstream>

#include "support/recording_prompt.h"
#include "support/temp_folder.h"
#include "ui/export_oper_dialog.h"

namespace zelmot::ui::testing {
namespace {

TEST(ExportScreenshots, ExportDialog) {
  test_support::TempFolder home;
  std::filesystem::create_directories(home / "protocol");
  for (const char* day : {"04-12-2026.log", "05-12-2026.log", "06-12-2026.log"}) {
    std::ofstream(home / "protocol" / day) << "";
  }
  test_support::RecordingPrompt prompt;
  CExportOperDlg::Services services;
  services.home = home.path();
  CExportOperDlg dialog(std::move(services), prompt);
  dialog.resize(460, dialog.sizeHint().height());
  dialog.show();
  QDir().mkpath(ZELMOT_SCREENSHOT_DIR);
  EXPECT_TRUE(dialog.grab().save(QString(ZELMOT_SCREENSHOT_DIR) + "/export_dialog.png"));
}

}  // namespace
}  // namespace zelmot::ui::testing
