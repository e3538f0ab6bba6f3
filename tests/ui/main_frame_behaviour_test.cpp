// The main window's behaviour around its jobs and its state: the summary after failed
// parameters, keys that belong to an open editor, the remembered window, and closing
// while a worker waits for an answer.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <atomic>

#include "app/command_ids.h"
#include "app/edit_state.h"
#include "document/zelmot_doc.h"
#include "exchange/problem_navigation.h"
#include "model/desc_branch.h"
#include "sim_process.h"
#include "tree_walk_helpers.h"
#include "ui/link_worker.h"
#include "ui/qt_prompt.h"
#include "ui/tree_list_view.h"
#include "ui/tree_model.h"

namespace zelmot::ui::testing {
namespace {

FrameOptions optionsLike(const FrameFixture& fixture) {
  FrameOptions options;
  options.dataDir = ZELMOT_BIN_DIR;
  options.port = "/dev/null-no-port";
  options.settingsPath = (fixture.dir.path() + "/zelmot.ini").toStdString();
  options.linkCheckAtStart = false;
  return options;
}

TEST(MainFrameTask, FailedParametersAreCountedAndTheUserCanJumpToTheFirst) {
  SimProcess sim({"--baud", "115200"});
  ASSERT_FALSE(sim.slavePath().empty());
  FrameFixture fixture(sim.slavePath());
  ASSERT_NE(fixture.frame, nullptr);
  CMainFrame& frame = *fixture.frame;
  fixture.prompt.answerQuestionsWith(PromptAnswer::Yes);
  // Nothing has a value yet: every parameter is refused before it is sent.
  frame.action(app::kCmdWriteAll)->trigger();
  const int failed = frame.lastOutcome().errors;
  ASSERT_GT(failed, 0);
  ASSERT_FALSE((fixture.prompt.count() == 0));
  const test_support::PromptCall summary = fixture.prompt.calls().back();
  EXPECT_EQ(summary.caption, "Задание выполнено с ошибками");
  EXPECT_EQ(summary.text, "Параметров с ошибками: " + std::to_string(failed) +
                              ".\nПерейти к первому проблемному параметру?");
  model::DescBranch* root = frame.document().root();
  const exchange::NavigationResult first = exchange::findProblemParameter(
      *root, {root, nullptr}, exchange::NavigationDirection::Next);
  ASSERT_TRUE(first.found);
  const app::TreeRow* selected = frame.treeModel().rowAt(frame.view().currentIndex());
  ASSERT_NE(selected, nullptr);
  EXPECT_EQ(selected->parameter(), first.place.parameter);
}

TEST(MainFrameKeys, ShortcutsOfTheWindowDoNotFireWhileAnEditorIsOpen) {
  FrameFixture fixture("/dev/null-no-port");
  ASSERT_NE(fixture.frame, nullptr);
  CMainFrame& frame = *fixture.frame;
  frame.show();
  frame.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  TreeModel& model = frame.treeModel();
  const QModelIndex row = findRow(model, [](const app::TreeRow& shown) {
    return shown.kind() == app::TreeRow::Kind::Parameter && shown.parameter() != nullptr &&
           app::valueEditable(*shown.parameter());
  });
  ASSERT_TRUE(row.isValid());
  const QModelIndex cell = row.siblingAtColumn(2);
  ASSERT_TRUE(model.flags(cell) & Qt::ItemIsEditable);
  frame.view().setCurrentIndex(cell);
  frame.view().edit(cell);
  QWidget* editor = QApplication::focusWidget();
  ASSERT_NE(editor, nullptr);
  ASSERT_TRUE(frame.view().viewport()->isAncestorOf(editor)) << "no editor opened";
  fixture.prompt.clear();
  QTest::keyClick(editor, Qt::Key_Down, Qt::AltModifier);  // "next problem"
  QTest::keyClick(editor, Qt::Key_Up, Qt::AltModifier);    // "previous problem"
  QApplication::processEvents();
  EXPECT_TRUE((fixture.prompt.count() == 0)) << fixture.prompt.calls().front().text;
  EXPECT_EQ(frame.view().currentIndex().row(), cell.row());
  // Outside the editor the shortcut works as before.
  QTest::keyClick(&frame.view(), Qt::Key_Escape);
  QTest::keyClick(&frame.view(), Qt::Key_Down, Qt::AltModifier);
  EXPECT_FALSE((fixture.prompt.count() == 0) && frame.view().currentIndex() == cell);
}

TEST(MainFrameState, PlaceSizeAndColumnWidthsAreRememberedBetweenRuns) {
  FrameFixture fixture("/dev/null-no-port");
  ASSERT_NE(fixture.frame, nullptr);
  fixture.frame->setGeometry(40, 50, 900, 610);
  fixture.frame->view().header()->resizeSection(1, 137);
  fixture.frame->view().header()->resizeSection(2, 211);
  ASSERT_TRUE(fixture.frame->close());
  fixture.frame.reset();

  CMainFrame again(fixture.prompt, optionsLike(fixture));
  std::string error;
  ASSERT_TRUE(again.initialise(error)) << error;
  EXPECT_EQ(again.geometry(), QRect(40, 50, 900, 610));
  EXPECT_EQ(again.view().header()->sectionSize(1), 137);
  EXPECT_EQ(again.view().header()->sectionSize(2), 211);
}

TEST(MainFrameClose, ClosingWhileAWorkerWaitsOnAQuestionCancelsItAndEndsTheWorker) {
  FrameFixture fixture("/dev/null-no-port");  // only for its folder
  QtPrompt prompt;
  CMainFrame frame(prompt, optionsLike(fixture));
  std::string error;
  ASSERT_TRUE(frame.initialise(error)) << error;
  frame.connectPrompt(prompt);
  frame.show();
  std::atomic<int> answer{-1};
  ASSERT_TRUE(frame.linkWorker().run(
      [&] {
        answer.store(static_cast<int>(
            prompt.ask("Продолжить?", "ZELMOT", PromptIcon::Question, PromptButtons::YesNo)));
      },
      {}));
  bool closeAsked = false;
  bool stuck = false;
  QTimer watch;
  watch.setInterval(50);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box != nullptr && !closeAsked) {
      closeAsked = true;
      frame.close();  // from inside the question's own event loop, as a click would
    }
  });
  watch.start();
  // Should the box stay, it is answered after a while so that the test ends.
  QTimer::singleShot(10000, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      stuck = true;
      box->done(QMessageBox::No);
    }
  });
  ASSERT_TRUE(waitUntil([&] { return closeAsked && !frame.isVisible(); }, 15000));
  EXPECT_FALSE(stuck) << "the question stayed open";
  EXPECT_EQ(answer.load(), static_cast<int>(PromptAnswer::Cancel));
  EXPECT_FALSE(frame.linkWorker().busy());
}

}  // namespace
}  // namespace zelmot::ui::testing
