#include "archive/archive_cleanup.h"

#include <gtest/gtest.h>

#include "archive/archive_names.h"
#include "support/file_text.h"
#include "support/temp_folder.h"

namespace zelmot::archive {
namespace {

namespace fs = std::filesystem;

TEST(ArchiveCleanup, MarchDeletesUpToItsMonthAndLeavesWhatNamesNoMonth) {
  test_support::TempFolder dir;
  for (const char* name : {"12-2025.var", "03-2026.var", "04-2026.var", "protocol.var",
                           "ab-cd.var", "01-2026-extra.var", "02-2026.log", "01-2026.var.damaged"}) {
    test_support::writeWholeFile(dir / name, "x");
  }
  EXPECT_EQ(monthlyFilesUpTo(dir.path(), 3, 2026),
            (std::vector<std::string>{"01-2026-extra.var", "03-2026.var", "12-2025.var"}));
  EXPECT_EQ(deleteMonthlyFilesUpTo(dir.path(), 3, 2026), 3);
  EXPECT_FALSE(fs::exists(dir / "12-2025.var"));
  EXPECT_FALSE(fs::exists(dir / "03-2026.var"));
  for (const char* kept : {"04-2026.var", "protocol.var", "ab-cd.var", "02-2026.log",
                           "01-2026.var.damaged"}) {
    EXPECT_TRUE(fs::exists(dir / kept)) << kept;
  }
  EXPECT_EQ(deletedCountText(3), "Количество удаленных файлов: 3.");
}

TEST(ArchiveNames, DaysMonthsAndTheirFiles) {
  std::tm date{};
  date.tm_mday = 6;
  date.tm_mon = 11;
  date.tm_year = 126;
  EXPECT_EQ(dailyLogName(date), "06-12-2026.log");
  EXPECT_EQ(monthlyFileNameOfLog("06-12-2026.log"), "12-2026.var");
  EXPECT_EQ(monthlyFileNameOfLog("notes.log"), "");
  EXPECT_TRUE(isDailyLogName("29-02-2028.LOG"));
  EXPECT_FALSE(isDailyLogName("29-02-2026.log"));
  EXPECT_FALSE(isDailyLogName("06-12-2026.var"));
  EXPECT_FALSE(parseDayName("6-12-2026").has_value());
  EXPECT_EQ(parseDayName("31-12-2025"), (DayDate{31, 12, 2025}));
  EXPECT_FALSE(parseMonthName("13-2026").has_value());
  EXPECT_EQ(parseMonthName("03-2026")->year, 2026);
}

}  // namespace
}  // namespace zelmot::archive
