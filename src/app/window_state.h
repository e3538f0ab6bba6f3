#pragma once
// The main window's size, position and column widths, kept in the settings between runs.
#include <optional>
#include <string>
#include <vector>

namespace zelmot {
class Settings;
}

namespace zelmot::app {

inline constexpr const char* kWindowStateKey = "Software/Configurator - ZELMOT/ZELMOT/Settings";

struct WindowState {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  std::vector<int> columnWidths;
};

// Nothing when no usable size was stored (the first run, or damaged values).
std::optional<WindowState> loadWindowState(const Settings& settings);
bool saveWindowState(Settings& settings, const WindowState& state);

}  // namespace zelmot::app
