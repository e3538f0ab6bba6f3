#include "platform/atomic_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace zelmot {
namespace {

namespace fs = std::filesystem;

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) continue;
    if (put == 0) errno = EIO;
    if (put <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(put));
  }
  return true;
}

fs::path folderOf(const fs::path& file) {
  return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

// A failure here does not undo the write that is already in place, so it is not reported.
void syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

FileWriteResult failed(FileWriteError error, int code) { return {error, code}; }

}  // namespace

FileWriteResult writeFileAtomically(const fs::path& path, std::string_view bytes, mode_t mode) {
  const fs::path folder = folderOf(path);
  // Hidden, so that a file left by a crash does not look like one of the user's files.
  std::string hiddenName(".");
  hiddenName.append(path.filename().string()).append(".XXXXXX");
  std::string temporary = (folder / hiddenName).string();
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return failed(FileWriteError::CreateTemporary, errno);

  bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
  int code = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) ok = false, code = errno;
  if (!ok) {
    ::unlink(temporary.c_str());
    return failed(FileWriteError::Write, code);
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    code = errno;
    ::unlink(temporary.c_str());
    return failed(FileWriteError::Replace, code);
  }
  syncFolder(folder);
  return {};
}

}  // namespace zelmot
