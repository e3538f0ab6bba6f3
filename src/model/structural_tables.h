#pragma once
// The structural constants of the device model and the tables of parameter references
// that the kind code of a catalogue record fills. The tables let the document and the view
// find, say, a channel's or a key's parameter by number.
//
// Table shapes (the kind codes only give the positions): the key tables J and K are
// nObj x nKey, the per-object tables B, G and H have nObj rows, the rest are one row as
// long as the count of the things they list:
//   A 1 x nObj   B nObj x 4   C 1 x maxSensors   D 1 x nOutElem   E 1 x n485Filter
//   F 1 x n_commut   G nObj x nProf   H nObj x nZELCh   I 1 x nObj   J, K nObj x nKey
//   M 1 x nObj   N 1 x nDiskretInput
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zelmot::model {

class Parameter;
struct CatalogueRecord;

// The twelve constants of zelmot.tree.const as the device link keeps them (8 bits each).
struct DescriptionConstants {
  uint8_t nObj = 0;
  uint8_t nKey = 0;
  uint8_t maxSensors = 0;
  uint8_t n485Filter = 0;
  uint8_t nActP = 0;
  uint8_t nOutElem = 0;
  uint8_t n_commut = 0;
  uint8_t nodeQn = 0;  // `_NODE_QN` in the file; a leading underscore and capital is reserved in C++
  uint8_t nZELCh = 0;
  uint8_t nProf = 0;
  uint8_t pStep = 0;
  uint8_t nDiskretInput = 0;

  // nProf x pStep, kept in 8 bits like the constants themselves.
  uint8_t profileSteps() const { return static_cast<uint8_t>(nProf * pStep); }
};

// Names in the order they are looked up, matching the fields above.
inline constexpr const char* kConstantNames[] = {
    "nObj",     "nKey",     "maxSensors", "n485Filter", "nActP", "nOutElem",
    "n_commut", "_NODE_QN", "nZELCh",     "nProf",      "pStep", "nDiskretInput"};
inline constexpr size_t kConstantCount = std::size(kConstantNames);

// Field of the constant with that position in kConstantNames.
uint8_t& constantField(DescriptionConstants& constants, size_t index);

enum class StructuralTable { A, B, C, D, E, F, G, H, I, J, K, M, N };
inline constexpr size_t kStructuralTableCount = 13;

char tableLetter(StructuralTable table);

struct TableShape {
  int rows = 0;
  int columns = 0;
};

struct TablePosition {
  StructuralTable table = StructuralTable::A;
  int64_t row = 0;
  int64_t column = 0;
};

inline bool isStructuralKind(int32_t kind) { return kind >= 100 && kind <= 115; }

// Table a structural kind code fills (kind must be 100..115).
StructuralTable tableOfKind(int32_t kind);
TableShape tableShape(StructuralTable table, const DescriptionConstants& constants);

// Where a catalogue record of a structural kind goes. False with `error` (Russian, without
// the record number) when a divisor constant is 0, the linear index is negative where the
// kind divides it, or the position lies outside the table.
bool structuralPosition(const CatalogueRecord& record, const DescriptionConstants& constants,
                        TablePosition& position, std::string& error);

class StructuralTables {
public:
  StructuralTables() = default;
  StructuralTables(const StructuralTables&) = delete;
  StructuralTables& operator=(const StructuralTables&) = delete;

  // Sizes every table from the constants, all slots empty; parameters placed before are
  // told they no longer have a slot.
  void allocate(const DescriptionConstants& constants);
  // Empties every slot (detaching the parameters), keeping the shapes.
  void clear();
  const DescriptionConstants& constants() const { return constants_; }
  TableShape shape(StructuralTable table) const { return shapes_[index(table)]; }

  // Puts the parameter of a structural-kind record into its slot and tells the parameter
  // its slot. A parameter already there is detached (the later record wins). False with
  // `error` when the record has no valid place; nothing is written then.
  bool place(Parameter& parameter, const CatalogueRecord& record, std::string& error);
  // The parameter at a position; nullptr when empty or outside the table.
  Parameter* at(StructuralTable table, int row, int column) const;
  size_t placedCount() const;

private:
  static size_t index(StructuralTable table) { return static_cast<size_t>(table); }

  DescriptionConstants constants_;
  std::array<TableShape, kStructuralTableCount> shapes_{};
  // Each table row-major; the vectors are never resized after allocate, because parameters
  // hold pointers to their slots.
  std::array<std::vector<Parameter*>, kStructuralTableCount> slots_{};
};

}  // namespace zelmot::model
