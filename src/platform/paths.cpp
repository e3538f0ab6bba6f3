#include "platform/paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

#include "platform/os_error.h"

#ifndef ZELMOT_INSTALL_PREFIX
#define ZELMOT_INSTALL_PREFIX "/usr/local"
#endif

namespace zelmot {
namespace {

namespace fs = std::filesystem;

constexpr const char* kAppFolder = "zelmot";

// An environment variable that is set and not empty; XDG treats empty ones as unset.
std::optional<fs::path> envPath(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return fs::path(value);
}

// XDG base folders must be absolute; a relative one is ignored as the XDG rules say.
std::optional<fs::path> xdgPath(const char* name) {
  auto path = envPath(name);
  if (path && path->is_relative()) return std::nullopt;
  return path;
}

fs::path homeDir() {
  if (auto home = envPath("HOME")) return *home;
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      found->pw_dir && *found->pw_dir) {
    return fs::path(found->pw_dir);
  }
  return {};
}

fs::path underHome(const char* relative) {
  const fs::path home = homeDir();
  return home.empty() ? fs::path() : home / relative / kAppFolder;
}

bool isRegularFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

}  // namespace

fs::path programHomeDir() {
  if (auto home = envPath("ZELMOT_HOME")) return *home;
  if (auto data = xdgPath("XDG_DATA_HOME")) return *data / kAppFolder;
  return underHome(".local/share");
}

fs::path defaultSettingsPath() {
  constexpr const char* kFileName = "zelmot.ini";
  if (auto dir = envPath("ZELMOT_CONFIG_DIR")) return *dir / kFileName;
  if (auto config = xdgPath("XDG_CONFIG_HOME")) return *config / kAppFolder / kFileName;
  const fs::path dir = underHome(".config");
  return dir.empty() ? fs::path() : dir / kFileName;
}

fs::path executableDir() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : exe.parent_path();
}

fs::path defaultInstallPrefix() { return fs::path(ZELMOT_INSTALL_PREFIX); }

std::optional<fs::path> findDataDir(std::string_view requiredFile, const fs::path& installPrefix) {
  std::vector<fs::path> candidates;
  if (auto dir = envPath("ZELMOT_DATA_DIR")) candidates.push_back(*dir);
  if (auto dir = executableDir(); !dir.empty()) candidates.push_back(dir);
  if (!installPrefix.empty()) candidates.push_back(installPrefix / "share" / kAppFolder);
  for (const auto& dir : candidates) {
    if (isRegularFile(dir / requiredFile)) return dir;
  }
  return std::nullopt;
}

bool ensureDir(const fs::path& dir, std::string* error) {
  const auto fail = [error](const fs::path& at, int code) {
    if (error) *error = withOsError(at.string(), code);
    return false;
  };
  if (dir.empty()) return fail(dir, ENOENT);

  // Walk down from the root so that each folder we create gets 0700 itself, not only the last.
  fs::path partial;
  for (const auto& part : dir.lexically_normal()) {
    if (part.empty()) continue;  // the trailing empty element of "a/b/"
    partial /= part;
    if (::mkdir(partial.c_str(), 0700) == 0) continue;
    const int code = errno;
    struct stat info {};
    if (code == EEXIST && ::stat(partial.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) continue;
    return fail(partial, code == EEXIST ? ENOTDIR : code);
  }
  return true;
}

}  // namespace zelmot
