#pragma once
// Little-endian byte archive of the configuration file. Strings are windows-1251 on disk
// and UTF-8 in memory; their length prefix is one byte below 255, otherwise 0xFF and a
// 16-bit length below 0xFFFE, otherwise 0xFF, 0xFFFF and a 32-bit length.
//
// Errors are sticky values: after the first failure every further call does nothing and
// returns false, so a caller may check once at the end of a record.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelmot::model {

enum class ArchiveError {
  None,
  EndOfFile,      // the data ended inside a value
  BadIndex,       // a negative linear index or parameter count
  BadFormat,      // a length prefix the format does not produce
  ModelMismatch,  // a count, name, index or flag differs from the device model's tree
};

// Russian text for reporting an archive error to the user.
std::string archiveErrorText(ArchiveError error);

class ArchiveWriter {
public:
  void writeByte(uint8_t value);
  void writeBool(bool value) { writeByte(value ? 1 : 0); }
  void writeUInt16(uint16_t value);
  void writeUInt32(uint32_t value);
  void writeInt32(int32_t value) { writeUInt32(static_cast<uint32_t>(value)); }
  // UTF-8 text stored as windows-1251 with the length prefix.
  void writeString(std::string_view utf8);
  // Bytes stored as they are with the length prefix.
  void writeRawString(std::string_view bytes);

  // Marks the archive as failed; the first error is kept.
  void fail(ArchiveError error);
  ArchiveError error() const { return error_; }
  bool ok() const { return error_ == ArchiveError::None; }

  const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
  std::vector<uint8_t> bytes_;
  ArchiveError error_ = ArchiveError::None;
};

// Reads from memory the caller keeps alive; never reads past `size`.
class ArchiveReader {
public:
  ArchiveReader(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}
  explicit ArchiveReader(const std::vector<uint8_t>& data)
      : ArchiveReader(data.data(), data.size()) {}

  bool readByte(uint8_t& value);
  bool readBool(bool& value);
  bool readUInt16(uint16_t& value);
  bool readUInt32(uint32_t& value);
  bool readInt32(int32_t& value);
  // windows-1251 bytes converted to UTF-8.
  bool readString(std::string& utf8);
  bool readRawString(std::string& bytes);

  void fail(ArchiveError error);
  // Fails with ModelMismatch; `detail` says where the file departs from the tree.
  void failMismatch(std::string detail);
  ArchiveError error() const { return error_; }
  const std::string& detail() const { return detail_; }
  bool ok() const { return error_ == ArchiveError::None; }
  size_t position() const { return position_; }
  size_t remaining() const { return size_ - position_; }

private:
  bool take(size_t count, const uint8_t*& bytes);
  bool readLength(uint32_t& length);

  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
  ArchiveError error_ = ArchiveError::None;
  std::string detail_;
};

}  // namespace zelmot::model
