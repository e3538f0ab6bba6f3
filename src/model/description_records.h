#pragma once
// The records of the four description files as plain data. Readers fill them from the
// binary files, writers turn them back into the same bytes, and the model loader builds
// the catalogue and the trees from them. Texts are UTF-8 here; the files hold windows-1251.
#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace zelmot::model {

// zelmot.tree.const: name/value pairs in file order (the first occurrence of a name counts).
struct ConstantEntry {
  std::string name;
  int value = 0;
};
using ConstantsText = std::vector<ConstantEntry>;

// One 2343-byte record of parameters.zip.
struct CatalogueRecord {
  static constexpr size_t kSize = 2343;
  std::string name;            // 9 bytes with the terminating zero
  std::string caption;         // 256
  int32_t linearIndex = -1;
  uint8_t indexMode = 1;       // not 0: only -1 means "no index"
  uint8_t readOnly = 0;
  uint8_t flag = 0;
  int32_t kind = 0;            // 100..115 place the parameter in a structural table
  uint8_t valueChanged = 0;
  int32_t attributeMultiplicity = 0;
  uint8_t editable = 1;
  uint8_t factoryOwned = 0;
  std::string typeDescriptor;  // 1024
  int32_t decimals = 0;
  float minimum = 0.0f;
  float maximum = 0.0f;
  std::string initialValue;    // 256
  std::string hint;            // 256, as stored (a leading "?" and "_" kept)
  std::string errorText;       // 512
};

// Tree records of zelmot.tree.zip and zelmot.tree.op.zip, 512 bytes each.
struct BranchRecord {
  int32_t countA = 0;
  int32_t countB = 0;
  int32_t countC = 0;
  int32_t value1 = 0;
  int32_t value2 = 0;
  int32_t value3 = 0;
  int32_t marker = 0;  // 100 marks the main branch
  std::string name;    // 483

  int32_t childCount() const { return countA + countB + countC; }
};

struct LinkRecord {
  std::string text1;  // 238
  std::string text2;  // 256
  std::string text3;  // 9, a parameter name
  int32_t number1 = 0;
  int32_t number2 = 0;
};

struct ReferenceRecord {
  uint8_t kind = 3;           // anything but 1 and 2
  int32_t catalogueIndex = 0;
  uint8_t locked = 0;         // 0: writable at this place
  int32_t subIndex = 0;
  std::string caption;        // 494; empty for none
};

using TreeRecord = std::variant<BranchRecord, LinkRecord, ReferenceRecord>;

}  // namespace zelmot::model
