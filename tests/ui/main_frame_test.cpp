// The main window against the simulator: read-all, edit refusal, compare with navigation,
// cancel, and the file round trip through the File menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <cstdio>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "app/command_ids.h"
#include "document/zelmot_doc.h"
#include "exchange/exchange_engine.h"
#include "exchange/problem_navigation.h"
#include "exchange/tree_walk.h"
#include "model/desc_branch.h"
#include "model/parameter.h"
#include "sim_process.h"
#include "tree_walk_helpers.h"
#include "ui/link_worker.h"
#include "ui/progress_dialog.h"
#include "ui/tree_list_view.h"
#include "ui/tree_model.h"

namespace zelmot::ui::testing {
namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(64, 64, 255);
const QColor kGreen(0, 200, 0);

bool isParameterRow(const app::TreeRow& row) {
  return row.kind() == app::TreeRow::Kind::Parameter && row.parameter() != nullptr;
}

// A STORED_DOT parameter with limits that the device lets us write.
bool writableStoredDot(const model::Parameter& p) {
  return p.valueKind() == model::ValueKind::StoredDot && p.hasLimits() && p.isWritable() &&
         p.editable() && !p.factoryOwned() && p.maximum() > p.minimum() && p.errorText().empty();
}

QModelIndex storedDotWithLimits(TreeModel& model) {
  return findRow(model, [](const app::TreeRow& row) {
    return isParameterRow(row) && row.owningBranch() != nullptr && writableStoredDot(*row.parameter());
  });
}

// A text of the parameter's range other than its current value.
QString otherValue(const model::Parameter& p) {
  const QString low = QString::asprintf("%.3f", p.minimum());
  return QString::fromStdString(p.valueText()) == low ? QString::asprintf("%.3f", p.maximum()) : low;
}

class MainFrameWithSim : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_FALSE(sim.slavePath().empty());
    fixture = std::make_unique<FrameFixture>(sim.slavePath());
    ASSERT_NE(fixture->frame, nullptr);
  }
  CMainFrame& frame() { return *fixture->frame; }
  TreeModel& model() { return frame().treeModel(); }
  void readAll() { frame().action(app::kCmdReadAll)->trigger(); }
  // Reads the branch of the row (the branch command on the current branch).
  void readBranchOf(const QModelIndex& row) {
    frame().view().setCurrentIndex(row);
    frame().action(app::kCmdReadBranch)->trigger();
  }

  SimProcess sim;
  std::unique_ptr<FrameFixture> fixture;
};

TEST_F(MainFrameWithSim, ReadAllFillsValuesAndColours) {
  QElapsedTimer clock;
  clock.start();
  readAll();
  const exchange::TaskOutcome& outcome = frame().lastOutcome();
  std::printf("[ timing ] read of %d parameters took %.1f s\n", outcome.counts.handled,
              static_cast<double>(clock.elapsed()) / 1000.0);
  ASSERT_GT(outcome.successes, 100);
  EXPECT_FALSE(outcome.cancelled);
  int shown = 0;
  int withData = 0;
  forEachRow(model(), [&](const QModelIndex& index) {
    const app::TreeRow* row = model().rowAt(index);
    if (!isParameterRow(*row) || row->owningBranch() == nullptr) return;
    const app::TreeRow* top = row;
    while (top->parent() != nullptr) top = top->parent();
    if (top->branch() != frame().document().root()) return;  // the measurement tree is polled
    ++shown;
    const QString value = index.siblingAtColumn(2).data().toString();
    const QString error = index.siblingAtColumn(5).data().toString();
    const QColor colour = index.data(Qt::ForegroundRole).value<QColor>();
    if (value != "Нет данных") ++withData;
    // A row is red exactly when its last exchange failed.
    EXPECT_EQ(colour == kRed, !error.isEmpty()) << row->parameter()->name();
  });
  EXPECT_GT(withData, shown * 9 / 10);
  EXPECT_FALSE(frame().progressDialog().isVisible());
  EXPECT_TRUE(frame().isDocumentModified());
  EXPECT_TRUE(frame().windowTitle().contains("*"));
}

