#pragma once
// The program's settings store: one INI file standing in for the system registry of the
// original platform. A group is a registry key path with "/" between its parts
// ("Software/Kavrel/ZELMOT"; "\" in a key is accepted and read as "/"), a key is a value
// name. Every write goes to disk at once, atomically, like a registry write; every
// operation first picks up changes another process made to the file. Thread-safe.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

// glib's key-file type, declared here so that users of this header need not include glib.
typedef struct _GKeyFile GKeyFile;

namespace zelmot {

// The registry status codes the program keys on.
enum class SettingsStatus : int {
  Ok = 0,
  Failed = 1,        // reading or writing the value (or the file) failed
  KeyNotOpened = 2,  // the key (group) does not exist or cannot be named in the file
  ValueAbsent = 3,   // the key exists but the value does not
};

constexpr int statusCode(SettingsStatus status) { return static_cast<int>(status); }

class Settings {
public:
  // Uses defaultSettingsPath().
  Settings();
  explicit Settings(std::filesystem::path file);
  ~Settings();
  Settings(const Settings&) = delete;
  Settings& operator=(const Settings&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Reads the file again. A missing file is an empty store (Ok). An unreadable or damaged
  // file gives Failed and an empty store; the next write moves the damaged file aside to
  // "<name>.damaged" instead of silently overwriting it.
  SettingsStatus load();
  // Writes the whole store to the file again (atomically, mode 0600).
  SettingsStatus save();

  // Reads leave `out` unchanged unless the result is Ok, so a caller can preset a default.
  SettingsStatus readString(std::string_view key, std::string_view name, std::string& out) const;
  SettingsStatus writeString(std::string_view key, std::string_view name, std::string_view value);

  // DWORD values, stored as decimal text. A text that is not a number from 0 to 4294967295
  // reads as Failed.
  SettingsStatus readInt(std::string_view key, std::string_view name, std::uint32_t& out) const;
  SettingsStatus writeInt(std::string_view key, std::string_view name, std::uint32_t value);

  // Binary values (password hashes), stored as base64. Malformed base64 reads as Failed.
  SettingsStatus readBinary(std::string_view key, std::string_view name,
                            std::vector<std::uint8_t>& out) const;
  SettingsStatus writeBinary(std::string_view key, std::string_view name,
                             std::span<const std::uint8_t> value);

  // Removes one value; KeyNotOpened / ValueAbsent when there was nothing to remove.
  SettingsStatus deleteValue(std::string_view key, std::string_view name);

  // The reason for the last Failed result (OS or parser text), for messages and logs.
  std::string lastError() const;

private:
  struct KeyFileDeleter {
    void operator()(GKeyFile* file) const;
  };
  using KeyFilePtr = std::unique_ptr<GKeyFile, KeyFileDeleter>;

  // What identifies the version of the file last read, to notice changes made elsewhere.
  struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t mtimeNs = 0;
    bool operator==(const FileStamp&) const = default;
  };

  static FileStamp stampOf(const struct stat& info);
  SettingsStatus loadLocked() const;
  void refreshLocked() const;
  SettingsStatus saveLocked();
  // Saves after a change; on failure the store goes back to what the file holds.
  SettingsStatus commitLocked();
  SettingsStatus readRawLocked(std::string_view key, std::string_view name, std::string& out) const;
  SettingsStatus writeRaw(std::string_view key, std::string_view name, std::string_view text);
  SettingsStatus fail(std::string message) const;

  std::filesystem::path path_;
  mutable std::mutex mutex_;
  mutable KeyFilePtr keyFile_;
  mutable FileStamp stamp_;
  mutable bool loaded_ = false;
  mutable bool damaged_ = false;
  mutable std::string lastError_;
};

}  // namespace zelmot
