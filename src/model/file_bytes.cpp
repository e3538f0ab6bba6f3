// Whole-file reading and atomic writing of description and configuration files.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "model/description_files.h"
#include "platform/atomic_file.h"
#include "platform/os_error.h"

namespace zelmot::model {

namespace {

// Larger files are no description files; refusing them keeps memory use bounded.
constexpr off_t kMaxFileSize = 256 * 1024 * 1024;

std::string systemError(const std::string& what, const std::string& path, int code = errno) {
  return withOsError(what + " \"" + path + "\"", code);
}

const char* writeStepText(FileWriteError error) {
  switch (error) {
    case FileWriteError::CreateTemporary: return "Не удалось создать временный файл для";
    case FileWriteError::Replace: return "Не удалось заменить файл";
    default: return "Ошибка записи файла";
  }
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
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const FileWriteResult written = writeFileAtomically(path, text, 0644);
  if (!written.ok()) error = systemError(writeStepText(written.error), path, written.osError);
  return written.ok();
}

}  // namespace zelmot::model