TEST_F(MainFrameWithSim, OutOfRangeStoredDotEditIsRefusedWithTheRangeAndTheOldTextStays) {
  const QModelIndex row = storedDotWithLimits(model());
  ASSERT_TRUE(row.isValid());
  const model::Parameter& parameter = *model().rowAt(row)->parameter();
  const QModelIndex cell = row.siblingAtColumn(2);
  const QString old = cell.data().toString();
  const QString typed = QString::number(parameter.maximum() + 1000.0, 'f', 1);
  fixture->prompt.clear();
  ASSERT_TRUE(model().setData(cell, typed));
  ASSERT_TRUE(waitUntil([&] { return !fixture->prompt.calls().empty(); }));
  const QString expected =
      QString("Параметру '%1' (%2)\nне может быть присвоено значение '%3'.\n (Значение этого "
              "параметра должно быть вещественным числом и\n должно быть больше %4 и меньше %5)\n")
          .arg(QString::fromStdString(parameter.name()),
               QString::fromStdString(parameter.GetDescription()), typed,
               QString::asprintf("%.3f", parameter.minimum()),
               QString::asprintf("%.3f", parameter.maximum()));
  ASSERT_EQ(fixture->prompt.calls().size(), 1u);
  EXPECT_EQ(QString::fromStdString(fixture->prompt.calls()[0].text), expected);
  EXPECT_EQ(fixture->prompt.calls()[0].caption, "Неудалось изменить параметр");
  EXPECT_EQ(fixture->prompt.calls()[0].icon, PromptIcon::Exclamation);
  EXPECT_EQ(cell.data().toString(), old);
  EXPECT_FALSE(parameter.valueChanged());
}

TEST_F(MainFrameWithSim, AcceptedEditTurnsTheRowGreenAndImmediateWriteSendsIt) {
  QModelIndex row = storedDotWithLimits(model());
  ASSERT_TRUE(row.isValid());
  readBranchOf(row);
  ASSERT_TRUE(writableStoredDot(*model().rowAt(row)->parameter())) << "the device protects it";
  model::Parameter& parameter = *model().rowAt(row)->parameter();
  ASSERT_TRUE(model().setData(row.siblingAtColumn(2), otherValue(parameter)));
  ASSERT_TRUE(waitUntil([&] { return parameter.valueChanged(); }));
  EXPECT_EQ(row.data(Qt::ForegroundRole).value<QColor>(), kGreen);

  frame().action(app::kCmdImmediateWrite)->setChecked(true);
  const QString written = otherValue(parameter);
  ASSERT_TRUE(model().setData(row.siblingAtColumn(2), written));
  ASSERT_TRUE(waitUntil([&] { return !parameter.valueChanged() && !frame().linkWorker().busy(); }));
  EXPECT_TRUE(parameter.errorText().empty()) << parameter.errorText();
  EXPECT_EQ(row.siblingAtColumn(2).data().toString(), written);
  EXPECT_EQ(row.data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 0));
}

