// Renders the APLY dialog, the program's network settings and the single-parameter poll
// after a read into PNG files, for a reviewer to look at.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>

#include "app/aply_state.h"
#include "app/serial_port_list.h"
#include "document/zelmot_doc.h"
#include "model/parameter.h"
#include "sim_process.h"
#include "ui/apply_dialog.h"
#include "ui/link_worker.h"
#include "ui/program_network_dialog.h"
#include "ui/qt_text.h"
#include "ui/single_point_dialog.h"

namespace zelmot::ui::testing {
namespace {

QString shotPath(const char* name) {
  QDir().mkpath(ZELMOT_SCREENSHOT_DIR);
  return QString(ZELMOT_SCREENSHOT_DIR) + "/" + name;
}

TEST(StartupScreenshots, AplyProgramNetworkAndSinglePoint) {
  SimProcess sim;
  ASSERT_FALSE(sim.slavePath().empty());
  FrameFixture fixture(sim.slavePath());
  ASSERT_NE(fixture.frame, nullptr);
  document::CZELMOTDoc& doc = fixture.frame->document();

  // The device's network settings as a read leaves them, then the dialog over them.
  for (model::Parameter* parameter : doc.deviceNetwork().parameters()) {
    doc.deviceLink().engine().readOne(*parameter);
  }
  app::AplyState state;
  CApply aply(state, toQt(app::AplyState::newParametersText(doc.deviceNetwork())));
  aply.show();
  EXPECT_TRUE(aply.grab().save(shotPath("aply_dialog.png")));

  ProgramNetworkDialog network(doc.programNetwork(), app::listSerialPorts(), false, fixture.prompt);
  network.show();
  EXPECT_TRUE(network.grab().save(shotPath("program_network.png")));

  const exchange::SinglePointPoll poll(doc.deviceLink(), doc.deviceModel().catalogue());
  CSinglePoint single(poll, fixture.frame->linkWorker(), fixture.prompt, {});
  single.show();
  single.commandBox()->setCurrentText("n.Err");
  single.execute();
  ASSERT_TRUE(waitUntil([&] { return !single.busy(); }));
  EXPECT_TRUE(single.grab().save(shotPath("single_point_n_err.png")));
  fixture.frame->linkWorker().join();
}

}  // namespace
}  // namespace zelmot::ui::testing
