#pragma once
// Fixed-offset fields of the binary description records: little-endian integers, IEEE
// floats and windows-1251 texts zero-terminated within their field. Callers make sure the
// whole record lies inside the buffer; these helpers never look outside the field itself.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace zelmot::model::fields {

// A text field of a record; `label` names it in error messages.
struct TextField {
  size_t offset;
  size_t size;
  const char* label;
};

int32_t readI32(std::span<const uint8_t> record, size_t offset);
float readF32(std::span<const uint8_t> record, size_t offset);
// Text up to the first zero of the field, or the whole field when it has none; UTF-8.
std::string readText(std::span<const uint8_t> record, size_t offset, size_t size);
// True when the field holds a zero byte (the text is terminated inside it).
bool textTerminated(std::span<const uint8_t> record, size_t offset, size_t size);

void writeI32(std::span<uint8_t> record, size_t offset, int32_t value);
void writeF32(std::span<uint8_t> record, size_t offset, float value);
// Stores the UTF-8 text as windows-1251 with its terminating zero. False with `error` set
// ("запись N, поле F: ...") when a character has no windows-1251 form or the text does
// not fit the field.
bool writeText(std::span<uint8_t> record, size_t offset, size_t size, const std::string& utf8,
               size_t recordNumber, const char* fieldName, std::string& error);

inline std::string readText(std::span<const uint8_t> record, const TextField& field) {
  return readText(record, field.offset, field.size);
}
inline bool writeText(std::span<uint8_t> record, const TextField& field, const std::string& utf8,
                      size_t recordNumber, std::string& error) {
  return writeText(record, field.offset, field.size, utf8, recordNumber, field.label, error);
}

}  // namespace zelmot::model::fields