TEST_F(MainFrameWithSim, CompareMarksChangedParametersBlueAndNavigationVisitsThemInOrder) {
  // A branch below the root with three parameters the device lets us change.
  const QModelIndex root = model().index(0, 0);
  model().fetchMore(root);
  model::DescBranch* branch = nullptr;
  std::vector<model::Parameter*> changed;
  for (int i = 0; i < model().rowCount(root) && changed.size() < 3; ++i) {
    const QModelIndex child = model().index(i, 0, root);
    if (model().rowAt(child)->kind() != app::TreeRow::Kind::Branch) continue;
    readBranchOf(child);
    branch = model().rowAt(child)->branch();
    changed.clear();
    exchange::forEachParameter(*branch, [&](model::Parameter& p) {
      if (changed.size() < 3 && writableStoredDot(p) &&
          std::find(changed.begin(), changed.end(), &p) == changed.end()) {
        changed.push_back(&p);
      }
    });
  }
  ASSERT_EQ(changed.size(), 3u);
  // Change them in the device only: write another value, then give the configuration its
  // own text back as if nothing had been edited.
  exchange::ExchangeEngine& engine = frame().document().deviceLink().engine();
  for (model::Parameter* p : changed) {
    const std::string old = p->valueText();
    p->setRawValueText(otherValue(*p).toStdString());
    ASSERT_EQ(engine.writeOne(*p, true), 0) << p->name() << " " << p->errorText();
    p->setRawValueText(old);
    p->clearChangeFlags();
  }
  fixture->prompt.clear();
  frame().view().selectRow(model().reveal(branch, nullptr));
  frame().action(app::kCmdCompareBranch)->trigger();
  ASSERT_FALSE(fixture->prompt.calls().empty());
  EXPECT_EQ(fixture->prompt.calls().back().caption, "Результат сравнения");
  EXPECT_EQ(frame().lastOutcome().differenceCount, 3);
  for (model::Parameter* p : changed) {
    EXPECT_EQ(p->errorText().rfind("Знач-е в приборе:", 0), 0u) << p->errorText();
    for (const app::TreeRow* row : model().rows().rowsOf(p)) {
      EXPECT_EQ(model().indexOf(row).data(Qt::ForegroundRole).value<QColor>(), kBlue);
    }
  }
  // From the root, "next" visits every problem parameter in tree order, the three among
  // them, then says there are no more.
  std::vector<model::Parameter*> problems;
  exchange::forEachParameter(*frame().document().root(), [&](model::Parameter& p) {
    if (exchange::isProblemParameter(p) &&
        std::find(problems.begin(), problems.end(), &p) == problems.end()) {
      problems.push_back(&p);
    }
  });
  for (model::Parameter* p : changed) {
    EXPECT_NE(std::find(problems.begin(), problems.end(), p), problems.end());
  }
  frame().view().setCurrentIndex(root);
  fixture->prompt.clear();
  for (model::Parameter* p : problems) {
    frame().action(app::kCmdNextProblem)->trigger();
    const app::TreeRow* selected = model().rowAt(frame().view().currentIndex());
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->parameter(), p) << p->name();
  }
  EXPECT_TRUE(fixture->prompt.calls().empty());
  frame().action(app::kCmdNextProblem)->trigger();
  ASSERT_EQ(fixture->prompt.calls().size(), 1u);
  EXPECT_EQ(fixture->prompt.calls()[0].text, "Нет больше проблемных параметров");
  if (problems.size() >= 2) {
    frame().action(app::kCmdPreviousProblem)->trigger();
    EXPECT_EQ(model().rowAt(frame().view().currentIndex())->parameter(),
              problems[problems.size() - 2]);
  }
}

TEST(MainFrameCancel, CancelStopsALongReadAndClosesTheDialog) {
  SimProcess sim({"--pace", "--baud", "2400"});
  ASSERT_FALSE(sim.slavePath().empty());
  FrameFixture fixture(sim.slavePath(), 5000);
  ASSERT_NE(fixture.frame, nullptr);
  ProgressDialog& dialog = fixture.frame->progressDialog();
  bool visibleWhileRunning = false;
  QTimer::singleShot(800, &dialog, [&] {
    visibleWhileRunning = dialog.isVisible();
    dialog.cancelButton()->click();
  });
  QElapsedTimer clock;
  clock.start();
  fixture.frame->action(app::kCmdReadAll)->trigger();
  const exchange::TaskOutcome& outcome = fixture.frame->lastOutcome();
  EXPECT_TRUE(visibleWhileRunning);
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_LT(outcome.counts.handled, fixture.frame->document().root()->countParameters());
  // Closed at once after the task stopped, not after the 5 s pause.
  EXPECT_LT(clock.elapsed(), 5000);
  EXPECT_FALSE(dialog.isVisible());
}

