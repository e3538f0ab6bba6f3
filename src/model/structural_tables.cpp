#include "model/structural_tables.h"

#include "model/description_records.h"
#include "model/parameter.h"

namespace zelmot::model {

namespace {

constexpr int kRecordsPerA = 4;
constexpr int kRecordsPerBRow = 20;
constexpr int kRecordsPerE = 20;
constexpr int kColumnsOfB = 4;

bool haveDivisor(uint8_t divisor, const char* name, std::string& error) {
  if (divisor != 0) return true;
  error = std::string("константа ") + name + " равна 0, а вид параметра делит на неё";
  return false;
}

bool recordHasIndex(const CatalogueRecord& record) {
  return record.indexMode != 0 ? record.linearIndex != -1 : record.linearIndex >= 0;
}

// Row and column from the kind table; false when a divisor is 0.
bool rawPosition(const CatalogueRecord& record, const DescriptionConstants& c, int64_t& row,
                 int64_t& column, std::string& error) {
  const int64_t l = record.linearIndex;
  const int32_t kind = record.kind;
  row = 0;
  switch (kind) {
    case 100: column = l / kRecordsPerA; return true;
    case 101: case 102: case 103: case 104:
      row = l / kRecordsPerBRow;
      column = kind - 101;
      return true;
    case 105: case 106: case 108: case 115: column = l; return true;
    case 107: column = l / kRecordsPerE; return true;
    case 109:
      if (!haveDivisor(c.pStep, "pStep", error) || !haveDivisor(c.nProf, "nProf", error)) {
        return false;
      }
      row = (l / c.pStep) / c.nProf;
      column = (l / c.pStep) % c.nProf;
      return true;
    case 110:
      if (!haveDivisor(c.nZELCh, "nZELCh", error)) return false;
      row = l / c.nZELCh;
      column = l % c.nZELCh;
      return true;
    case 111: case 114:
      if (!haveDivisor(c.nZELCh, "nZELCh", error)) return false;
      column = (recordHasIndex(record) ? l : 0) / c.nZELCh;
      return true;
    default:  // 112, 113
      if (!haveDivisor(c.nKey, "nKey", error)) return false;
      row = l / c.nKey;
      column = l % c.nKey;
      return true;
  }
}

}  // namespace

uint8_t& constantField(DescriptionConstants& c, size_t index) {
  uint8_t* fields[kConstantCount] = {&c.nObj,     &c.nKey,   &c.maxSensors, &c.n485Filter,
                                     &c.nActP,    &c.nOutElem, &c.n_commut, &c.nodeQn,
                                     &c.nZELCh,   &c.nProf,  &c.pStep,      &c.nDiskretInput};
  return *fields[index];
}

char tableLetter(StructuralTable table) { return "ABCDEFGHIJKMN"[static_cast<size_t>(table)]; }

StructuralTable tableOfKind(int32_t kind) {
  switch (kind) {
    case 100: return StructuralTable::A;
    case 101: case 102: case 103: case 104: return StructuralTable::B;
    case 105: return StructuralTable::C;
    case 106: return StructuralTable::D;
    case 107: return StructuralTable::E;
    case 108: return StructuralTable::F;
    case 109: return StructuralTable::G;
    case 110: return StructuralTable::H;
    case 111: return StructuralTable::I;
    case 112: return StructuralTable::J;
    case 113: return StructuralTable::K;
    case 114: return StructuralTable::M;
    default: return StructuralTable::N;
  }
}

TableShape tableShape(StructuralTable table, const DescriptionConstants& c) {
  switch (table) {
    case StructuralTable::A: return {1, c.nObj};
    case StructuralTable::B: return {c.nObj, kColumnsOfB};
    case StructuralTable::C: return {1, c.maxSensors};
    case StructuralTable::D: return {1, c.nOutElem};
    case StructuralTable::E: return {1, c.n485Filter};
    case StructuralTable::F: return {1, c.n_commut};
    case StructuralTable::G: return {c.nObj, c.nProf};
    case StructuralTable::H: return {c.nObj, c.nZELCh};
    case StructuralTable::I: return {1, c.nObj};
    case StructuralTable::J: return {c.nObj, c.nKey};
    case StructuralTable::K: return {c.nObj, c.nKey};
    case StructuralTable::M: return {1, c.nObj};
    case StructuralTable::N: return {1, c.nDiskretInput};
  }
  return {};
}

bool structuralPosition(const CatalogueRecord& record, const DescriptionConstants& constants,
                        TablePosition& position, std::string& error) {
  const std::string kind = "вид " + std::to_string(record.kind);
  if (!isStructuralKind(record.kind)) {
    error = kind + " не размещается в структурных таблицах";
    return false;
  }
  int64_t row = 0;
  int64_t column = 0;
  if (!rawPosition(record, constants, row, column, error)) return false;
  // Integer division would fold small negative indexes onto slot 0; such a record has no
  // place. Kinds 111 and 114 take 0 for a record without an index.
  const bool usesIndexOrZero = record.kind == 111 || record.kind == 114;
  const bool negative = usesIndexOrZero ? (recordHasIndex(record) && record.linearIndex < 0)
                                        : record.linearIndex < 0;
  const StructuralTable table = tableOfKind(record.kind);
  const TableShape shape = tableShape(table, constants);
  if (negative) {
    error = kind + ": отрицательный линейный индекс " + std::to_string(record.linearIndex) +
            " не даёт места в таблице " + tableLetter(table);
    return false;
  }
  if (row < 0 || row >= shape.rows || column < 0 || column >= shape.columns) {
    error = kind + " помещает параметр в таблицу " + tableLetter(table) + " на место [" +
            std::to_string(row) + "][" + std::to_string(column) + "], а её размер " +
            std::to_string(shape.rows) + "x" + std::to_string(shape.columns);
    return false;
  }
  position = {table, row, column};
  return true;
}

void StructuralTables::allocate(const DescriptionConstants& constants) {
  clear();
  constants_ = constants;
  for (size_t t = 0; t < kStructuralTableCount; ++t) {
    shapes_[t] = tableShape(static_cast<StructuralTable>(t), constants);
    slots_[t].assign(static_cast<size_t>(shapes_[t].rows) * static_cast<size_t>(shapes_[t].columns),
                     nullptr);
  }
}

void StructuralTables::clear() {
  for (auto& table : slots_) {
    for (Parameter*& slot : table) {
      if (slot != nullptr) slot->setTableSlot(nullptr);
      slot = nullptr;
    }
  }
}

bool StructuralTables::place(Parameter& parameter, const CatalogueRecord& record,
                             std::string& error) {
  TablePosition position;
  if (!structuralPosition(record, constants_, position, error)) return false;
  const size_t t = index(position.table);
  Parameter*& slot = slots_[t][static_cast<size_t>(position.row) *
                                   static_cast<size_t>(shapes_[t].columns) +
                               static_cast<size_t>(position.column)];
  if (slot != nullptr && slot != &parameter) slot->setTableSlot(nullptr);
  slot = &parameter;
  parameter.setTableSlot(&slot);
  return true;
}

Parameter* StructuralTables::at(StructuralTable table, int row, int column) const {
  const size_t t = index(table);
  if (row < 0 || row >= shapes_[t].rows || column < 0 || column >= shapes_[t].columns) {
    return nullptr;
  }
  return slots_[t][static_cast<size_t>(row) * static_cast<size_t>(shapes_[t].columns) +
                   static_cast<size_t>(column)];
}

size_t StructuralTables::placedCount() const {
  size_t count = 0;
  for (const auto& table : slots_) {
    for (const Parameter* slot : table) count += slot != nullptr ? 1 : 0;
  }
  return count;
}

}  // namespace zelmot::model
