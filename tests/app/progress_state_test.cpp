// The progress dialog's state: phases, cancel, sizes and the log.
#include "app/progress_state.h"

#include <gtest/gtest.h>

namespace zelmot::app {
namespace {

exchange::ProgressLine line(const std::string& text, int done, int total) {
  return {text, "00:00:07", total ? std::to_string(done) + " из " + std::to_string(total) : "",
          done, total};
}

TEST(ProgressState, CancelSignalsWhileRunningAndClosesDuringThePause) {
  ProgressState state;
  EXPECT_EQ(state.pressCancel(), ProgressState::CancelAction::None);
  state.start(exchange::TaskCode::Read, "Идет чтение параметров из прибора", 10);
  EXPECT_EQ(state.pressCancel(), ProgressState::CancelAction::SignalCancel);
  EXPECT_EQ(state.phase(), ProgressState::Phase::Running);  // the task closes the dialog
  EXPECT_TRUE(state.cancelRequested());
  state.finish();
  EXPECT_EQ(state.phase(), ProgressState::Phase::Closing);
  EXPECT_EQ(state.pressCancel(), ProgressState::CancelAction::CloseNow);
  EXPECT_EQ(state.phase(), ProgressState::Phase::Closed);
  EXPECT_EQ(state.pressCancel(), ProgressState::CancelAction::None);
}

TEST(ProgressState, BriefAndDetailedSizes) {
  ProgressState state;
  state.start(exchange::TaskCode::Compare, "t", 1);
  EXPECT_EQ(state.toggleText(), "Подробно >>");
  EXPECT_EQ(state.heightDlu(), 61);
  state.toggleDetailed();
  EXPECT_EQ(state.toggleText(), "<< Кратко");
  EXPECT_EQ(state.heightDlu(), 176);
  state.start(exchange::TaskCode::Read, "t", 1);  // every task opens brief
  EXPECT_FALSE(state.detailed());
}

TEST(ProgressState, LinesUpdateCounterAndScrollEveryFifth) {
  ProgressState state;
  state.start(exchange::TaskCode::Read, "t", 12);
  int scrolls = 0;
  for (int i = 1; i <= 10; ++i) scrolls += state.addLine(line("  Чтение: x", i, 12)) ? 1 : 0;
  EXPECT_EQ(scrolls, 2);
  EXPECT_EQ(state.counter(), "10 из 12");
  EXPECT_EQ(state.elapsed(), "00:00:07");
  // A line without a total (a header) keeps the counter.
  state.addLine(line("Читаем ветвь 'Входы'", 0, 0));
  EXPECT_EQ(state.counter(), "10 из 12");
  EXPECT_EQ(state.done(), 10);
  EXPECT_EQ(state.lines().size(), 11u);
  state.start(exchange::TaskCode::Read, "t", 3);
  EXPECT_TRUE(state.lines().empty());
  EXPECT_EQ(state.counter(), "");
}

}  // namespace
}  // namespace zelmot::app