TEST(MainFrameFile, SaveAndOpenThroughTheFileMenuRestoreTheValues) {
  SimProcess sim;
  ASSERT_FALSE(sim.slavePath().empty());
  FrameFixture fixture(sim.slavePath());
  ASSERT_NE(fixture.frame, nullptr);
  CMainFrame& frame = *fixture.frame;
  const QModelIndex row = storedDotWithLimits(frame.treeModel());
  ASSERT_TRUE(row.isValid());
  frame.view().setCurrentIndex(row);
  frame.action(app::kCmdReadBranch)->trigger();
  ASSERT_NE(frame.treeModel().rowAt(row)->parameter()->valueText(), "Нет данных");
  const model::Parameter& parameter = *frame.treeModel().rowAt(row)->parameter();
  const std::string readValue = parameter.valueText();

  fixture.chosenFile = fixture.dir.path() + "/plant";  // the extension is added
  frame.action(app::kCmdFileSaveAs)->trigger();
  EXPECT_EQ(frame.filePath(), fixture.dir.path() + "/plant.zel");
  EXPECT_FALSE(frame.isDocumentModified());
  EXPECT_EQ(frame.windowTitle(), "plant.zel - Configurator - ZELMOT");

  frame.action(app::kCmdFileNew)->trigger();
  EXPECT_EQ(parameter.valueText(), "Нет данных");
  EXPECT_TRUE(frame.filePath().isEmpty());

  fixture.chosenFile = fixture.dir.path() + "/plant.zel";
  frame.action(app::kCmdFileOpen)->trigger();
  EXPECT_EQ(parameter.valueText(), readValue);
  EXPECT_EQ(row.siblingAtColumn(2).data().toString(), QString::fromStdString(readValue));
  // The file is the first recent entry.
  QStringList recent;
  for (QAction* entry : frame.recentFilesMenu()->actions()) {
    if (entry->objectName() == "recent-file") recent << entry->text();
  }
  ASSERT_FALSE(recent.isEmpty());
  EXPECT_EQ(recent.front(), "&1 plant.zel");
}

TEST(MainFrameFile, ModifiedConfigurationAsksBeforeNewAndCancelKeepsIt) {
  FrameFixture fixture("/dev/null-no-port");
  ASSERT_NE(fixture.frame, nullptr);
  CMainFrame& frame = *fixture.frame;
  const QModelIndex row = storedDotWithLimits(frame.treeModel());
  ASSERT_TRUE(row.isValid());
  model::Parameter& parameter = *frame.treeModel().rowAt(row)->parameter();
  const QString value = QString::asprintf("%.3f", parameter.minimum());
  ASSERT_TRUE(frame.treeModel().setData(row.siblingAtColumn(2), value));
  ASSERT_TRUE(waitUntil([&] { return frame.isDocumentModified(); }));
  fixture.prompt.clear();
  fixture.prompt.answerQuestionsWith(PromptAnswer::Cancel);
  frame.action(app::kCmdFileNew)->trigger();
  ASSERT_EQ(fixture.prompt.calls().size(), 1u);
  EXPECT_EQ(fixture.prompt.calls()[0].text, "Сохранить изменения в Безымянный?");
  EXPECT_EQ(parameter.valueText(), value.toStdString());
  fixture.prompt.answerQuestionsWith(PromptAnswer::No);
  frame.action(app::kCmdFileNew)->trigger();
  EXPECT_EQ(parameter.valueText(), "Нет данных");
}

