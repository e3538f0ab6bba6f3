#include <gtest/gtest.h>

#include "archive/day_source.h"
#include "archive/log_record.h"
#include "platform/code_page.h"
#include "process_helpers.h"

namespace zelmot::cli::testing {
namespace {

class CliArchiveExport : public ::testing::Test {
protected:
  void writeDay(const std::string& name) {
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 6;
    local.tm_hour = 14;
    const int64_t stamp = archive::logTimeStamp(local);
    std::string bytes;
    for (const archive::LogRecord& record :
         {archive::LogRecord{stamp, "rEAd", 2, false, {0x41, 0x48, 0, 0}},
          archive::LogRecord{stamp, "r.oe", 0, true, {}}}) {
      const std::vector<uint8_t> one = archive::encodeLogRecord(record);
      bytes.append(one.begin(), one.end());
    }
    writeText(work_.dir() / "protocol" / name, bytes);
  }

  Workspace work_;
};

TEST_F(CliArchiveExport, ADayBecomesPagesInTheGivenFolder) {
  writeDay("06-12-2026.log");
  const RunResult run = work_.cliOffline(
      {"archive", "export", "--day", "06-12-2026", "--format", "html", "-o", work_.path("pages")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("06-12-2026.html"), std::string::npos);
  const std::string page = cp1251ToUtf8(readText(work_.dir() / "pages" / "06-12-2026.html"));
  EXPECT_NE(page.find("<STRONG>r.Cn (порядок: 6-5-4-3-2-1)</STRONG>"), std::string::npos);
  EXPECT_NE(page.find(">14:00:00</TD><TD bgColor=\"#ccffff\">&nbsp;</TD><TD bgColor=\"#ccffff\">"
                      "&nbsp;</TD><TD bgColor=\"#ccffff\">12.500</TD>"),
            std::string::npos);
  EXPECT_NE(page.find("<TD bgColor=\"#ffbfbf\">Таймаут при передаче данных</TD>"), std::string::npos);
  EXPECT_NE(page.find("<P>Часы:&nbsp;<FONT color=\"#006600\"><STRONG>14</STRONG></FONT></P>"),
            std::string::npos);
}

TEST_F(CliArchiveExport, APeriodGoesIntoOneWorkbookWithAFilter) {
  writeDay("06-12-2026.log");
  const RunResult run = work_.cliOffline({"archive", "export", "--from", "05-12-2026", "--to",
                                          "07-12-2026", "--filter", "5", "--format", "xlsx", "-o",
                                          work_.path("report.xlsx")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_GT(std::filesystem::file_size(work_.dir() / "report.xlsx"), 1000u);
}

TEST_F(CliArchiveExport, BadDatesFiltersAndMissingDaysAreRefused) {
  const std::vector<std::vector<std::string>> usages = {
      {"--day", "31-02-2026", "--format", "html", "-o", "x"},
      {"--format", "html", "-o", "x"},
      {"--from", "07-12-2026", "--to", "06-12-2026", "--format", "html", "-o", "x"},
      {"--day", "06-12-2026", "--from", "06-12-2026", "--to", "07-12-2026", "--format", "html", "-o", "x"},
      {"--day", "06-12-2026", "--filter", "6", "--format", "html", "-o", "x"},
      {"--day", "06-12-2026", "--format", "pdf", "-o", "x"},
  };
  for (const auto& usage : usages) {
    std::vector<std::string> args = {"archive", "export"};
    args.insert(args.end(), usage.begin(), usage.end());
    EXPECT_EQ(work_.cliOffline(args).exitCode, 2) << usage[1];
  }
  const RunResult missing = work_.cliOffline(
      {"archive", "export", "--day", "01-01-2026", "--format", "html", "-o", work_.path("pages")});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_NE(missing.err.find("Ошибка экспортирования отчета"), std::string::npos);
  EXPECT_NE(missing.err.find("01-01-2026.log"), std::string::npos);
}

}  // namespace
}  // namespace zelmot::cli::testing
