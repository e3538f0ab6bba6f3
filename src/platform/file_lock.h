#pragma once
// An exclusive lock on a lock file for one scope, shared with other processes (flock: also
// between two handles of one process). When the lock file cannot be made, the work runs
// unguarded rather than not at all.
#include <filesystem>

namespace zelmot {

class FileLock {
public:
  explicit FileLock(const std::filesystem::path& lockFile);
  ~FileLock();  // closing releases the lock
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

private:
  int fd_ = -1;
};

}  // namespace zelmot
