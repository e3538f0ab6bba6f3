#include "platform/settings.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <optional>

#include "platform/atomic_file.h"
#include "platform/file_lock.h"
#include "platform/os_error.h"
#include "platform/paths.h"

namespace zelmot {
namespace {

namespace fs = std::filesystem;

// A settings file is a few kilobytes; anything this big is not ours and is not read.
constexpr off_t kMaxFileSize = 4 * 1024 * 1024;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool isValidUtf8(std::string_view text) {
  return g_utf8_validate_len(text.data(), text.size(), nullptr);
}

bool hasControlChar(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// Registry paths come with "\" from the original texts; the file uses "/".
std::string groupName(std::string_view key) {
  std::string group(key);
  std::replace(group.begin(), group.end(), '\\', '/');
  return group;
}

// A group name the file format can hold and give back unchanged.
bool isValidGroup(std::string_view group) {
  return !group.empty() && isValidUtf8(group) && !hasControlChar(group) &&
         group.find_first_of("[]") == std::string_view::npos;
}

// A value name the file format can hold: "=" would split it, "[...]" reads as a locale
// suffix, "#" at the start as a comment, and surrounding blanks are trimmed on reading.
bool isValidValueName(std::string_view name) {
  return !name.empty() && isValidUtf8(name) && !hasControlChar(name) &&
         name.find_first_of("=[]") == std::string_view::npos && name.front() != '#' &&
         name.front() != ' ' && name.back() != ' ';
}

// Standard base64 with "=" padding, as g_base64_encode writes it; g_base64_decode itself
// skips characters it does not know instead of refusing them.
bool isBase64(std::string_view text) {
  if (text.size() % 4 != 0) return false;
  std::size_t padding = 0;
  while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == '=') ++padding;
  const auto body = text.substr(0, text.size() - padding);
  return std::all_of(body.begin(), body.end(),
                     [](char c) { return g_ascii_isalnum(c) || c == '+' || c == '/'; });
}

// Reads a whole file; false with errno-style text on failure.
bool readWholeFile(int fd, off_t size, std::string& data, std::string& error) {
  data.resize(static_cast<std::size_t>(size));
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t got = ::read(fd, data.data() + done, data.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = osErrorText(errno);
      return false;
    }
    if (got == 0) break;  // shrank while reading: take what is there
    done += static_cast<std::size_t>(got);
  }
  data.resize(done);
  return true;
}

fs::path folderOf(const fs::path& file) {
  return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

// Holds an advisory lock on a file beside the settings while one process reads, changes
// and writes them, so that two running instances do not lose each other's writes. The lock
// is skipped when its file cannot be made: before the folder exists there is nothing to
// protect yet, and in a folder we may not write the save fails anyway.
// ".name" + suffix, built by appending (gcc 12 warns falsely on "." + string at -O2).
std::string hiddenName(const fs::path& file, const char* suffix) {
  std::string name(".");
  name.append(file.filename().string()).append(suffix);
  return name;
}

// The lock of a settings file: a hidden file beside it. Nothing when there is no file name.
std::optional<FileLock> lockOf(const fs::path& settingsFile) {
  if (!settingsFile.has_filename()) return std::nullopt;
  return std::optional<FileLock>(std::in_place,
                                 folderOf(settingsFile) / hiddenName(settingsFile, ".lock"));
}

}  // namespace

void Settings::KeyFileDeleter::operator()(GKeyFile* file) const { g_key_file_free(file); }

Settings::Settings() : Settings(defaultSettingsPath()) {}

Settings::Settings(fs::path file) : path_(std::move(file)), keyFile_(g_key_file_new()) {}

Settings::~Settings() = default;

SettingsStatus Settings::fail(std::string message) const {
  lastError_ = std::move(message);
  return SettingsStatus::Failed;
}

std::string Settings::lastError() const {
  std::lock_guard lock(mutex_);
  return lastError_;
}

SettingsStatus Settings::load() {
  std::lock_guard lock(mutex_);
  return loadLocked();
}

SettingsStatus Settings::save() {
  std::lock_guard lock(mutex_);
  if (path_.empty()) return fail("no settings file: the home folder is unknown");
  if (std::string error; !ensureDir(folderOf(path_), &error)) return fail(error);
  const std::optional<FileLock> fileLock = lockOf(path_);
  refreshLocked();
  return saveLocked();
}

Settings::FileStamp Settings::stampOf(const struct stat& info) {
  return FileStamp{true, info.st_dev, info.st_ino, info.st_size,
                   info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec};
}

SettingsStatus Settings::loadLocked() const {
  keyFile_.reset(g_key_file_new());
  loaded_ = true;
  damaged_ = false;
  stamp_ = FileStamp{};
  if (path_.empty()) return fail("no settings file: the home folder is unknown");

  // O_NONBLOCK: a FIFO put in the file's place must not hang the program.
  const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0 && errno == ENOENT) return SettingsStatus::Ok;  // first start: nothing stored yet
  damaged_ = true;  // until the file has been read and parsed
  if (fd < 0) return fail(withOsError(path_.string(), errno));

