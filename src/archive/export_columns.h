#pragma once
// The columns of a measurement protocol: one per protocol parameter (name and the low byte
// of its linear index, as the daily log stores them), each with its own converter so that
// decoding a report never touches the live parameters or the document they belong to.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "archive/log_record.h"
#include "model/my_converter.h"

namespace zelmot::model {
class DescBranch;
}

namespace zelmot::archive {

struct ExportColumn {
  std::string name;
  uint8_t index = 0;
  std::shared_ptr<const model::MyConverter> converter;
};

// A column that decodes like `source` (name, type, decimals, limits) without its context.
ExportColumn makeExportColumn(const model::MyConverter& source, uint8_t index);

// Every parameter of the measurement tree in tree order, the archive node left out.
std::vector<ExportColumn> protocolColumns(const model::DescBranch& measurementTree);

inline constexpr int kExportFilterCount = 6;
// The text of a filter in the list; "" outside 0..5.
const char* exportFilterText(int position);
// The parameter name a filter keeps; "" keeps all (position 0 and anything unknown).
const char* exportFilterName(int position);
// The columns a filter lets through, in their order.
std::vector<ExportColumn> columnsForFilter(const std::vector<ExportColumn>& all, int position);

// Finds the column of a record by name (ignoring the case of Latin letters) and index.
class ColumnLookup {
public:
  explicit ColumnLookup(const std::vector<ExportColumn>& columns);
  // The column's position, or -1 when the record has no column.
  int find(const LogRecord& record) const;

private:
  // Keyed by the name's (at most 8) bytes with Latin letters folded, then by index: no
  // allocation per record.
  static uint64_t nameKey(std::string_view name);
  std::unordered_map<uint64_t, std::array<int, 256>> positions_;
};

}  // namespace zelmot::archive
