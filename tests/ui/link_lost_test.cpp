// The device goes away in the middle of a read: the task ends once, says why, and the
// status bar shows that there is no link.
#include <gtest/gtest.h>

#include <QAction>
#include <QTimer>
#include <QTemporaryDir>
#include <QFile>
#include <csignal>

#include "app/command_ids.h"
#include "document/zelmot_doc.h"
#include "exchange/exchange_engine.h"
#include "exchange/exchange_texts.h"
#include "exchange/tree_walk.h"
#include "link/device_protocol.h"
#include "link/exchange_retries.h"
#include "model/desc_branch.h"
#include "model/parameter.h"
#include "sim_process.h"

namespace zelmot::ui::testing {
namespace {

TEST(LinkLost, ASimulatorThatDiesMidReadEndsTheTaskWithOneMessage) {
  SimProcess sim;
  ASSERT_FALSE(sim.slavePath().empty());
  FrameFixture fixture(sim.slavePath());
  ASSERT_NE(fixture.frame, nullptr);
  model::DescBranch* root = fixture.frame->document().root();
  ASSERT_NE(root, nullptr);

  // Some parameters are read; then the device is gone.
  const exchange::ExchangeEngine& engine = fixture.frame->document().deviceLink().engine();
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (engine.progressDone() < 20) return;
    watch.stop();
    sim.stop(SIGKILL);
  });
  watch.start(5);
  fixture.frame->action(app::kCmdReadAll)->trigger();

  int lost = 0, lostStart = 0, read = 0, unread = 0;
  exchange::forEachParameter(*root, [&](model::Parameter& p) {
    if (p.errorText() == exchange::kLinkLostText) ++lost;
    if (p.errorText() == link::kLostStartText) ++lostStart;
    if (p.errorText().empty() && !p.hasNoData()) ++read;
    if (p.hasNoData() && p.errorText().empty()) ++unread;
  });
  EXPECT_EQ(lost, 1);
  EXPECT_EQ(lostStart, 0);
  EXPECT_GT(read, 0);
  EXPECT_GT(unread, 0);  // those not reached stay unread

  int messages = 0;
  for (const test_support::PromptCall& message : fixture.prompt.calls()) {
    if (message.text.rfind(exchange::kLinkLostText, 0) == 0) ++messages;
  }
  EXPECT_EQ(messages, 1);
  EXPECT_TRUE(fixture.frame->lastOutcome().noLink());
  EXPECT_EQ(fixture.frame->linkStatus(), "Нет связи с прибором");
}

}  // namespace
TEST(LinkLost, APortThatDoesNotOpenIsToldOnceAndNothingIsMarkedFailed) {
  QTemporaryDir dir;
  const std::string notAPort = (dir.path() + "/not-a-port").toStdString();
  QFile(QString::fromStdString(notAPort)).open(QIODevice::WriteOnly);
  FrameFixture fixture(notAPort);
  ASSERT_NE(fixture.frame, nullptr);
  fixture.frame->action(app::kCmdReadAll)->trigger();
  ASSERT_TRUE(waitUntil([&] { return !fixture.frame->document().deviceLink().tasks().busy(); }));

  int told = 0;
  for (const test_support::PromptCall& message : fixture.prompt.calls()) {
    if (message.text.rfind("Неудается открыть порт " + notAPort + ": ", 0) == 0) {
      ++told;
      EXPECT_EQ(message.caption, link::kOpenFailedCaption);
    }
  }
  EXPECT_EQ(told, 1);
  int failed = 0;
  exchange::forEachParameter(*fixture.frame->document().root(), [&](model::Parameter& p) {
    if (!p.errorText().empty()) ++failed;
  });
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(fixture.frame->linkStatus(), "Нет связи с прибором");
}

}  // namespace zelmot::ui::testing