  struct stat info {};
  std::string data;
  std::string error;
  bool ok = ::fstat(fd, &info) == 0;
  if (!ok) error = osErrorText(errno);
  if (ok && (!S_ISREG(info.st_mode) || info.st_size > kMaxFileSize)) {
    ok = false;
    error = "not a settings file (not a regular file or too large)";
  }
  ok = ok && readWholeFile(fd, info.st_size, data, error);
  ::close(fd);
  if (!ok) return fail(path_.string() + ": " + error);
  stamp_ = stampOf(info);

  // A text file never holds NUL bytes, and the parser would cut lines at them.
  if (data.find('\0') != std::string::npos) return fail(path_.string() + ": not a text file");
  // GKeyFile refuses a leading byte-order mark, which Windows editors like to add.
  std::string_view text(data);
  if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
  GError* parseError = nullptr;
  if (!g_key_file_load_from_data(keyFile_.get(), text.data(), text.size(), G_KEY_FILE_KEEP_COMMENTS,
                                 &parseError)) {
    const std::string message = path_.string() + ": " + parseError->message;
    g_error_free(parseError);
    keyFile_.reset(g_key_file_new());
    return fail(message);
  }
  damaged_ = false;
  return SettingsStatus::Ok;
}

void Settings::refreshLocked() const {
  FileStamp now;
  struct stat info {};
  if (!path_.empty() && ::stat(path_.c_str(), &info) == 0) now = stampOf(info);
  if (!loaded_ || now != stamp_) loadLocked();
}

SettingsStatus Settings::saveLocked() {
  if (path_.empty()) return fail("no settings file: the home folder is unknown");
  const fs::path dir = folderOf(path_);
  std::string error;
  if (!ensureDir(dir, &error)) return fail(error);

  if (damaged_) {
    // Keep what could not be read for the person who wants to repair it.
    const fs::path aside = path_.string() + ".damaged";
    if (::rename(path_.c_str(), aside.c_str()) != 0 && errno != ENOENT) {
      return fail(withOsError(aside.string(), errno));
    }
  }

  gsize length = 0;
  gchar* data = g_key_file_to_data(keyFile_.get(), &length, nullptr);
  const std::string text(data, length);
  g_free(data);

  const FileWriteResult written = writeFileAtomically(path_, text, 0600);
  if (!written.ok()) return fail(withOsError(path_.string(), written.osError));

  damaged_ = false;
  struct stat info {};
  stamp_ = ::stat(path_.c_str(), &info) == 0 ? stampOf(info) : FileStamp{};
  return SettingsStatus::Ok;
}

SettingsStatus Settings::readRawLocked(std::string_view key, std::string_view name,
                                       std::string& out) const {
  refreshLocked();
  if (damaged_) return SettingsStatus::Failed;  // lastError_ holds the reason from loading
  const std::string group = groupName(key);
  if (!isValidGroup(group) || !g_key_file_has_group(keyFile_.get(), group.c_str())) {
    return SettingsStatus::KeyNotOpened;
  }
  if (!isValidValueName(name)) return SettingsStatus::ValueAbsent;
  const std::string valueName(name);
  GError* error = nullptr;
  gchar* value = g_key_file_get_string(keyFile_.get(), group.c_str(), valueName.c_str(), &error);
  if (value == nullptr) {
    const bool absent = g_error_matches(error, G_KEY_FILE_ERROR, G_KEY_FILE_ERROR_KEY_NOT_FOUND);
    const std::string message = group + "/" + valueName + ": " + (error ? error->message : "?");
    if (error) g_error_free(error);
    return absent ? SettingsStatus::ValueAbsent : fail(message);
  }
  out = value;
  g_free(value);
  return SettingsStatus::Ok;
}

