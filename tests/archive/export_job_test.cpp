#include "archive/export_job.h"

#include <gtest/gtest.h>

#include "archive/archive_packing.h"
#include "archive/export_space.h"
#include "archive/measurement_archive.h"
#include "archive/html_report.h"
#include "export_fixtures.h"
#include "platform/code_page.h"
#include "platform/event.h"
#include "support/file_text.h"
#include "support/fixed_clock.h"
#include "support/temp_folder.h"

namespace zelmot::archive {
namespace {

using test::floatReply;
using test::stampAt;

class FakeSwitch final : public ArchiveSwitch {
public:
  explicit FakeSwitch(bool on) : on_(on) {}
  bool enabled() const override { return on_; }
  void setEnabled(bool on) override { on_ = on; }

private:
  bool on_;
};

class RecordingProgress final : public ExportProgress {
public:
  explicit RecordingProgress(const ArchiveSwitch* archive = nullptr) : archive_(archive) {}
  void progress(int day, int total) override {
    calls.emplace_back(day, total);
    if (archive_ != nullptr && archive_->enabled()) archiveOnDuringExport = true;
  }
  std::vector<std::pair<int, int>> calls;
  bool archiveOnDuringExport = false;

private:
  const ArchiveSwitch* archive_;
};

class ExportJobTest : public ::testing::Test {
protected:
  ExportJobTest() : folders_(archiveFoldersIn(home_.path())) {}

  ExportRequest dayRequest(int day = 6) const {
    ExportRequest request;
    request.from = request.to = DayDate{day, 12, 2026};
    request.output = folders_.scratch;
    return request;
  }
  ExportResult run(const ExportRequest& request, ExportProgress* progress = nullptr,
                   ArchiveSwitch* archive = nullptr) {
    return runExport(request, folders_, test::sampleColumns(), cancel_, progress, archive);
  }
  std::string page(const std::string& name) const {
    return cp1251ToUtf8(test_support::readWholeFile(folders_.scratch / name));
  }
  void writeSampleDay(int day = 6) {
    test::writeDay(folders_.protocol / dailyLogName(DayDate{day, 12, 2026}),
                   {{stampAt(10, 0, 0, day), "rEAd", 0, false, floatReply(20.5F)},
                    {stampAt(10, 0, 0, day), "r.oe", 0, false, floatReply(1)},
                    {stampAt(10, 0, 0, day), "r.Cn", 0, false, {5}},
                    {stampAt(10, 0, 1, day), "rEAd", 1, true, {}},
                    {stampAt(12, 30, 0, day), "rEAd", 0, false, floatReply(21)}});
  }

  test_support::TempFolder home_;
  ArchiveFolders folders_;
  Event cancel_{Event::Reset::Manual};
};

TEST_F(ExportJobTest, ADayWrittenByTheRecordCodecBecomesOnePagePerHour) {
  writeSampleDay();
  const ExportResult result = run(dayRequest());
  ASSERT_EQ(result.status, ExportStatus::Done) << result.message;
  ASSERT_EQ(result.reports.size(), 1u);
  EXPECT_EQ(result.reports[0], folders_.scratch / "06-12-2026.html");
  const std::string first = page("06-12-2026.html");
  EXPECT_NE(first.find("<TR>\n<TD bgColor=\"#ccffff\">10:00:00</TD><TD bgColor=\"#ccffff\">"
                       "20.500</TD><TD bgColor=\"#ccffff\">&nbsp;</TD><TD bgColor=\"#ccffff\">"
                       "1.000</TD><TD bgColor=\"#ccffff\">'000101'</TD></TR>\n"),
            std::string::npos);
  EXPECT_NE(first.find("<TD bgColor=\"#ffffcc\">10:00:01</TD><TD bgColor=\"#ffffcc\">&nbsp;</TD>"
                       "<TD bgColor=\"#ffbfbf\">Таймаут при передаче данных</TD>"),
            std::string::npos);
  EXPECT_NE(first.find("<P>Часы:&nbsp;<FONT color=\"#006600\"><STRONG>10</STRONG></FONT>"
                       "&nbsp;<A href=\"06-12-2026(1).html\">12</A></P>\n"),
            std::string::npos);
  EXPECT_NE(page("06-12-2026(1).html").find("12:30:00"), std::string::npos);
}

TEST_F(ExportJobTest, ADayMadeByHandFromTheRecordLayoutReads) {
  const int64_t stamp = stampAt(8, 15, 0);
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<uint8_t>(static_cast<uint64_t>(stamp) >> (8 * i)));
  const char name[8] = {'r', '.', 'o', 'e', 0, 'X', 'Y', 'Z'};  // after the zero: no meaning
  bytes.insert(bytes.end(), name, name + 8);
  bytes.insert(bytes.end(), {0, 0, 4, 0x40, 0x20, 0x00, 0x00});  // index 0, no error, 2.5
  bytes.insert(bytes.end(), bytes.begin(), bytes.begin() + 16);   // same stamp and name
  bytes.insert(bytes.end(), {0, 1, 1, 0x27});                     // error with a catalogue code
  test::writeBytes(folders_.protocol / "06-12-2026.log", bytes);

