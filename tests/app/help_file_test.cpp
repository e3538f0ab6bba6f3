#include "app/help_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_folder.h"

namespace zelmot::app {
namespace {

TEST(HelpFile, AGivenPageIsTakenOnlyWhenItIsAFileElseTheInstalledManualIsLookedUp) {
  test_support::TempFolder dir;
  const std::filesystem::path given = dir.path() / "manual.html";
  std::ofstream(given) << "<html/>";
  EXPECT_EQ(manualPage(given.string(), {}, {}), given);
  EXPECT_FALSE(manualPage((dir.path() / "none.html").string(), {}, dir.path()))
      << "a named page that is missing is not replaced by another";

  const std::filesystem::path installed = dir.path() / "share" / "doc" / "zelmot";
  std::filesystem::create_directories(installed);
  std::ofstream(installed / kManualStartPage) << "<html/>";
  EXPECT_EQ(manualPage({}, dir.path() / "bin", {}), installed / kManualStartPage);
  EXPECT_FALSE(manualPage({}, {}, {}));
}

}  // namespace
}  // namespace zelmot::app