SettingsStatus Settings::writeRaw(std::string_view key, std::string_view name, std::string_view text) {
  std::lock_guard lock(mutex_);
  const std::string group = groupName(key);
  if (!isValidGroup(group)) return SettingsStatus::KeyNotOpened;
  if (!isValidValueName(name)) return fail("invalid value name: " + std::string(name));
  if (!isValidUtf8(text)) return fail("value is not valid UTF-8 text");
  if (path_.empty()) return fail("no settings file: the home folder is unknown");
  // The folder comes first so that even the very first write is made under the lock.
  if (std::string error; !ensureDir(folderOf(path_), &error)) return fail(error);
  const std::optional<FileLock> fileLock = lockOf(path_);
  refreshLocked();

  g_key_file_set_string(keyFile_.get(), group.c_str(), std::string(name).c_str(),
                        std::string(text).c_str());
  return commitLocked();
}

SettingsStatus Settings::commitLocked() {
  const SettingsStatus saved = saveLocked();
  if (saved != SettingsStatus::Ok) {
    // The file still holds the old contents; make memory agree with it, as a failed
    // registry write leaves the old value.
    const std::string reason = lastError_;
    loadLocked();
    lastError_ = reason;
  }
  return saved;
}

SettingsStatus Settings::readString(std::string_view key, std::string_view name, std::string& out) const {
  std::lock_guard lock(mutex_);
  return readRawLocked(key, name, out);
}

SettingsStatus Settings::writeString(std::string_view key, std::string_view name, std::string_view value) {
  return writeRaw(key, name, value);
}

SettingsStatus Settings::readInt(std::string_view key, std::string_view name, std::uint32_t& out) const {
  std::lock_guard lock(mutex_);
  std::string text;
  const SettingsStatus status = readRawLocked(key, name, text);
  if (status != SettingsStatus::Ok) return status;
  std::uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) {
    return fail(std::string(name) + ": not a number from 0 to 4294967295: " + text);
  }
  out = value;
  return SettingsStatus::Ok;
}

SettingsStatus Settings::writeInt(std::string_view key, std::string_view name, std::uint32_t value) {
  return writeRaw(key, name, std::to_string(value));
}

SettingsStatus Settings::readBinary(std::string_view key, std::string_view name,
                                    std::vector<std::uint8_t>& out) const {
  std::lock_guard lock(mutex_);
  std::string text;
  const SettingsStatus status = readRawLocked(key, name, text);
  if (status != SettingsStatus::Ok) return status;
  if (!isBase64(text)) return fail(std::string(name) + ": not base64 data");
  gsize length = 0;
  guchar* bytes = g_base64_decode(text.c_str(), &length);
  out.assign(bytes, bytes + length);
  g_free(bytes);
  return SettingsStatus::Ok;
}

SettingsStatus Settings::writeBinary(std::string_view key, std::string_view name,
                                     std::span<const std::uint8_t> value) {
  gchar* text = g_base64_encode(value.data(), value.size());
  const std::string encoded(text);
  g_free(text);
  return writeRaw(key, name, encoded);
}

SettingsStatus Settings::deleteValue(std::string_view key, std::string_view name) {
  std::lock_guard lock(mutex_);
  const std::optional<FileLock> fileLock = lockOf(path_);
  refreshLocked();
  if (damaged_) return SettingsStatus::Failed;
  const std::string group = groupName(key);
  if (!isValidGroup(group) || !g_key_file_has_group(keyFile_.get(), group.c_str())) {
    return SettingsStatus::KeyNotOpened;
  }
  const std::string valueName(name);
  if (!isValidValueName(name) ||
      !g_key_file_has_key(keyFile_.get(), group.c_str(), valueName.c_str(), nullptr)) {
    return SettingsStatus::ValueAbsent;
  }
  g_key_file_remove_key(keyFile_.get(), group.c_str(), valueName.c_str(), nullptr);
  return commitLocked();
}

}  // namespace zelmot
