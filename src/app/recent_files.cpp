#include "app/recent_files.h"

#include <algorithm>
#include <filesystem>

#include "platform/settings.h"

namespace zelmot::app {
namespace {

std::string entryName(size_t index) { return "File" + std::to_string(index + 1); }

}  // namespace

void RecentFiles::add(const std::string& path) {
  if (path.empty() || capacity_ == 0) return;
  remove(path);
  paths_.insert(paths_.begin(), path);
  if (paths_.size() > capacity_) paths_.resize(capacity_);
}

void RecentFiles::remove(const std::string& path) {
  paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
}

void RecentFiles::load(const Settings& settings) {
  paths_.clear();
  for (size_t i = 0; i < capacity_; ++i) {
    std::string path;
    if (settings.readString(kRecentFilesKey, entryName(i), path) == SettingsStatus::Ok &&
        !path.empty() &&
        std::find(paths_.begin(), paths_.end(), path) == paths_.end()) {
      paths_.push_back(path);
    }
  }
}

bool RecentFiles::save(Settings& settings) const {
  bool ok = true;
  for (size_t i = 0; i < capacity_; ++i) {
    const std::string path = i < paths_.size() ? paths_[i] : std::string();
    ok = settings.writeString(kRecentFilesKey, entryName(i), path) == SettingsStatus::Ok && ok;
  }
  return ok;
}

std::string RecentFiles::menuText(size_t index, const std::string& path) {
  return "&" + std::to_string(index + 1) + " " + std::filesystem::path(path).filename().string();
}

}  // namespace zelmot::app