TEST(MainFrameFile, TaskCommandsAreOffWhileALinkJobRunsSoTheDocumentIsNeverReplacedUnderIt) {
  FrameFixture fixture("/dev/null-no-port");
  ASSERT_NE(fixture.frame, nullptr);
  CMainFrame& frame = *fixture.frame;
  ASSERT_TRUE(waitUntil([&] { return !frame.linkWorker().busy(); }));
  fixture.chosenFile = fixture.dir.path() + "/job.zel";
  frame.action(app::kCmdFileSaveAs)->trigger();
  ASSERT_EQ(frame.filePath(), fixture.chosenFile);
  std::atomic<bool> release{false};
  ASSERT_TRUE(frame.linkWorker().run(
      [&release] {
        while (!release.load()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
      },
      {}));
  for (const int command : {app::kCmdFileNew, app::kCmdFileOpen, app::kCmdReadAll,
                            app::kCmdCheckLink, app::kCmdConverterAutomatic}) {
    EXPECT_FALSE(frame.action(command)->isEnabled()) << command;
  }
  frame.runCommand(app::kCmdFileNew);  // from the view's own menu: ignored as well
  EXPECT_EQ(frame.filePath(), fixture.chosenFile);
  // An open asked for meanwhile waits for the job's end instead of spinning events.
  frame.openFile(fixture.chosenFile);
  EXPECT_EQ(frame.taskController().waitingSteps(), 1u);
  release.store(true);
  ASSERT_TRUE(waitUntil([&] { return frame.action(app::kCmdFileNew)->isEnabled(); }));
  ASSERT_TRUE(waitUntil([&] { return frame.taskController().waitingSteps() == 0; }));
  EXPECT_TRUE(frame.action(app::kCmdAbout)->isEnabled()) << "no task command: never off";
  EXPECT_TRUE(frame.action(app::kCmdCalibration)->isEnabled());
  frame.action(app::kCmdFileNew)->trigger();
  EXPECT_TRUE(frame.filePath().isEmpty());
}

TEST(MainFrameMenu, CarriesTheShortcutsAndDisablesCommandsNotBuiltYet) {
  FrameFixture fixture("/dev/null-no-port");
  ASSERT_NE(fixture.frame, nullptr);
  CMainFrame& frame = *fixture.frame;
  const struct {
    int id;
    const char* shortcut;
  } shortcuts[] = {{app::kCmdFileNew, "Ctrl+N"},       {app::kCmdReadAll, "Alt+R"},
                   {app::kCmdReadBranch, "Ctrl+Alt+R"}, {app::kCmdNextProblem, "Alt+Down"},
                   {app::kCmdPreviousProblem, "Alt+Up"}, {app::kCmdCheckLink, "Alt+N"}};
  for (const auto& expected : shortcuts) {
    ASSERT_NE(frame.action(expected.id), nullptr) << expected.id;
    EXPECT_EQ(frame.action(expected.id)->shortcut(), QKeySequence(expected.shortcut)) << expected.id;
  }
  EXPECT_TRUE(frame.action(app::kCmdCalibration)->isEnabled());
  EXPECT_TRUE(frame.action(app::kCmdAbout)->isEnabled());
  EXPECT_TRUE(frame.action(app::kCmdChangePasswords)->isEnabled());
  EXPECT_TRUE(frame.action(app::kCmdSendAply)->isEnabled());
  EXPECT_TRUE(frame.action(app::kCmdAutoReading)->isChecked());
  EXPECT_TRUE(frame.action(app::kCmdShowLinearIndexes)->isCheckable());
}

TEST(MainFrameMenu, BranchCommandWithoutASelectedBranchIsRefused) {
  FrameFixture fixture("/dev/null-no-port");
  ASSERT_NE(fixture.frame, nullptr);
  // The service node, after the device tree and the measurement tree.
  fixture.frame->view().setCurrentIndex(fixture.frame->treeModel().index(2, 0));
  fixture.frame->action(app::kCmdReadBranch)->trigger();
  ASSERT_EQ(fixture.prompt.calls().size(), 1u);
  EXPECT_EQ(fixture.prompt.calls()[0].text, "Ветвь не определена");
  EXPECT_EQ(fixture.prompt.calls()[0].caption, "Операция невозможна");
}

}  // namespace
}  // namespace zelmot::ui::testing
