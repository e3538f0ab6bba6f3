// The progress dialog driven through the relay, as the exchange thread drives it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include "exchange/progress_sink.h"
#include "platform/event.h"
#include "sim_process.h"
#include "ui/progress_dialog.h"
#include "ui/progress_relay.h"

namespace zelmot::ui::testing {
namespace {

class ProgressDialogTest : public ::testing::Test {
protected:
  ProgressDialogTest() : dialog(cancel) {
    dialog.connectRelay(relay);
    dialog.setClosingPause(300);
  }
  void startRead(int total) {
    relay.taskStarted(exchange::TaskCode::Read, "Идет чтение параметров из прибора", total);
    dialog.show();
    QCoreApplication::processEvents();
  }
  void line(const char* text, int done, int total) {
    relay.logLine({text, "00:00:01", std::to_string(done) + " из " + std::to_string(total), done,
                   total});
  }

  Event cancel{Event::Reset::Manual};
  ProgressRelay relay;
  ProgressDialog dialog;
};

TEST_F(ProgressDialogTest, ShowsTitleCounterAndBar) {
  startRead(10);
  line("  Чтение: r.oe = 1.000", 3, 10);
  QCoreApplication::processEvents();
  EXPECT_EQ(dialog.windowTitle(), "Идет чтение параметров из прибора");
  EXPECT_EQ(dialog.counterLabel()->text(), "3 из 10");
  EXPECT_EQ(dialog.elapsedLabel()->text(), "00:00:01");
  EXPECT_EQ(dialog.progressBar()->maximum(), 10);
  EXPECT_EQ(dialog.progressBar()->value(), 3);
  EXPECT_EQ(dialog.logList()->count(), 1);
}

TEST_F(ProgressDialogTest, DetailsButtonTogglesTheLogAndTheHeight) {
  startRead(10);
  EXPECT_EQ(dialog.toggleButton()->text(), "Подробно >>");
  EXPECT_FALSE(dialog.logList()->isVisible());
  const int briefHeight = dialog.height();
  dialog.toggleButton()->click();
  EXPECT_EQ(dialog.toggleButton()->text(), "<< Кратко");
  EXPECT_TRUE(dialog.logList()->isVisible());
  EXPECT_GT(dialog.height(), briefHeight * 2);
  const int width = dialog.width();
  dialog.toggleButton()->click();
  EXPECT_EQ(dialog.height(), briefHeight);
  EXPECT_EQ(dialog.width(), width);
}

TEST_F(ProgressDialogTest, CancelWhileRunningSignalsTheTaskAndKeepsTheDialog) {
  startRead(10);
  dialog.cancelButton()->click();
  EXPECT_TRUE(cancel.isSet());
  EXPECT_TRUE(dialog.isVisible());
  // The task stops and finishes: the dialog closes without the pause.
  relay.taskFinished();
  QCoreApplication::processEvents();
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ProgressDialogTest, ClosesByItselfAfterThePauseOrAtOnceOnCancel) {
  startRead(2);
  relay.taskFinished();
  QCoreApplication::processEvents();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(waitUntil([&] { return !dialog.isVisible(); }, 3000));

  startRead(2);
  relay.taskFinished();
  QCoreApplication::processEvents();
  ASSERT_TRUE(dialog.isVisible());
  dialog.cancelButton()->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FALSE(cancel.isSet());  // nothing left to cancel
}

TEST_F(ProgressDialogTest, ANewTaskStartsWithAnEmptyLogInBriefSize) {
  startRead(5);
  line("a", 1, 5);
  dialog.toggleButton()->click();
  relay.taskFinished();
  QCoreApplication::processEvents();
  startRead(7);
  EXPECT_EQ(dialog.logList()->count(), 0);
  EXPECT_EQ(dialog.toggleButton()->text(), "Подробно >>");
  EXPECT_EQ(dialog.progressBar()->maximum(), 7);
  EXPECT_TRUE(dialog.cancelButton()->isEnabled());
}

TEST_F(ProgressDialogTest, TheLongestTaskTitleFitsTheWindowWidth) {
  const QString title = "Идет сравнение параметров в конфигурации и в приборе";
  relay.taskStarted(exchange::TaskCode::Compare, title.toStdString(), 10);
  dialog.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(dialog.windowTitle(), title);
  QFont bold = dialog.font();
  bold.setBold(true);
  // The title bar also holds the close button and the icon.
  EXPECT_GE(dialog.width(), QFontMetrics(bold).horizontalAdvance(title) + 100);
}

}  // namespace
}  // namespace zelmot::ui::testing
