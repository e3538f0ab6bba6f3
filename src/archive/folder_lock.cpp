#include "archive/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace zelmot::archive {

namespace {
constexpr const char* kLockFileName = ".archive.lock";
}

FolderLock::FolderLock(const std::filesystem::path& folder) {
  fd_ = ::open((folder / kLockFileName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  while (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace zelmot::archive
