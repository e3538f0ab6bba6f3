#pragma once
// The recent-files list of the File menu: most recent first, at most four, no duplicates;
// kept in the settings store.
#include <string>
#include <vector>

#include "app/command_ids.h"

namespace zelmot {
class Settings;
}

namespace zelmot::app {

inline constexpr const char* kRecentFilesKey =
    "Software/Configurator - ZELMOT/ZELMOT/Recent File List";

class RecentFiles {
public:
  explicit RecentFiles(size_t capacity = kRecentFileCount) : capacity_(capacity) {}

  // Puts `path` first (moving it up when already listed) and drops the oldest beyond the
  // capacity. Empty paths are ignored.
  void add(const std::string& path);
  void remove(const std::string& path);
  const std::vector<std::string>& paths() const { return paths_; }

  // "File1".."File4" under kRecentFilesKey; missing entries are skipped.
  void load(const Settings& settings);
  bool save(Settings& settings) const;

  // Menu text of entry `index`: "&1 name" with the file name only.
  static std::string menuText(size_t index, const std::string& path);

private:
  size_t capacity_;
  std::vector<std::string> paths_;
};

}  // namespace zelmot::app
