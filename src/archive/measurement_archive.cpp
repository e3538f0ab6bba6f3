#include "archive/measurement_archive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "archive/archive_names.h"
#include "model/parameter.h"
#include "platform/ascii_text.h"

namespace zelmot::archive {
namespace {

namespace fs = std::filesystem;

bool writeAll(int fd, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

// Opens (creating, never truncating) and appends; a record written in part is cut off.
bool appendToFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  struct stat before {};
  bool ok = ::fstat(fd, &before) == 0;
  if (ok && !writeAll(fd, bytes)) {
    ok = false;
    if (::ftruncate(fd, before.st_size) != 0) {
      // Nothing more can be done; the reader reports the cut-off record.
    }
  }
  if (::close(fd) != 0) ok = false;
  return ok;
}

// Year, month and day as one number (the date of a rotation).
long dateOf(const std::tm& time) {
  return (static_cast<long>(time.tm_year) * 12 + time.tm_mon) * 31 + time.tm_mday;
}

}  // namespace

bool RotationResult::ok() const {
  for (const PackResult& result : packed) {
    if (result.status != MonthlyStatus::Ok) return false;
  }
  return true;
}

LogRecord recordOfReading(const model::Parameter& parameter, const std::tm& now) {
  LogRecord record;
  record.timeStamp = logTimeStamp(now);
  record.name = parameter.name();
  record.index = static_cast<uint8_t>(parameter.linearIndex() & 0xFF);
  record.error = !parameter.errorText().empty();
  record.reply = parameter.rawData();
  if (record.reply.size() > kLogMaxReplyLength) record.reply.resize(kLogMaxReplyLength);
  return record;
}

MeasurementArchive::MeasurementArchive(fs::path protocolDir, const LocalClock& clock)
    : protocolDir_(std::move(protocolDir)), clock_(clock) {}

void MeasurementArchive::setEnabled(bool on) {
  std::lock_guard lock(mutex_);
  enabled_ = on;
}

bool MeasurementArchive::enabled() const {
  std::lock_guard lock(mutex_);
  return enabled_;
}

std::string MeasurementArchive::currentLogName() const {
  std::lock_guard lock(mutex_);
  return logName_;
}

bool MeasurementArchive::append(const model::Parameter& parameter) {
  std::lock_guard lock(mutex_);
  if (!enabled_) return true;
  return appendLocked(recordOfReading(parameter, clock_.now()));
}

bool MeasurementArchive::append(const LogRecord& record) {
  std::lock_guard lock(mutex_);
  if (!enabled_) return true;
  return appendLocked(record);
}

bool MeasurementArchive::appendLocked(const LogRecord& record) {
  // Before the first rotation: today's log, but the rotation still packs the older ones.
  if (logName_.empty()) logName_ = dailyLogName(clock_.now());
  return appendToFile(protocolDir_ / logName_, encodeLogRecord(record));
}

void MeasurementArchive::takeTodayLocked(const std::tm& now) {
  logName_ = dailyLogName(now);
  lastDate_ = dateOf(now);
}

RotationResult MeasurementArchive::rotate() {
  RotationResult result;
  std::string current;
  {
    std::lock_guard lock(mutex_);
    const std::tm now = clock_.now();
    if (dateOf(now) == lastDate_) return result;
    takeTodayLocked(now);
    current = logName_;
  }
  result.dateChanged = true;
  // Appends go only to the current log, so the older ones are packed without the lock.
  for (const std::string& log : dailyLogsIn(protocolDir_)) {
    if (equalsIgnoreCase(log, current)) continue;
    result.packed.push_back(packDailyLog(protocolDir_, log));
  }
  return result;
}

}  // namespace zelmot::archive