  ExportRequest request = dayRequest();
  request.mode = ExportMode::File;
  request.dayName = "06-12-2026.log";
  ASSERT_EQ(run(request).status, ExportStatus::Done);
  const std::string first = page("06-12-2026.html");
  EXPECT_NE(first.find("<TD bgColor=\"#ccffff\">08:15:00</TD><TD bgColor=\"#ccffff\">&nbsp;</TD>"
                       "<TD bgColor=\"#ccffff\">&nbsp;</TD><TD bgColor=\"#ccffff\">2.500</TD>"),
            std::string::npos);
  EXPECT_EQ(first.find("Неверная контрольная сумма"), std::string::npos);  // first record wins
}

TEST_F(ExportJobTest, APackedDayIsUnpackedReadAndItsCopyRemoved) {
  writeSampleDay(5);
  ASSERT_EQ(packDailyLog(folders_.protocol, "05-12-2026.log").status, MonthlyStatus::Ok);
  ASSERT_FALSE(std::filesystem::exists(folders_.protocol / "05-12-2026.log"));
  writeSampleDay(6);  // today's log, not packed
  EXPECT_EQ(listDayNames(folders_), (std::vector<std::string>{"05-12-2026.log", "06-12-2026.log"}));

  ExportRequest request = dayRequest(5);
  request.to = DayDate{6, 12, 2026};
  const ExportResult result = run(request);
  ASSERT_EQ(result.status, ExportStatus::Done) << result.message;
  ASSERT_EQ(result.reports.size(), 2u);
  EXPECT_NE(page("05-12-2026.html").find("20.500"), std::string::npos);
  EXPECT_NE(page("06-12-2026.html").find("20.500"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(folders_.scratch / "05-12-2026.log"));
}

TEST_F(ExportJobTest, TheMeasurementArchiveIsPausedThroughItsSwitch) {
  writeSampleDay();
  test_support::FixedClock clock(6, 12, 2026);
  MeasurementArchive measurements(folders_.protocol, clock);
  ArchiveSwitchOf<MeasurementArchive> archive(measurements);
  measurements.setEnabled(true);
  RecordingProgress progress(&archive);
  ASSERT_EQ(run(dayRequest(), &progress, &archive).status, ExportStatus::Done);
  EXPECT_FALSE(progress.archiveOnDuringExport);
  EXPECT_TRUE(measurements.enabled());
}

TEST_F(ExportJobTest, FilterFiveKeepsOnlyTheOutputElements) {
  writeSampleDay();
  ExportRequest request = dayRequest();
  request.filter = 5;
  ASSERT_EQ(run(request).status, ExportStatus::Done);
  const std::string first = page("06-12-2026.html");
  EXPECT_NE(first.find("<STRONG>r.oe</STRONG>"), std::string::npos);
  EXPECT_EQ(first.find("rEAd"), std::string::npos);
  EXPECT_EQ(first.find("10:00:01"), std::string::npos);  // that second had no r.oe
}

TEST_F(ExportJobTest, TheArchiveIsPausedAndThenSetBackToWhatItWas) {
  writeSampleDay();
  for (const bool before : {true, false}) {
    FakeSwitch archive(before);
    RecordingProgress progress(&archive);
    ASSERT_EQ(run(dayRequest(), &progress, &archive).status, ExportStatus::Done);
    EXPECT_FALSE(progress.calls.empty());
    EXPECT_FALSE(progress.archiveOnDuringExport);
    EXPECT_EQ(archive.enabled(), before);
  }
}

TEST_F(ExportJobTest, ProgressRisesToAHundredPercent) {
  writeSampleDay(6);
  writeSampleDay(7);
  ExportRequest request = dayRequest();
  request.to = DayDate{7, 12, 2026};
  RecordingProgress progress;
  ASSERT_EQ(run(request, &progress).status, ExportStatus::Done);
  ASSERT_FALSE(progress.calls.empty());
  for (size_t i = 1; i < progress.calls.size(); ++i) {
    EXPECT_GE(progress.calls[i].second, progress.calls[i - 1].second);
  }
  EXPECT_EQ(progress.calls.back(), std::make_pair(100, 100));
}

TEST_F(ExportJobTest, CancelStopsBeforeTheFirstRecordAndOpensNothing) {
  writeSampleDay();
  cancel_.set();
  FakeSwitch archive(true);
  const ExportResult result = run(dayRequest(), nullptr, &archive);
  EXPECT_EQ(result.status, ExportStatus::Cancelled);
  EXPECT_TRUE(result.reports.empty());
  EXPECT_EQ(page("06-12-2026.html").find("10:00:00"), std::string::npos);
  EXPECT_TRUE(archive.enabled());
}

TEST_F(ExportJobTest, AMissingDayNamesTheLogItLookedFor) {
  const ExportResult result = run(dayRequest());
  EXPECT_EQ(result.status, ExportStatus::NoDay);
  EXPECT_EQ(result.message, (folders_.protocol / "06-12-2026.log").string());
  EXPECT_EQ(result.caption, "Ошибка экспортирования отчета");
}

TEST_F(ExportJobTest, APeriodExportsEveryDayThatExists) {
  writeSampleDay(6);
  writeSampleDay(8);
  ExportRequest request = dayRequest(5);
  request.to = DayDate{9, 12, 2026};
  const ExportResult result = run(request);
  ASSERT_EQ(result.status, ExportStatus::Done);
  ASSERT_EQ(result.reports.size(), 2u);
  EXPECT_EQ(result.reports[1].filename(), "08-12-2026.html");
}

TEST_F(ExportJobTest, ADamagedLogExportsWhatPrecedesTheDamageAndSaysSo) {
  writeSampleDay();
  test::writeBytes(folders_.protocol / "06-12-2026.log", {1, 2, 3}, true);
  const ExportResult result = run(dayRequest());
  EXPECT_EQ(result.status, ExportStatus::Done);
  EXPECT_EQ(result.damagedDays, std::vector<std::string>{"06-12-2026.log"});
  EXPECT_NE(result.message.find("06-12-2026.log"), std::string::npos);
  EXPECT_NE(page("06-12-2026(1).html").find("12:30:00"), std::string::npos);
}

TEST_F(ExportJobTest, OldPagesOfTheFolderGoFirstOtherFilesStay) {
  writeSampleDay();
  test_support::writeWholeFile(folders_.scratch / "01-01-2026(3).html", "old");
  test_support::writeWholeFile(folders_.scratch / "notes.txt", "keep");
  ExportRequest request = dayRequest();
  request.clearOldPages = true;
  ASSERT_EQ(run(request).status, ExportStatus::Done);
  EXPECT_FALSE(std::filesystem::exists(folders_.scratch / "01-01-2026(3).html"));
  EXPECT_TRUE(std::filesystem::exists(folders_.scratch / "notes.txt"));
}

TEST(ExportDays, APeriodRunsOverMonthEndsAndAReversedOneIsItsFirstDay) {
  ExportRequest request;
  request.from = {30, 1, 2026};
  request.to = {2, 2, 2026};
  EXPECT_EQ(exportDayNames(request),
            (std::vector<std::string>{"30-01-2026.log", "31-01-2026.log", "01-02-2026.log",
                                      "02-02-2026.log"}));
  std::swap(request.from, request.to);
  EXPECT_EQ(exportDayNames(request), std::vector<std::string>{"02-02-2026.log"});
  request.mode = ExportMode::File;
  request.dayName = "05-11-2026.log";
  EXPECT_EQ(exportDayNames(request), std::vector<std::string>{"05-11-2026.log"});
}

TEST(ExportDays, TitlesAreRealDatesAndNameTheirMonthlyFile) {
  EXPECT_TRUE(parseDayName("29-02-2028").has_value());
  EXPECT_FALSE(parseDayName("29-02-2026").has_value());
  EXPECT_FALSE(parseDayName("06-12-2026x").has_value());
  EXPECT_EQ(monthlyTitleOfLog("06-12-2026.log"), "12-2026");
  EXPECT_EQ(titleOfDayName("06-12-2026.log"), "06-12-2026");
}

TEST(ExportSpace, FourHundredMillionBytesAreEnough) {
  EXPECT_TRUE(enoughSpaceForExport(400000000));
  EXPECT_FALSE(enoughSpaceForExport(399999999));
  test_support::TempFolder folder;
  EXPECT_GT(availableSpaceAt(folder / "not" / "yet"), 0u);  // measured on the nearest parent
}

TEST(ExportFilters, TextsAndNamesOfTheList) {
  EXPECT_STREQ(exportFilterText(0), "Все оперативные параметры протокола");
  EXPECT_STREQ(exportFilterText(4), "Только ПС (r.OUt)");
  EXPECT_STREQ(exportFilterName(1), "read");
  const std::vector<ExportColumn> kept = columnsForFilter(test::sampleColumns(), 1);
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[1].index, 1);
  EXPECT_EQ(columnsForFilter(test::sampleColumns(), 0).size(), 4u);
}

}  // namespace
}  // namespace zelmot::archive
