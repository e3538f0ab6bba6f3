#pragma once
// The measurement archive of one protocol folder: while switched on, every reading of the
// polling is appended to the current daily log; rotation, when the local date has changed,
// starts a new current log and packs every older log into its month's compound file.
//
// Threads: append runs on the polling thread while the switch and the rotation are used
// from the window's thread. The switch, the current name and each append are guarded by
// the archive's own mutex; packing runs outside it (it never touches the current log) so
// that a long packing does not hold up the polling.
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "archive/archive_packing.h"
#include "archive/local_clock.h"
#include "archive/log_record.h"

namespace zelmot::model {
class Parameter;
}

namespace zelmot::archive {

inline constexpr const char* kWriteErrorText = "Ошибка записи в файл";

struct RotationResult {
  bool dateChanged = false;        // a new current log name was taken
  std::vector<PackResult> packed;  // one per older log that was tried
  // True when every tried log was packed.
  bool ok() const;
};

class MeasurementArchive {
public:
  // `clock` must outlive the archive. The archive starts switched off with no current log.
  MeasurementArchive(std::filesystem::path protocolDir, const LocalClock& clock);

  void setEnabled(bool on);
  bool enabled() const;

  // Appends the record of a reading of `parameter` (name, low byte of the linear index,
  // error flag, raw reply) stamped with the local time now. True when it was stored or
  // the archive is off; false when the log could not be opened or written whole (a record
  // that was written in part is cut off again, so the log stays readable).
  bool append(const model::Parameter& parameter);
  // The same for a record made elsewhere (its time stamp is kept).
  bool append(const LogRecord& record);

  // The current daily log's file name ("06-12-2026.log"); empty before the first rotation.
  std::string currentLogName() const;
  const std::filesystem::path& protocolDir() const { return protocolDir_; }

  // When the local date differs from the last rotation's (or there was none): takes
  // today's log name and packs every other daily log of the folder.
  RotationResult rotate();

private:
  bool appendLocked(const LogRecord& record);
  void takeTodayLocked(const std::tm& now);

  const std::filesystem::path protocolDir_;
  const LocalClock& clock_;
  mutable std::mutex mutex_;
  bool enabled_ = false;
  std::string logName_;
  long lastDate_ = -1;  // of the last rotation; -1: none yet
};

// The record of a reading of `parameter` at the local time `now`.
LogRecord recordOfReading(const model::Parameter& parameter, const std::tm& now);

}  // namespace zelmot::archive
