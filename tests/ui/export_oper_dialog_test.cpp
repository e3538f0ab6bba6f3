#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "archive/day_source.h"
#include "archive/log_record.h"
#include "sim_process.h"
#include "support/file_text.h"
#include "support/recording_prompt.h"
#include "support/temp_folder.h"
#include "ui/export_oper_dialog.h"

namespace zelmot::ui::testing {
namespace {

class FakeArchive final : public archive::ArchiveSwitch {
public:
  bool enabled() const override { return on; }
  void setEnabled(bool value) override {
    on = value;
    ++changes;
  }
  bool on = false;
  int changes = 0;
};

class ExportDialogTest : public ::testing::Test {
protected:
  ExportDialogTest() {
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 6;
    local.tm_hour = 9;
    const archive::LogRecord record{archive::logTimeStamp(local), "rEAd", 0, false, {0x41, 0x48, 0, 0}};
    const std::vector<uint8_t> bytes = archive::encodeLogRecord(record);
    test_support::writeWholeFile(home_ / "protocol" / "06-12-2026.log",
                                 std::string(bytes.begin(), bytes.end()));
  }
  CExportOperDlg::Services services(uintmax_t space = uintmax_t{1} << 40) {
    CExportOperDlg::Services made;
    made.home = home_.path();
    model::MyConverter input;
    input.setName("rEAd");
    input.setTypeDescriptor("STORED_DOT");
    made.columns = {archive::makeExportColumn(input, 0)};
    made.archive = &archive_;
    made.openReport = [this](const std::filesystem::path& path) {
      opened_ = path;
      return true;
    };
    made.freeSpace = [space](const std::filesystem::path&) { return space; };
    return made;
  }

  test_support::TempFolder home_;
  test_support::RecordingPrompt prompt_;
  FakeArchive archive_;
  std::filesystem::path opened_;
};

TEST_F(ExportDialogTest, ControlsStartWithTheFirstFilterAndTheBrowser) {
  CExportOperDlg dialog(services(), prompt_);
  EXPECT_EQ(dialog.windowTitle(), "Экспорт протокола измерений");
  EXPECT_TRUE(dialog.byPeriodButton()->isChecked());
  EXPECT_TRUE(dialog.browserButton()->isChecked());
  EXPECT_EQ(dialog.filterBox()->count(), 6);
  EXPECT_EQ(dialog.filterBox()->currentText(), "Все оперативные параметры протокола");
  EXPECT_EQ(dialog.dayBox()->count(), 1);
  EXPECT_EQ(dialog.dayBox()->itemText(0), "06-12-2026.log");
  EXPECT_FALSE(dialog.dayBox()->isEnabled());
  EXPECT_TRUE(dialog.okButton()->toolTip().contains("Начать экспорт данных"));
  EXPECT_TRUE(dialog.okButton()->toolTip().contains("250"));
  EXPECT_TRUE(dialog.cancelButton()->toolTip().contains("Отменить экспорт данных"));
  EXPECT_TRUE(dialog.cleanupButton()->toolTip().contains("Очистка архива данных"));
  dialog.byFileButton()->setChecked(true);
  EXPECT_TRUE(dialog.dayBox()->isEnabled());
  EXPECT_FALSE(dialog.fromEdit()->isEnabled());
}

TEST_F(ExportDialogTest, AnExportByFileOpensTheFirstPageAndSetsTheArchiveBack) {
  archive_.on = true;
  CExportOperDlg dialog(services(), prompt_);
  dialog.byFileButton()->setChecked(true);
  dialog.okButton()->click();
  EXPECT_TRUE(dialog.exporting());
  EXPECT_FALSE(dialog.okButton()->isEnabled());
  EXPECT_FALSE(dialog.filterBox()->isEnabled());
  EXPECT_TRUE(dialog.cancelButton()->isEnabled());
  ASSERT_TRUE(waitUntil([&] { return !dialog.exporting(); }));
  EXPECT_EQ(opened_, home_ / "temp" / "06-12-2026.html");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.dayBar()->value(), 100);
  EXPECT_TRUE(archive_.on);
  EXPECT_EQ(archive_.changes, 2);  // off for the export, then back on
  EXPECT_EQ(prompt_.count(), 0u);
}

TEST_F(ExportDialogTest, TooLittleSpaceShowsTheWarningAndStartsNothing) {
  CExportOperDlg dialog(services(399999999), prompt_);
  dialog.okButton()->click();
  EXPECT_FALSE(dialog.exporting());
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.calls()[0].caption, "Внимание");
  EXPECT_EQ(archive_.changes, 0);
}

TEST_F(ExportDialogTest, AMissingDayIsReportedWithItsPath) {
  CExportOperDlg dialog(services(), prompt_);
  dialog.fromEdit()->setDate(QDate(2026, 1, 1));
  dialog.toEdit()->setDate(QDate(2026, 1, 1));
  dialog.okButton()->click();
  ASSERT_TRUE(waitUntil([&] { return !dialog.exporting(); }));
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.calls()[0].caption, "Ошибка экспортирования отчета");
  EXPECT_NE(prompt_.calls()[0].text.find("01-01-2026.log"), std::string::npos);
  EXPECT_TRUE(opened_.empty());
}

TEST_F(ExportDialogTest, CleanupOpensTheArchiveCleanup) {
  CExportOperDlg::Services made = services();
  QWidget* openedOver = nullptr;
  made.openCleanup = [&openedOver](QWidget* parent) { openedOver = parent; };
  CExportOperDlg dialog(std::move(made), prompt_);
  dialog.cleanupButton()->click();
  EXPECT_EQ(openedOver, &dialog);
}

TEST_F(ExportDialogTest, CancelWithoutAnExportCloses) {
  CExportOperDlg dialog(services(), prompt_);
  dialog.show();
  dialog.cancelButton()->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace zelmot::ui::testing
