#pragma once
// An exclusive lock on the protocol folder's lock file for one scope, held while monthly
// files are written or deleted, so that two programs (the desktop program and the command
// line) never pack or clean the same folder at once. flock: also between two handles of
// one process. Without a lock file the work still runs, unguarded.
#include <filesystem>

namespace zelmot::archive {

class FolderLock {
public:
  explicit FolderLock(const std::filesystem::path& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

private:
  int fd_ = -1;
};

}  // namespace zelmot::archive
