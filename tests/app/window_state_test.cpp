#include "app/window_state.h"

#include <gtest/gtest.h>

#include "platform/settings.h"
#include "support/temp_folder.h"

namespace zelmot::app {
namespace {

TEST(WindowState, RoundTripsThroughTheSettingsFileIncludingNegativePositions) {
  test_support::TempFolder dir;
  const auto file = dir.path() / "zelmot.ini";
  {
    Settings settings(file);
    EXPECT_FALSE(loadWindowState(settings)) << "nothing stored on the first run";
    ASSERT_TRUE(saveWindowState(settings, {-1200, 35, 900, 640, {250, 120, 300, 90, 90, 200}}));
  }
  Settings again(file);
  ASSERT_EQ(again.load(), SettingsStatus::Ok);
  const auto state = loadWindowState(again);
  ASSERT_TRUE(state);
  EXPECT_EQ(state->x, -1200);
  EXPECT_EQ(state->y, 35);
  EXPECT_EQ(state->width, 900);
  EXPECT_EQ(state->height, 640);
  EXPECT_EQ(state->columnWidths, (std::vector<int>{250, 120, 300, 90, 90, 200}));
}

TEST(WindowState, DamagedValuesAreNotUsed) {
  test_support::TempFolder dir;
  Settings settings(dir.path() / "zelmot.ini");
  ASSERT_TRUE(saveWindowState(settings, {0, 0, 5, 640, {100}}));
  EXPECT_FALSE(loadWindowState(settings)) << "a window too small to see";
  ASSERT_TRUE(saveWindowState(settings, {0, 0, 800, 600, {}}));
  settings.writeString(kWindowStateKey, "Top", "12px");
  EXPECT_FALSE(loadWindowState(settings));
  settings.writeString(kWindowStateKey, "Top", "12");
  settings.writeString(kWindowStateKey, "Columns", "100,x,30");
  const auto state = loadWindowState(settings);
  ASSERT_TRUE(state);
  EXPECT_TRUE(state->columnWidths.empty()) << "bad widths are dropped, the place is kept";
}

}  // namespace
}  // namespace zelmot::app
