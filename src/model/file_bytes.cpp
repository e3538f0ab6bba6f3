// Whole-file reading and atomic writing (temporary file in the same folder + rename).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "model/description_files.h"

namespace zelmot::model {

namespace {

// Larger files are no description files; refusing them keeps memory use bounded.
constexpr off_t kMaxFileSize = 256 * 1024 * 1024;

std::string systemError(const std::string& what, const std::string& path) {
  return what + " \"" + path + "\": " + std::strerror(errno);
}

bool writeAll(int fd, const std::vector<uint8_t>& bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

bool readFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = systemError("Не удалось открыть файл", path);
    return false;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = "\"" + path + "\" не является обычным файлом";
    ::close(fd);
    return false;
  }
  if (info.st_size > kMaxFileSize) {
    error = "Файл \"" + path + "\" слишком велик";
    ::close(fd);
    return false;
  }
  std::vector<uint8_t> out;
  uint8_t chunk[65536];
  while (true) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = systemError("Ошибка чтения файла", path);
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    if (out.size() + static_cast<size_t>(n) > static_cast<size_t>(kMaxFileSize)) {
      error = "Файл \"" + path + "\" слишком велик";
      ::close(fd);
      return false;
    }
    out.insert(out.end(), chunk, chunk + n);
  }
  ::close(fd);
  bytes = std::move(out);
  return true;
}

bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes,
                    std::string& error) {
  std::string temp = path + ".tmpXXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    error = systemError("Не удалось создать временный файл для", path);
    return false;
  }
  const bool written = ::fchmod(fd, 0644) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
  const int savedErrno = errno;
  if (::close(fd) != 0 || !written) {
    errno = written ? errno : savedErrno;
    error = systemError("Ошибка записи файла", path);
    ::unlink(temp.c_str());
    return false;
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    error = systemError("Не удалось заменить файл", path);
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace zelmot::model
