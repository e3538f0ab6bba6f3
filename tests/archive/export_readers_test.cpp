// The reports as other programs read them: the workbook in openpyxl, the pages in a
// headless browser. Skipped where the reader is not installed.
#include <gtest/gtest.h>

#include "archive/export_job.h"
#include "export_fixtures.h"
#include "platform/event.h"
#include "support/child_process.h"
#include "support/file_text.h"
#include "support/temp_folder.h"

namespace zelmot::archive {
namespace {

using test::floatReply;
using test::stampAt;

constexpr const char* kPython = "/usr/bin/python3";
constexpr const char* kChromium = "/usr/bin/chromium";

constexpr const char* kWorkbookDump = R"(import sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
for sheet in book.worksheets:
    print("sheet", sheet.title, sheet.freeze_panes)
    for row in sheet.iter_rows():
        print("|".join("%s:%s:%s" % (type(c.value).__name__, c.value, c.fill.fgColor.rgb)
                       for c in row))
    print("widths", sheet.column_dimensions["A"].width > 8, sheet.column_dimensions["C"].width >= 16)
)";

// Runs a program and returns its standard output; `status` gets its exit status.
std::string runReader(const std::vector<std::string>& argv, const test_support::TempFolder& folder,
                      int& status) {
  test_support::ChildProcess child(argv, folder / "reader.out", folder / "reader.err");
  status = child.wait();
  return test_support::readWholeFile(folder / "reader.out") +
         test_support::readWholeFile(folder / "reader.err");
}

class ExportReadersTest : public ::testing::Test {
protected:
  ExportReadersTest() : folders_(archiveFoldersIn(home_.path())) {
    for (const int day : {6, 7}) {
      test::writeDay(folders_.protocol / dailyLogName(DayDate{day, 12, 2026}),
                     {{stampAt(10, 0, 0, day), "rEAd", 0, false, floatReply(20.5F)},
                      {stampAt(10, 0, 0, day), "rEAd", 1, false, {0xFD}},
                      {stampAt(10, 0, 0, day), "r.Cn", 0, false, {5}},
                      {stampAt(10, 0, 1, day), "r.oe", 0, true, {}},
                      {stampAt(11, 0, 0, day), "rEAd", 0, false, floatReply(1)}});
    }
  }
  ExportResult run(ExportTarget target, const std::filesystem::path& output) {
    ExportRequest request;
    request.from = {6, 12, 2026};
    request.to = {7, 12, 2026};
    request.target = target;
    request.output = output;
    return runExport(request, folders_, test::sampleColumns(), cancel_, nullptr, nullptr);
  }

  test_support::TempFolder home_;
  ArchiveFolders folders_;
  Event cancel_{Event::Reset::Manual};
};

TEST_F(ExportReadersTest, TheWorkbookOpensInOpenpyxlWithTheSameTable) {
  if (!std::filesystem::exists(kPython)) GTEST_SKIP() << "no " << kPython;
  const std::filesystem::path book = home_ / "out" / "report.xlsx";
  const ExportResult result = run(ExportTarget::Xlsx, book);
  ASSERT_EQ(result.status, ExportStatus::Done) << result.message;
  test_support::writeWholeFile(home_ / "dump.py", kWorkbookDump);
  int status = -1;
  const std::string dump = runReader({kPython, (home_ / "dump.py").string(), book.string()}, home_, status);
  ASSERT_EQ(status, 0) << dump;
  const std::string header =
      "str:Время:FF33CC99|str:rEAd:FF33CC99|str:rEAd:FF33CC99|str:r.oe:FF33CC99|"
      "str:r.Cn\n(порядок: 6-5-4-3-2-1):FF33CC99\n";
  const std::string expectedDay =
      header +
      "datetime:2026-12-0D 10:00:00:FFCCFFFF|float:20.5:FFCCFFFF|str:Обрыв датчика.:FFCCFFFF|"
      "str::FFCCFFFF|str:'000101':FFCCFFFF\n"
      "datetime:2026-12-0D 10:00:01:FFFFFFCC|str::FFFFFFCC|str::FFFFFFCC|"
      "str:Таймаут при передаче данных:FFFFBFBF|str::FFFFFFCC\n"
      "datetime:2026-12-0D 11:00:00:FFCCFFFF|int:1:FFCCFFFF|str::FFCCFFFF|str::FFCCFFFF|"
      "str::FFCCFFFF\n"
      "widths True True\n";
  std::string expected;
  for (const char day : {'6', '7'}) {
    std::string sheet = expectedDay;
    for (size_t at = sheet.find("0D"); at != std::string::npos; at = sheet.find("0D", at)) {
      sheet[at + 1] = day;
    }
    expected += std::string("sheet 0") + day + "-12-2026 A2\n" + sheet;
  }
  // openpyxl reads an empty inline string as None or an empty text, depending on its version.
  std::string normalised = dump;
  for (size_t at = normalised.find("NoneType:None"); at != std::string::npos;
       at = normalised.find("NoneType:None", at)) {
    normalised.replace(at, 13, "str:");
  }
  EXPECT_EQ(normalised, expected);
}

TEST_F(ExportReadersTest, ACancelledWorkbookLeavesTheFileThatWasThere) {
  const std::filesystem::path book = home_ / "report.xlsx";
  test_support::writeWholeFile(book, "keep");
  cancel_.set();
  EXPECT_EQ(run(ExportTarget::Xlsx, book).status, ExportStatus::Cancelled);
  EXPECT_EQ(test_support::readWholeFile(book), "keep");
  EXPECT_FALSE(std::filesystem::exists(home_ / ".report.xlsx.partial"));

  cancel_.reset();
  ASSERT_EQ(run(ExportTarget::Xlsx, book).status, ExportStatus::Done);
  EXPECT_EQ(test_support::readWholeFile(book).substr(0, 2), "PK") << "a whole workbook";
}

TEST_F(ExportReadersTest, ABadWorkbookPathIsReported) {
  const ExportResult result = run(ExportTarget::Xlsx, "/proc/no/such/report.xlsx");
  EXPECT_EQ(result.status, ExportStatus::ReportFailed);
  EXPECT_NE(result.message.find("/proc/no/such/report.xlsx"), std::string::npos);
  EXPECT_EQ(result.caption, "Ошибка экспортирования отчета");
}

TEST_F(ExportReadersTest, ThePagesRenderInAHeadlessBrowser) {
  if (!std::filesystem::exists(kChromium)) GTEST_SKIP() << "no " << kChromium;
  const ExportResult result = run(ExportTarget::Html, folders_.scratch);
  ASSERT_EQ(result.status, ExportStatus::Done);
  const std::filesystem::path shot = home_ / "page.png";
  int status = -1;
  const std::string output = runReader(
      {kChromium, "--headless", "--no-sandbox", "--disable-gpu", "--screenshot=" + shot.string(),
       "--window-size=900,300", "file://" + result.reports[0].string()},
      home_, status);
  if (status != 0 && !std::filesystem::exists(shot)) GTEST_SKIP() << "browser failed: " << output;
  EXPECT_GT(std::filesystem::file_size(shot), 1000u);
  if (const char* keep = std::getenv("ZELMOT_KEEP_REPORT_SHOT")) {
    std::filesystem::copy_file(shot, keep, std::filesystem::copy_options::overwrite_existing);
  }
}

}  // namespace
}  // namespace zelmot::archive
