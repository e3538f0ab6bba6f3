// A bulk task on a port that cannot be opened ends at once as "no link", said once with
// the port and the system's reason; no parameter is touched.
#include "exchange/device_link.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <system_error>

#include "scripted_transport.h"
#include "platform/os_error.h"

namespace zelmot::exchange::testing {
namespace {

namespace fs = std::filesystem;

TEST(DeviceLinkTask, PortThatIsAFileOrFolderEndsTheTaskWithTheReason) {
  const fs::path folder = fs::temp_directory_path() / ("zelmot_link_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const fs::path file = folder / "not_a_port";
  std::ofstream(file) << "data";
  struct Case {
    fs::path path;
    int error;
  };
  for (const Case& c : {Case{file, ENOTTY}, Case{folder, EISDIR}}) {
    TestTree tree;
    model::Parameter& parameter = tree.add(tree.root, "r.oe", "5");
    DeviceLink link;
    link.port().setPortName(c.path.string());
    const TaskOutcome outcome = link.runTask(TaskCode::Read, &tree.root);
    EXPECT_TRUE(outcome.started) << c.path;
    EXPECT_TRUE(outcome.noLink()) << c.path;
    EXPECT_EQ(outcome.portFailureText.rfind("Неудается открыть порт " + c.path.string(), 0), 0u)
        << outcome.portFailureText;
    const std::string reason = std::error_code(c.error, std::generic_category()).message();
    EXPECT_NE(outcome.portFailureText.find(reason), std::string::npos) << outcome.portFailureText;
    EXPECT_EQ(outcome.counts.handled, 0) << c.path;
    EXPECT_EQ(parameter.valueText(), "5");
    EXPECT_EQ(parameter.errorText(), "");
  }
  EXPECT_EQ(fs::file_size(file), 4u);  // the "port" was never written
  fs::remove_all(folder);
}

}  // namespace
}  // namespace zelmot::exchange::testing
