#include "model/record_fields.h"

#include <bit>
#include <cstring>

#include "platform/code_page.h"
#include "platform/byte_order.h"

namespace zelmot::model::fields {

int32_t readI32(std::span<const uint8_t> record, size_t offset) {
  return static_cast<int32_t>(loadLittleEndian32(record.subspan(offset, 4).data()));
}

float readF32(std::span<const uint8_t> record, size_t offset) {
  return std::bit_cast<float>(static_cast<uint32_t>(readI32(record, offset)));
}

std::string readText(std::span<const uint8_t> record, size_t offset, size_t size) {
  const auto field = record.subspan(offset, size);
  size_t length = 0;
  bool ascii = true;
  while (length < field.size() && field[length] != 0) ascii &= field[length++] < 0x80;
  const std::string_view bytes(reinterpret_cast<const char*>(field.data()), length);
  // Names and type keywords are plain ASCII, which reads the same in both encodings.
  return ascii ? std::string(bytes) : cp1251ToUtf8(bytes);
}

bool textTerminated(std::span<const uint8_t> record, size_t offset, size_t size) {
  for (uint8_t byte : record.subspan(offset, size)) {
    if (byte == 0) return true;
  }
  return false;
}

void writeI32(std::span<uint8_t> record, size_t offset, int32_t value) {
  storeLittleEndian32(record.subspan(offset, 4).data(), static_cast<uint32_t>(value));
}

void writeF32(std::span<uint8_t> record, size_t offset, float value) {
  writeI32(record, offset, static_cast<int32_t>(std::bit_cast<uint32_t>(value)));
}

bool writeText(std::span<uint8_t> record, size_t offset, size_t size, const std::string& utf8,
               size_t recordNumber, const char* fieldName, std::string& error) {
  const std::string where =
      "запись " + std::to_string(recordNumber) + ", поле \"" + fieldName + "\": ";
  if (!fitsCp1251(utf8)) {
    error = where + "текст содержит символы вне кодовой страницы windows-1251";
    return false;
  }
  const std::string bytes = utf8ToCp1251(utf8);
  if (bytes.size() + 1 > size) {
    error = where + "текст длиной " + std::to_string(bytes.size()) +
            " байт не помещается в поле (не более " + std::to_string(size - 1) + ")";
    return false;
  }
  auto field = record.subspan(offset, size);
  std::memset(field.data(), 0, field.size());
  std::memcpy(field.data(), bytes.data(), bytes.size());
  return true;
}

}  // namespace zelmot::model::fields
