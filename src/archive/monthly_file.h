#pragma once
// Monthly compound files: one stream per packed day. The file is never changed in place:
// a new one is written beside it (its other streams copied) and renamed over it, so a
// crash leaves either the old file or the whole new one under the real name.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zelmot::archive {

enum class MonthlyStatus {
  Ok,
  Missing,      // no such file
  NotCompound,  // the file is not a compound file
  NoStream,     // the file has no stream of that name
  Damaged,      // a stream's chunks are cut off, too long or do not inflate
  ReadFailed,   // a file could not be read
  WriteFailed,  // a file could not be written, synced or renamed
  BadName,      // a name that cannot be a stream or a plain file name
};

// A short Russian text for messages of the command line and the dialogs.
std::string monthlyStatusText(MonthlyStatus status);

// True when the file exists and opens as a compound file.
bool isCompoundFile(const std::filesystem::path& path);

struct StreamEntry {
  std::string name;
  uint64_t size = 0;  // bytes of the stream (compressed)
};
struct StreamListing {
  MonthlyStatus status = MonthlyStatus::Ok;
  std::vector<StreamEntry> streams;  // sorted by name
};
StreamListing listStreams(const std::filesystem::path& monthlyPath);

// Stream names and the file names made from them: a plain name of 1..31 characters
// without "/" (longer names break other readers of compound files).
bool isValidStreamName(const std::string& name);

struct UnpackResult {
  MonthlyStatus status = MonthlyStatus::Ok;
  std::filesystem::path file;  // the file written (also on failure: where it would be)
  uint64_t bytes = 0;          // its size
};
// Writes the stream `streamName` (matched ignoring case) of the monthly file into
// `targetFolder` (created with its parents when missing) as a file named like the stream.
// The file appears under its real name only when every chunk inflated as stated.
UnpackResult unpackStream(const std::filesystem::path& monthlyPath, const std::string& streamName,
                          const std::filesystem::path& targetFolder);

// The inflated bytes of one stream, for readers that want a day in memory.
MonthlyStatus readStream(const std::filesystem::path& monthlyPath, const std::string& streamName,
                         std::vector<uint8_t>& bytes);

// Writes to `newPath` a compound file holding every stream of `oldPath` (when that is a
// compound file; a missing one counts as empty) except one named `streamName` ignoring
// case, plus the stream `streamName` made from the file `logPath`; flushed and synced.
// On failure `newPath` may hold a partial file: the caller removes it.
MonthlyStatus writeMonthlyWithLog(const std::filesystem::path& oldPath,
                                  const std::filesystem::path& logPath,
                                  const std::string& streamName,
                                  const std::filesystem::path& newPath);

}  // namespace zelmot::archive
