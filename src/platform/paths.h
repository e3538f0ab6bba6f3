#pragma once
// Where the program keeps and finds its files: its home (archive "protocol", "temp"), the
// settings file, the folder of the executable and the folder of the description files.
// Nothing is ever written beside the executable.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zelmot {

// The program's home: $ZELMOT_HOME, else $XDG_DATA_HOME/zelmot, else ~/.local/share/zelmot.
// Only computed; create it with ensureDir. Empty when no home folder can be found.
std::filesystem::path programHomeDir();

// The settings file: $ZELMOT_CONFIG_DIR/zelmot.ini, else $XDG_CONFIG_HOME/zelmot/zelmot.ini,
// else ~/.config/zelmot/zelmot.ini. Empty when no home folder can be found.
std::filesystem::path defaultSettingsPath();

// The folder that holds the running executable (from /proc/self/exe); empty on failure.
std::filesystem::path executableDir();

// The install prefix compiled in (ZELMOT_INSTALL_PREFIX), /usr/local by default.
std::filesystem::path defaultInstallPrefix();

// The first folder holding `requiredFile` as a regular file, searched in $ZELMOT_DATA_DIR,
// then beside the executable, then <installPrefix>/share/zelmot.
std::optional<std::filesystem::path> findDataDir(
    std::string_view requiredFile, const std::filesystem::path& installPrefix = defaultInstallPrefix());

// Creates the folder and every missing parent with mode 0700 (existing folders keep their
// mode). False with the reason in `error` (when given) if it cannot be done or a part of
// the path is not a folder.
bool ensureDir(const std::filesystem::path& dir, std::string* error = nullptr);

}  // namespace zelmot
