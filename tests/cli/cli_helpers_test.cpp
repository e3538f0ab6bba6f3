// The CLI's own helpers: the progress line, port and output messages, and which compare
// differences count.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "cli/device_line.h"
#include "cli/output_path.h"
#include "cli/self_changing.h"
#include "cli/terminal_progress.h"
#include "exchange/compare_texts.h"
#include "exchange/exchange_texts.h"
#include "model/desc_branch.h"
#include "model/parameter.h"
#include "support/temp_folder.h"

namespace zelmot::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

exchange::ProgressLine progressAt(int done, int total) {
  exchange::ProgressLine line;
  line.done = done;
  line.total = total;
  line.elapsed = "00:00:07";
  return line;
}

TEST(CliProgress, BarShowsShareCountTimeAndBranchWithinTheWidth) {
  EXPECT_EQ(progressBarLine(progressAt(50, 100), "Регуляторы", 80),
            "[##########----------] 50/100 00:00:07 Регуляторы");
  EXPECT_EQ(progressBarLine(progressAt(0, 0), "", 80), "[--------------------] 0/0 00:00:07");
  EXPECT_EQ(progressBarLine(progressAt(100, 100), "", 80).substr(0, 22), "[####################]");
  // Cut by characters, not bytes: a Cyrillic name is never split inside a letter.
  EXPECT_EQ(progressBarLine(progressAt(1, 2), "Регуляторы", 42),
            "[##########----------] 1/2 00:00:07 Регуля");
}

TEST(CliProgress, BranchComesFromTheBranchLinesOnly) {
  EXPECT_EQ(branchOfLogLine("Читаем ветвь 'Регулятор 1 (0)'"), "Регулятор 1 (0)");
  EXPECT_EQ(branchOfLogLine("Сравниваем ветвь 'Входы'"), "Входы");
  EXPECT_EQ(branchOfLogLine("Чтение: SP:0 = 12.500"), "");
  EXPECT_EQ(branchOfLogLine("Пишем ветвь '"), "");
}

TEST(CliProgress, WindowRemarksStayOutOfTheTerminal) {
  EXPECT_EQ(terminalLogText(exchange::kTaskDoneText), "Задание выполнено.");
  EXPECT_EQ(terminalLogText("Чтение: ver = 3.07"), "Чтение: ver = 3.07");
}

TEST(CliDeviceLine, MessagesNameThePortOnceAndTheReason) {
  const std::string listed = noPortText({{"/dev/ttyUSB0", "FTDI FT232R"}, {"/dev/ttyS1", ""}});
  EXPECT_THAT(listed, HasSubstr("--port"));
  EXPECT_THAT(listed, HasSubstr("\n  /dev/ttyUSB0"));
  EXPECT_THAT(listed, HasSubstr("\n  /dev/ttyS1\n"));
  EXPECT_THAT(noPortText({}), HasSubstr("не найдены"));
}

TEST(CliOutputPath, WritableFoldersAndFilesPassOthersAreNamed) {
  test_support::TempFolder folder;
  const std::filesystem::path& dir = folder.path();
  EXPECT_EQ(unwritableOutputText((dir / "new.zel").string()), "");
  EXPECT_THAT(unwritableOutputText((dir / "missing" / "a.zel").string()),
              HasSubstr("Не удается записать файл \"" + (dir / "missing" / "a.zel").string() + "\": "));
  EXPECT_NE(unwritableOutputText(dir.string()), "");  // a folder is no file
}

class CliSelfChanging : public ::testing::Test {
protected:
  model::DescBranch branch;
  model::Parameter clock, counter, measured, setPoint;

  void SetUp() override {
    clock.setName("rtC");
    counter.setName("n.Err");
    measured.setName("rEAd");
    setPoint.setName("SP");
    for (model::Parameter* parameter : {&clock, &counter, &measured, &setPoint}) {
      branch.addParameter(parameter);
    }
  }
  static void mark(model::Parameter& parameter) {
    parameter.setErrorText(std::string(exchange::kMismatchPrefix) + " '1'");
  }
};

TEST_F(CliSelfChanging, OnlyOtherParametersCountAsDifferences) {
  mark(clock);
  mark(counter);
  SelfChangingDifferences found = selfChangingDifferences(branch, 2);
  EXPECT_THAT(found.names, ::testing::ElementsAre("rtC", "n.Err"));
  EXPECT_FALSE(found.otherDifferences);
  EXPECT_EQ(selfChangingNote(found), "Изменяются сами по себе (не считаются отличием): rtC, n.Err");

  mark(setPoint);
  EXPECT_TRUE(selfChangingDifferences(branch, 3).otherDifferences);
  EXPECT_FALSE(selfChangingDifferences(branch, 0).otherDifferences);
}

TEST_F(CliSelfChanging, UnmarkedDifferencesBeyondTheDescribedOnesAreExplainedWhenTheyCan) {
  // Eleven differences, two of them marked self-changing: nine unexplained by one unmarked
  // self-changing parameter (rEAd) remain real.
  mark(clock);
  mark(counter);
  EXPECT_TRUE(selfChangingDifferences(branch, exchange::kDescribedDifferences + 1).otherDifferences);
}

}  // namespace
}  // namespace zelmot::cli
