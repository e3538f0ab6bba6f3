#include "document/dbf_writer.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/byte_order.h"
#include "platform/os_error.h"

namespace zelmot::document {

namespace {

constexpr mode_t kNewTableMode = 0644;
constexpr uint64_t kCountOffset = 4;

std::string openingProblemText(const std::filesystem::path& path, int code) {
  return "Проблемы с открытием файла '" + path.string() + "'\n" + osErrorText(code);
}

std::string writingProblemText(const std::filesystem::path& path, int code) {
  return withOsError("Не удается записать файл '" + path.string() + "'", code);
}

// An existing table keeps its permissions when it is replaced.
mode_t modeFor(const std::filesystem::path& path) {
  struct stat existing {};
  return ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : kNewTableMode;
}

}  // namespace

DbfWriter::~DbfWriter() { discard(); }

void DbfWriter::discard() {
  if (fd_ < 0) return;
  ::close(fd_);
  ::unlink(temporary_.c_str());
  fd_ = -1;
}

bool DbfWriter::create(const std::filesystem::path& path, std::vector<DbfColumn> columns,
                       const DbfDate& created, std::string& error) {
  discard();
  target_ = path;
  columns_ = std::move(columns);
  count_ = 0;
  headerLength_ = dbfHeaderLength(columns_);
  recordLength_ = dbfRecordLength(columns_);
  const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
  temporary_ = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
  fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
  if (fd_ < 0) {
    error = openingProblemText(path, errno);
    return false;
  }
  std::string start = dbfHeaderBytes(columns_, 0, created);
  start += static_cast<char>(kDbfFileEnd);
  if (::fchmod(fd_, modeFor(path)) != 0) {
    error = openingProblemText(path, errno);
    discard();
    return false;
  }
  return put(start, 0, error);
}

bool DbfWriter::append(const std::vector<std::string>& cells, std::string& error) {
  std::string record(1, ' ');
  for (size_t i = 0; i < columns_.size(); ++i) {
    std::string cell = i < cells.size() ? cells[i] : std::string();
    cell.resize(columns_[i].length, ' ');
    record += cell;
  }
  record += static_cast<char>(kDbfFileEnd);
  uint8_t count[4];
  storeLittleEndian32(count, count_ + 1);
  if (!put(std::string(reinterpret_cast<const char*>(count), sizeof count), kCountOffset, error)) {
    return false;
  }
  ++count_;
  return put(record, headerLength_ + uint64_t{count_ - 1} * recordLength_, error);
}

bool DbfWriter::commit(std::string& error) {
  if (fd_ < 0) {
    error = writingProblemText(target_, EBADF);
    return false;
  }
  int code = ::fsync(fd_) == 0 ? 0 : errno;
  if (::close(fd_) != 0 && code == 0) code = errno;
  fd_ = -1;
  if (code == 0 && ::rename(temporary_.c_str(), target_.c_str()) != 0) code = errno;
  if (code != 0) {
    error = writingProblemText(target_, code);
    ::unlink(temporary_.c_str());
    return false;
  }
  return true;
}

bool DbfWriter::put(const std::string& bytes, uint64_t offset, std::string& error) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                     static_cast<off_t>(offset + done));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      error = writingProblemText(target_, written == 0 ? EIO : errno);
      discard();
      return false;
    }
    done += static_cast<size_t>(written);
  }
  return true;
}

DbfDate todayForDbf() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace zelmot::document
