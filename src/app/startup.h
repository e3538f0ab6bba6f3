#pragma once
// The steps of program start-up that do not need a window: working folders, the program
// settings a command line changes, the device's registration, the converter type and the
// link set-up of an unattended run. The desktop program and `zelmot-cli legacy` run them
// in the same order.
#include <filesystem>
#include <optional>
#include <string>

#include "app/command_line.h"
#include "link/link_results.h"

namespace zelmot {
class Settings;
class UserPrompt;
}  // namespace zelmot
namespace zelmot::model {
class NetRS485prg;
}
namespace zelmot::document {
class CZELMOTDoc;
}

namespace zelmot::app {

inline constexpr const char* kDevicesKey = "Software/Kavrel/Devices/ZELMOT";
inline constexpr const char* kDescriptionValue = "description";
inline constexpr const char* kApplicationValue = "application";
inline constexpr const char* kDeviceName = "ZELMOT";
// The framework's own settings of the modes a command line may preset.
inline constexpr const char* kModeSettingsKey = "Software/Configurator - ZELMOT/ZELMOT/Settings";
inline constexpr const char* kAutoReadValue = "AutoRead";
inline constexpr const char* kImmediateWriteValue = "ImmediateWrite";
inline constexpr const char* kConverterValue = "RS485type";
inline constexpr const char* kProtocolFolder = "protocol";
inline constexpr const char* kTempFolder = "temp";

// Creates the program's home with "protocol" and "temp" below it.
bool createWorkingFolders(const std::filesystem::path& home, std::string& error);

// Stores the `autoread` / `autowrite` choices of the command line, when given.
void storeModeChoices(Settings& settings, const CommandLine& line);

struct InitialModes {
  bool autoReading = true;
  bool immediateWrite = false;
};
// Automatic reading starts checked unless `silent` or `newnetparam`; immediate write
// follows the stored setting.
InitialModes initialModes(const Settings& settings, const CommandLine& line);

// Copies the network settings of the command line into the program's port settings (only
// while the given-flag is set; each setting only when given).
void applyCommandLineNetwork(const CommandLine& line, model::NetRS485prg& node);

// The question shown when another configurator is registered for the device.
std::string severalConfiguratorsQuestion(const std::string& ownPath, const std::string& storedPath);

// Writes "description" and settles "application": when it names another existing program
// the user is asked whether this one becomes the main one. An unattended run never asks
// (it would stop the job) and keeps the stored reference; an absent reference is filled in.
void registerApplication(Settings& settings, const std::filesystem::path& ownPath,
                         UserPrompt* prompt, bool commandLineMode);

// The converter mode of the serial port: from `rs485` when given ("on": the program
// switches RTS; "auto" and "off": it does not), else the stored RS485type (default 0).
link::ConverterMode converterModeFor(const CommandLine& line, const Settings& settings);
// Keeps the converter mode chosen in the menu as the stored RS485type.
void storeConverterMode(Settings& settings, link::ConverterMode mode);

// Exchange switches, message suppression, the error log and the converter of an
// unattended (or no-exchange) run. False with `error` when the error log cannot be created.
bool configureDocument(const CommandLine& line, const Settings& settings,
                       document::CZELMOTDoc& doc, std::string& error);

struct StartupPlaces {
  std::string dataDir;  // description files; empty: searched as usual
  std::string port;     // port name or device path replacing the saved one
  std::string home;     // the program's home; empty: the usual one
};

// The desktop program's start-up before its window shows the tree, in order: the
// description files, the program's port settings (with `places.port`), the command line's
// mode choices, the working folders (a failure there is only reported on standard error),
// the document's set-up, the registration and the port settings handed to the link. The
// modes the menus start with; none with `error` when no description files were found or
// the document could not be set up.
std::optional<InitialModes> startDocument(const CommandLine& line, const StartupPlaces& places,
                                          Settings& settings, document::CZELMOTDoc& doc,
                                          UserPrompt* prompt, std::string& error);

// The running executable's path (empty when unknown).
std::filesystem::path ownExecutablePath();

}  // namespace zelmot::app
