// Loads arbitrary bytes as the settings file and reads it the way the program does at
// start-up: recent files, window state, modes, the converter and the port settings.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/recent_files.h"
#include "app/startup.h"
#include "app/window_state.h"
#include "document/program_port_settings.h"
#include "model/net_rs485.h"
#include "platform/settings.h"
#include "temp_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelmot;
  const std::filesystem::path path = fuzz::writeTempInput("settings.ini", data, size);
  {
    Settings settings(path);
    if (settings.load() == SettingsStatus::Failed && settings.lastError().empty()) std::abort();

    app::RecentFiles recent;
    recent.load(settings);
    app::loadWindowState(settings);
    const app::CommandLine noSwitches;
    app::initialModes(settings, noSwitches);
    app::converterModeFor(noSwitches, settings);
    model::NetRS485prg node;
    document::loadProgramPortSettings(settings, node);

    std::string text;
    std::uint32_t number = 0;
    std::vector<std::uint8_t> bytes;
    settings.readString(app::kModeSettingsKey, app::kAutoReadValue, text);
    settings.readInt(document::kProgramSettingsKey, app::kConverterValue, number);
    settings.readBinary(document::kProgramSettingsKey, "Password", bytes);
  }
  std::filesystem::remove(path);
  return 0;
}
