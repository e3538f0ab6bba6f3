#pragma once
// One parameter as a row of the parameter table: the in-memory record that the table
// export writes and the import matches by name and linear index, and its fixed 252-byte
// layout with OEM (cp866) texts.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace zelmot::model {

struct ExportRecord {
  static constexpr size_t kSize = 252;

  std::string name;         // UTF-8 here; at most 8 OEM bytes in the layout
  std::string description;  // 79
  std::string valueText;    // 63
  bool hasLinearIndex = false;
  int32_t linearIndex = 0;
  int32_t requestIndex = 0;
  bool writable = false;  // both write flags
  bool editable = false;
  bool factoryOwned = false;
  std::string errorText;  // 79
  bool valueChanged = false;
  bool editAttributeChanged = false;
  bool ownerAttributeChanged = false;
  int32_t privacy = 0;  // only its low byte travels in the layout

  // Texts longer than their field are cut at the field (whole characters), zero-terminated.
  std::array<uint8_t, kSize> toBytes() const;
  // Never reads past `size`; false when fewer than kSize bytes are given.
  static bool fromBytes(const uint8_t* bytes, size_t size, ExportRecord& record);
};

// Records looked up by linear index x 65536 + name_hash(name); a later record with the
// same key replaces the earlier one.
class ExportRecordTable {
public:
  static int64_t keyOf(int32_t linearIndex, const std::string& name);

  void add(const ExportRecord& record);
  const ExportRecord* find(int32_t linearIndex, const std::string& name) const;
  size_t size() const { return records_.size(); }

private:
  std::unordered_map<int64_t, ExportRecord> records_;
};

}  // namespace zelmot::model
