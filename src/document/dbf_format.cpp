#include "document/dbf_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/ascii_text.h"
#include "platform/byte_order.h"

namespace zelmot::document {

namespace {

constexpr const char* kNotDbfText = "Файл не является таблицей dBase III";
constexpr const char* kDamagedSizeText =
    "Таблица повреждена: длины в заголовке не соответствуют размеру файла";
constexpr const char* kDamagedRecordText =
    "Таблица повреждена: длина записи не соответствует описанию полей";

constexpr size_t kNameSize = 11;
constexpr size_t kTypeOffset = 11, kAddressOffset = 12, kLengthOffset = 16, kDecimalsOffset = 17;

void appendDescriptor(std::string& out, const DbfColumn& column, size_t address) {
  uint8_t descriptor[kDbfDescriptorSize] = {};
  std::memcpy(descriptor, column.name.data(), std::min(column.name.size(), kNameSize - 1));
  descriptor[kTypeOffset] = static_cast<uint8_t>(column.type);
  storeLittleEndian32(descriptor + kAddressOffset, static_cast<uint32_t>(address));
  descriptor[kLengthOffset] = column.length;
  descriptor[kDecimalsOffset] = column.decimals;
  out.append(reinterpret_cast<const char*>(descriptor), sizeof descriptor);
}

bool isPadding(char c) { return c == ' ' || c == '\0'; }

std::string_view stripPadding(std::string_view cell) {
  while (!cell.empty() && isPadding(cell.front())) cell.remove_prefix(1);
  while (!cell.empty() && isPadding(cell.back())) cell.remove_suffix(1);
  return cell;
}

DbfColumn descriptorColumn(const uint8_t* descriptor) {
  DbfColumn column;
  const auto* name = reinterpret_cast<const char*>(descriptor);
  column.name.assign(name, strnlen(name, kNameSize));
  column.type = static_cast<char>(descriptor[kTypeOffset]);
  column.length = descriptor[kLengthOffset];
  column.decimals = descriptor[kDecimalsOffset];
  return column;
}

}  // namespace

size_t dbfHeaderLength(const std::vector<DbfColumn>& columns) {
  return kDbfHeaderSize + kDbfDescriptorSize * columns.size() + 1;
}

size_t dbfRecordLength(const std::vector<DbfColumn>& columns) {
  size_t length = 1;
  for (const DbfColumn& column : columns) length += column.length;
  return length;
}

std::string dbfHeaderBytes(const std::vector<DbfColumn>& columns, uint32_t recordCount,
                           const DbfDate& created) {
  uint8_t header[kDbfHeaderSize] = {};
  header[0] = kDbfVersion;
  header[1] = static_cast<uint8_t>(created.year - 1900);
  header[2] = static_cast<uint8_t>(created.month);
  header[3] = static_cast<uint8_t>(created.day);
  storeLittleEndian32(header + 4, recordCount);
  storeLittleEndian16(header + 8, static_cast<uint16_t>(dbfHeaderLength(columns)));
  storeLittleEndian16(header + 10, static_cast<uint16_t>(dbfRecordLength(columns)));
  std::string out(reinterpret_cast<const char*>(header), sizeof header);
  size_t address = 0;
  for (const DbfColumn& column : columns) {
    appendDescriptor(out, column, address);
    address += column.length;
  }
  out += static_cast<char>(kDbfHeaderEnd);
  return out;
}

std::string dbfTextCell(std::string_view bytes, size_t length) {
  if (bytes.size() >= length) return std::string(bytes.substr(bytes.size() - length));
  std::string cell(bytes);
  cell.resize(length, ' ');
  return cell;
}

std::string dbfNumberCell(double value, size_t length, size_t decimals) {
  char text[400];
  const std::to_chars_result written =
      std::isfinite(value) ? std::to_chars(text, text + sizeof text, value, std::chars_format::fixed,
                                           static_cast<int>(decimals))
                           : std::to_chars_result{text, std::errc::value_too_large};
  const size_t size = static_cast<size_t>(written.ptr - text);
  if (written.ec != std::errc() || size > length) return std::string(length, '*');
  return std::string(length - size, ' ') + std::string(text, size);
}

std::string dbfLogicalCell(bool value) { return value ? "T" : "F"; }

std::string dbfTextValue(std::string_view cell) { return std::string(stripPadding(cell)); }

double dbfNumberValue(std::string_view cell) {
  std::string_view text = stripPadding(cell);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const std::from_chars_result read = std::from_chars(text.data(), text.data() + text.size(), value);
  return read.ec == std::errc() && std::isfinite(value) ? value : 0.0;
}

bool dbfLogicalValue(std::string_view cell) {
  if (cell.empty()) return false;
  switch (cell.front()) {
    case 'F': case 'f': case 'N': case 'n': case ' ': case '?': case '\0': return false;
    default: return true;
  }
}

const DbfTable::Field* DbfTable::field(std::string_view name) const {
  for (const Field& candidate : fields) {
    if (equalsIgnoreCase(candidate.column.name, name)) return &candidate;
  }
  return nullptr;
}

std::string_view DbfTable::cell(std::string_view record, const Field* field) {
  if (field == nullptr) return {};
  return record.substr(1 + field->offset, field->column.length);
}

bool readDbfTable(std::string_view bytes, DbfTable& table, std::string& error) {
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  if (bytes.size() < kDbfHeaderSize || (data[0] & 0x07) != kDbfVersion) {
    error = kNotDbfText;
    return false;
  }
  const uint64_t recordCount = loadLittleEndian32(data + 4);
  const size_t headerLength = loadLittleEndian16(data + 8);
  const size_t recordLength = loadLittleEndian16(data + 10);
  if (headerLength < kDbfHeaderSize + kDbfDescriptorSize + 1 || headerLength > bytes.size() ||
      recordLength == 0 || headerLength + recordCount * recordLength > bytes.size()) {
    error = kDamagedSizeText;
    return false;
  }
  DbfTable read;
  const size_t columnCount = (headerLength - 1) / kDbfDescriptorSize - 1;
  size_t offset = 0;
  for (size_t i = 0; i < columnCount; ++i) {
    const uint8_t* descriptor = data + kDbfHeaderSize + i * kDbfDescriptorSize;
    if (descriptor[0] == kDbfHeaderEnd) break;
    read.fields.push_back({descriptorColumn(descriptor), offset});
    offset += read.fields.back().column.length;
  }
  if (read.fields.empty() || offset + 1 != recordLength) {
    error = kDamagedRecordText;
    return false;
  }
  for (uint64_t i = 0; i < recordCount; ++i) {
    const std::string_view record = bytes.substr(headerLength + i * recordLength, recordLength);
    if (record.front() == ' ') read.records.push_back(record);
  }
  table = std::move(read);
  return true;
}

}  // namespace zelmot::document
