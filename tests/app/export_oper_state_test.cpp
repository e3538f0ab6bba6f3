#include "app/export_oper_state.h"

#include <gtest/gtest.h>

namespace zelmot::app {
namespace {

constexpr uintmax_t kGiB = 1ULL << 30;

ExportOperState makeState(std::vector<std::string> days = {"05-12-2026.log", "06-12-2026.log"}) {
  return ExportOperState("/home/u/zelmot", std::move(days), archive::DayDate{6, 12, 2026});
}

TEST(ExportOperState, TooLittleSpaceRefusesWithTheMessageAndStartsNothing) {
  ExportOperState state = makeState();
  ExportEnding refusal;
  EXPECT_FALSE(state.start(399999999, refusal));
  EXPECT_EQ(refusal.message,
            "Недостаточно свободного места на диске!\nВозможное решение: удалить ненужные архивы "
            "данных с помощью кнопки \"Очистить\"!");
  EXPECT_EQ(refusal.caption, "Внимание");
  EXPECT_EQ(refusal.icon, PromptIcon::Stop);
  EXPECT_FALSE(state.running());
  EXPECT_TRUE(state.start(400000000, refusal));
  EXPECT_TRUE(state.running());
}

TEST(ExportOperState, TheBrowserReportGoesToTheTempFolderAndClearsOldPages) {
  ExportOperState state = makeState();
  ExportEnding refusal;
  ASSERT_TRUE(state.start(kGiB, refusal));
  EXPECT_EQ(state.request().output, std::filesystem::path("/home/u/zelmot/temp"));
  EXPECT_TRUE(state.request().clearOldPages);
  EXPECT_EQ(state.request().from, (archive::DayDate{6, 12, 2026}));
}

TEST(ExportOperState, AWorkbookIsNamedByItsDayOrPeriod) {
  ExportOperState state = makeState();
  state.target = archive::ExportTarget::Xlsx;
  state.from = {1, 12, 2026};
  ExportEnding refusal;
  ASSERT_TRUE(state.start(kGiB, refusal));
  EXPECT_EQ(state.request().output.filename(), "01-12-2026_06-12-2026.xlsx");
  state.finish({});

  state.mode = archive::ExportMode::File;
  state.dayIndex = 0;
  ASSERT_TRUE(state.start(kGiB, refusal));
  EXPECT_EQ(state.request().dayName, "05-12-2026.log");
  EXPECT_EQ(state.request().output.filename(), "05-12-2026.xlsx");
}

TEST(ExportOperState, ByFileNeedsAFileToChoose) {
  ExportOperState state = makeState({});
  state.mode = archive::ExportMode::File;
  EXPECT_FALSE(state.canStart());
  state.mode = archive::ExportMode::Period;
  EXPECT_TRUE(state.canStart());
}

TEST(ExportOperState, WhileRunningOnlyCancelWorksAndOnlyOnce) {
  ExportOperState state = makeState();
  EXPECT_FALSE(state.cancel());  // nothing runs: Отмена closes
  ExportEnding refusal;
  ASSERT_TRUE(state.start(kGiB, refusal));
  EXPECT_FALSE(state.choicesEnabled());
  EXPECT_FALSE(state.canStart());
  EXPECT_TRUE(state.cancelEnabled());
  EXPECT_TRUE(state.cancel());
  EXPECT_FALSE(state.cancelEnabled());
}

TEST(ExportOperState, TheEndingOpensTheFirstReportOnlyAfterSuccess) {
  ExportOperState state = makeState();
  archive::ExportResult done;
  done.reports = {"/t/06-12-2026.html", "/t/07-12-2026.html"};
  EXPECT_EQ(state.finish(done).open, std::filesystem::path("/t/06-12-2026.html"));

  archive::ExportResult failed;
  failed.status = archive::ExportStatus::ReportFailed;
  failed.message = "Возможно, что отчет уже открыт!";
  failed.caption = "Ошибка экспортирования отчета";
  const ExportEnding ending = state.finish(failed);
  EXPECT_TRUE(ending.open.empty());
  EXPECT_EQ(ending.message, failed.message);
  EXPECT_EQ(ending.icon, PromptIcon::Exclamation);

  archive::ExportResult cancelled;
  cancelled.status = archive::ExportStatus::Cancelled;
  EXPECT_TRUE(state.finish(cancelled).open.empty());
}

}  // namespace
}  // namespace zelmot::app
