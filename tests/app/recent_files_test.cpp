// The recent-files list and its place in the settings store.
#include "app/recent_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/settings.h"
#include "support/temp_folder.h"

namespace zelmot::app {
namespace {

TEST(RecentFiles, MostRecentFirstFourAtMostNoDuplicates) {
  RecentFiles recent;
  for (const char* path : {"/a.zel", "/b.zel", "/c.zel", "/d.zel", "/e.zel"}) recent.add(path);
  EXPECT_EQ(recent.paths(), (std::vector<std::string>{"/e.zel", "/d.zel", "/c.zel", "/b.zel"}));
  recent.add("/c.zel");
  EXPECT_EQ(recent.paths(), (std::vector<std::string>{"/c.zel", "/e.zel", "/d.zel", "/b.zel"}));
  recent.add("");
  EXPECT_EQ(recent.paths().size(), 4u);
  recent.remove("/e.zel");
  EXPECT_EQ(recent.paths(), (std::vector<std::string>{"/c.zel", "/d.zel", "/b.zel"}));
}

TEST(RecentFiles, SurviveTheSettingsStore) {
  const test_support::TempFolder folder;
  const std::filesystem::path& dir = folder.path();
  {
    Settings settings(dir / "zelmot.ini");
    RecentFiles recent;
    recent.add("/x/one.zel");
    recent.add("/x/two.zel");
    ASSERT_TRUE(recent.save(settings));
  }
  Settings settings(dir / "zelmot.ini");
  settings.load();
  RecentFiles loaded;
  loaded.load(settings);
  EXPECT_EQ(loaded.paths(), (std::vector<std::string>{"/x/two.zel", "/x/one.zel"}));
}

TEST(RecentFiles, MenuTextNumbersTheFileName) {
  EXPECT_EQ(RecentFiles::menuText(0, "/home/u/plant.zel"), "&1 plant.zel");
  EXPECT_EQ(RecentFiles::menuText(3, "b.zel"), "&4 b.zel");
}

}  // namespace
}  // namespace zelmot::app
