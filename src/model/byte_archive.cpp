#include "model/byte_archive.h"

#include "platform/code_page.h"
#include "platform/byte_order.h"

namespace zelmot::model {

namespace {
constexpr uint8_t kLongLengthMark = 0xFF;
constexpr uint16_t kWideLengthMark = 0xFFFF;
constexpr uint16_t kFirstReservedLength = 0xFFFE;  // never written as a 16-bit length
}  // namespace

std::string archiveErrorText(ArchiveError error) {
  switch (error) {
    case ArchiveError::None:
      return {};
    case ArchiveError::EndOfFile:
      return "Неожиданный конец файла";
    case ArchiveError::BadIndex:
      return "Неверный индекс в файле";
    case ArchiveError::BadFormat:
      return "Неверный формат файла";
    case ArchiveError::ModelMismatch:
      return "Файл не соответствует описанию прибора";
  }
  return "Ошибка чтения файла";
}

// --- writer ------------------------------------------------------------------------------

void ArchiveWriter::writeByte(uint8_t value) {
  if (ok()) bytes_.push_back(value);
}

void ArchiveWriter::writeUInt16(uint16_t value) {
  uint8_t bytes[2];
  storeLittleEndian16(bytes, value);
  for (const uint8_t byte : bytes) writeByte(byte);
}

void ArchiveWriter::writeUInt32(uint32_t value) {
  uint8_t bytes[4];
  storeLittleEndian32(bytes, value);
  for (const uint8_t byte : bytes) writeByte(byte);
}

void ArchiveWriter::writeString(std::string_view utf8) { writeRawString(utf8ToCp1251(utf8)); }

void ArchiveWriter::writeRawString(std::string_view bytes) {
  const size_t length = bytes.size();
  if (length > UINT32_MAX) {
    fail(ArchiveError::BadFormat);
    return;
  }
  if (length < kLongLengthMark) {
    writeByte(static_cast<uint8_t>(length));
  } else if (length < kFirstReservedLength) {
    writeByte(kLongLengthMark);
    writeUInt16(static_cast<uint16_t>(length));
  } else {
    writeByte(kLongLengthMark);
    writeUInt16(kWideLengthMark);
    writeUInt32(static_cast<uint32_t>(length));
  }
  if (ok()) bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void ArchiveWriter::fail(ArchiveError error) {
  if (ok()) error_ = error;
}

// --- reader ------------------------------------------------------------------------------

bool ArchiveReader::take(size_t count, const uint8_t*& bytes) {
  if (!ok()) return false;
  if (count > remaining()) {
    fail(ArchiveError::EndOfFile);
    return false;
  }
  bytes = data_ + position_;
  position_ += count;
  return true;
}

bool ArchiveReader::readByte(uint8_t& value) {
  const uint8_t* bytes = nullptr;
  if (!take(1, bytes)) return false;
  value = bytes[0];
  return true;
}

bool ArchiveReader::readBool(bool& value) {
  uint8_t byte = 0;
  if (!readByte(byte)) return false;
  value = byte != 0;
  return true;
}

bool ArchiveReader::readUInt16(uint16_t& value) {
  const uint8_t* bytes = nullptr;
  if (!take(2, bytes)) return false;
  value = loadLittleEndian16(bytes);
  return true;
}

bool ArchiveReader::readUInt32(uint32_t& value) {
  const uint8_t* bytes = nullptr;
  if (!take(4, bytes)) return false;
  value = loadLittleEndian32(bytes);
  return true;
}

bool ArchiveReader::readInt32(int32_t& value) {
  uint32_t raw = 0;
  if (!readUInt32(raw)) return false;
  value = static_cast<int32_t>(raw);
  return true;
}

bool ArchiveReader::readLength(uint32_t& length) {
  uint8_t shortLength = 0;
  if (!readByte(shortLength)) return false;
  if (shortLength != kLongLengthMark) {
    length = shortLength;
    return true;
  }
  uint16_t mediumLength = 0;
  if (!readUInt16(mediumLength)) return false;
  if (mediumLength < kFirstReservedLength) {
    length = mediumLength;
    return true;
  }
  // 0xFFFE announces a UTF-16 string in the framework's format; this format never has one.
  if (mediumLength != kWideLengthMark) {
    fail(ArchiveError::BadFormat);
    return false;
  }
  return readUInt32(length);
}

bool ArchiveReader::readRawString(std::string& bytes) {
  uint32_t length = 0;
  if (!readLength(length)) return false;
  const uint8_t* start = nullptr;
  if (!take(length, start)) return false;  // checked before anything is allocated
  bytes.assign(reinterpret_cast<const char*>(start), length);
  return true;
}

bool ArchiveReader::readString(std::string& utf8) {
  std::string bytes;
  if (!readRawString(bytes)) return false;
  utf8 = cp1251ToUtf8(bytes);
  return true;
}

void ArchiveReader::fail(ArchiveError error) {
  if (ok()) error_ = error;
}

void ArchiveReader::failMismatch(std::string detail) {
  if (!ok()) return;
  error_ = ArchiveError::ModelMismatch;
  detail_ = std::move(detail);
}

}  // namespace zelmot::model
