#include "model/export_record.h"

#include <algorithm>
#include <cstring>

#include "link/frame_codec.h"
#include "platform/code_page.h"
#include "platform/byte_order.h"

namespace zelmot::model {

namespace {

// Byte layout of a record. The two bytes after the write flag carry the edit and owner
// attributes, so the table's attribute columns hold real values.
constexpr size_t kNameOffset = 0, kNameSize = 9;
constexpr size_t kDescriptionOffset = 9, kDescriptionSize = 80;
constexpr size_t kValueOffset = 89, kValueSize = 64;
constexpr size_t kHasLinearIndexOffset = 153;
constexpr size_t kLinearIndexOffset = 156;
constexpr size_t kRequestIndexOffset = 160;
constexpr size_t kWritableOffset = 164;
constexpr size_t kEditableOffset = 165;
constexpr size_t kFactoryOwnedOffset = 166;
constexpr size_t kErrorOffset = 167, kErrorSize = 80;
constexpr size_t kValueChangedOffset = 247;
constexpr size_t kEditChangedOffset = 248;
constexpr size_t kOwnerChangedOffset = 249;
constexpr size_t kPrivacyOffset = 250;

using RecordBytes = std::array<uint8_t, ExportRecord::kSize>;

// OEM text cut to the field, always zero-terminated (cp866 is one byte per character).
void putText(RecordBytes& bytes, size_t offset, size_t size, const std::string& utf8) {
  const std::string oem = utf8ToCp866(utf8);
  const size_t length = std::min(oem.size(), size - 1);
  std::memcpy(bytes.data() + offset, oem.data(), length);
}

void putInt32(RecordBytes& bytes, size_t offset, int32_t value) {
  storeLittleEndian32(bytes.data() + offset, static_cast<uint32_t>(value));
}

std::string getText(const uint8_t* bytes, size_t offset, size_t size) {
  const auto* start = reinterpret_cast<const char*>(bytes + offset);
  const auto* end = static_cast<const char*>(std::memchr(start, 0, size));
  const size_t length = end ? static_cast<size_t>(end - start) : size;
  return cp866ToUtf8(std::string_view(start, length));
}

int32_t getInt32(const uint8_t* bytes, size_t offset) {
  return static_cast<int32_t>(loadLittleEndian32(bytes + offset));
}

}  // namespace

std::array<uint8_t, ExportRecord::kSize> ExportRecord::toBytes() const {
  RecordBytes bytes{};
  putText(bytes, kNameOffset, kNameSize, name);
  putText(bytes, kDescriptionOffset, kDescriptionSize, description);
  putText(bytes, kValueOffset, kValueSize, valueText);
  bytes[kHasLinearIndexOffset] = hasLinearIndex ? 1 : 0;
  putInt32(bytes, kLinearIndexOffset, linearIndex);
  putInt32(bytes, kRequestIndexOffset, requestIndex);
  bytes[kWritableOffset] = writable ? 1 : 0;
  bytes[kEditableOffset] = editable ? 1 : 0;
  bytes[kFactoryOwnedOffset] = factoryOwned ? 1 : 0;
  putText(bytes, kErrorOffset, kErrorSize, errorText);
  bytes[kValueChangedOffset] = valueChanged ? 1 : 0;
  bytes[kEditChangedOffset] = editAttributeChanged ? 1 : 0;
  bytes[kOwnerChangedOffset] = ownerAttributeChanged ? 1 : 0;
  bytes[kPrivacyOffset] = static_cast<uint8_t>(privacy);
  return bytes;
}

bool ExportRecord::fromBytes(const uint8_t* bytes, size_t size, ExportRecord& record) {
  if (bytes == nullptr || size < kSize) return false;
  record.name = getText(bytes, kNameOffset, kNameSize);
  record.description = getText(bytes, kDescriptionOffset, kDescriptionSize);
  record.valueText = getText(bytes, kValueOffset, kValueSize);
  record.hasLinearIndex = bytes[kHasLinearIndexOffset] != 0;
  record.linearIndex = getInt32(bytes, kLinearIndexOffset);
  record.requestIndex = getInt32(bytes, kRequestIndexOffset);
  record.writable = bytes[kWritableOffset] != 0;
  record.editable = bytes[kEditableOffset] != 0;
  record.factoryOwned = bytes[kFactoryOwnedOffset] != 0;
  record.errorText = getText(bytes, kErrorOffset, kErrorSize);
  record.valueChanged = bytes[kValueChangedOffset] != 0;
  record.editAttributeChanged = bytes[kEditChangedOffset] != 0;
  record.ownerAttributeChanged = bytes[kOwnerChangedOffset] != 0;
  record.privacy = bytes[kPrivacyOffset];
  return true;
}

int64_t ExportRecordTable::keyOf(int32_t linearIndex, const std::string& name) {
  return static_cast<int64_t>(linearIndex) * 65536 + link::name_hash(name);
}

void ExportRecordTable::add(const ExportRecord& record) {
  records_.insert_or_assign(keyOf(record.linearIndex, record.name), record);
}

const ExportRecord* ExportRecordTable::find(int32_t linearIndex, const std::string& name) const {
  const auto found = records_.find(keyOf(linearIndex, name));
  return found == records_.end() ? nullptr : &found->second;
}

}  // namespace zelmot::model
