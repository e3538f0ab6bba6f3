#include "app/window_state.h"

#include <charconv>

#include "platform/settings.h"

namespace zelmot::app {
namespace {

constexpr int kMinimumSize = 100;
constexpr int kMaximumSize = 20000;

// Positions may be negative on a desktop with a screen left of the first one, so they are
// kept as text rather than as DWORD values.
std::optional<int> readNumber(const Settings& settings, const char* name) {
  std::string text;
  if (settings.readString(kWindowStateKey, name, text) != SettingsStatus::Ok) return std::nullopt;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::vector<int> parseWidths(const std::string& text) {
  std::vector<int> widths;
  const char* at = text.data();
  const char* end = text.data() + text.size();
  while (at < end) {
    int width = 0;
    const auto [next, error] = std::from_chars(at, end, width);
    if (error != std::errc() || width <= 0 || width > kMaximumSize) return {};
    widths.push_back(width);
    at = next;
    if (at < end && *at++ != ',') return {};
  }
  return widths;
}

bool usableSize(int size) { return size >= kMinimumSize && size <= kMaximumSize; }

}  // namespace

std::optional<WindowState> loadWindowState(const Settings& settings) {
  const auto x = readNumber(settings, "Left");
  const auto y = readNumber(settings, "Top");
  const auto width = readNumber(settings, "Width");
  const auto height = readNumber(settings, "Height");
  if (!x || !y || !width || !height || !usableSize(*width) || !usableSize(*height)) return std::nullopt;
  WindowState state{*x, *y, *width, *height, {}};
  std::string columns;
  if (settings.readString(kWindowStateKey, "Columns", columns) == SettingsStatus::Ok) {
    state.columnWidths = parseWidths(columns);
  }
  return state;
}

bool saveWindowState(Settings& settings, const WindowState& state) {
  std::string columns;
  for (const int width : state.columnWidths) {
    if (!columns.empty()) columns += ',';
    columns += std::to_string(width);
  }
  bool ok = true;
  const std::pair<const char*, int> numbers[] = {
      {"Left", state.x}, {"Top", state.y}, {"Width", state.width}, {"Height", state.height}};
  for (const auto& [name, value] : numbers) {
    ok = settings.writeString(kWindowStateKey, name, std::to_string(value)) == SettingsStatus::Ok && ok;
  }
  return settings.writeString(kWindowStateKey, "Columns", columns) == SettingsStatus::Ok && ok;
}

}  // namespace zelmot::app
