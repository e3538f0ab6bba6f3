#include "archive/export_columns.h"

#include <array>

#include "model/desc_branch.h"
#include "model/parameter.h"
#include "platform/ascii_text.h"

namespace zelmot::archive {
namespace {

struct Filter {
  const char* text;
  const char* name;
};

constexpr std::array<Filter, kExportFilterCount> kFilters{{
    {"Все оперативные параметры протокола", ""},
    {"Только измерители (rEAd)", "read"},
    {"Только вычислители (r.CAL)", "r.cal"},
    {"Только регуляторы (Set.P)", "Set.P"},
    {"Только ПС (r.OUt)", "r.out"},
    {"Только ВЭ (r.oe)", "r.oe"},
}};

const char* const kArchiveNodeName = "    ";

void collectColumns(const model::DescBranch& branch, std::vector<ExportColumn>& columns) {
  for (const model::Parameter* parameter : branch.parameters()) {
    if (parameter == nullptr || parameter->name() == kArchiveNodeName) continue;
    const auto index = static_cast<uint8_t>(parameter->linearIndex() & 0xFF);
    columns.push_back(makeExportColumn(*parameter, index));
  }
  for (const auto& child : branch.children()) collectColumns(*child, columns);
}

}  // namespace

ExportColumn makeExportColumn(const model::MyConverter& source, uint8_t index) {
  auto converter = std::make_shared<model::MyConverter>();
  converter->setName(source.name());
  converter->setTypeDescriptor(source.typeDescriptor());
  converter->setDecimals(source.decimals());
  converter->setLimits(source.minimum(), source.maximum());
  return ExportColumn{source.name(), index, std::move(converter)};
}

std::vector<ExportColumn> protocolColumns(const model::DescBranch& measurementTree) {
  std::vector<ExportColumn> columns;
  collectColumns(measurementTree, columns);
  return columns;
}

const char* exportFilterText(int position) {
  if (position < 0 || position >= kExportFilterCount) return "";
  return kFilters[static_cast<size_t>(position)].text;
}

const char* exportFilterName(int position) {
  if (position < 0 || position >= kExportFilterCount) return "";
  return kFilters[static_cast<size_t>(position)].name;
}

std::vector<ExportColumn> columnsForFilter(const std::vector<ExportColumn>& all, int position) {
  const std::string_view kept = exportFilterName(position);
  if (kept.empty()) return all;
  std::vector<ExportColumn> columns;
  for (const ExportColumn& column : all) {
    if (equalsIgnoreCase(column.name, kept)) columns.push_back(column);
  }
  return columns;
}

uint64_t ColumnLookup::nameKey(std::string_view name) {
  uint64_t key = 0;
  for (size_t i = 0; i < name.size() && i < kLogNameFieldSize; ++i) {
    key |= static_cast<uint64_t>(static_cast<unsigned char>(toLowerAscii(name[i]))) << (8 * i);
  }
  return key;
}

ColumnLookup::ColumnLookup(const std::vector<ExportColumn>& columns) {
  for (size_t i = 0; i < columns.size(); ++i) {
    // A log stores at most 8 bytes of a name: a longer one can never match.
    if (columns[i].name.size() > kLogNameFieldSize) continue;
    auto [entry, made] = positions_.try_emplace(nameKey(columns[i].name));
    if (made) entry->second.fill(-1);
    int& position = entry->second[columns[i].index];
    if (position < 0) position = static_cast<int>(i);  // a parameter listed twice keeps its first
  }
}

int ColumnLookup::find(const LogRecord& record) const {
  if (record.name.size() > kLogNameFieldSize) return -1;
  const auto found = positions_.find(nameKey(record.name));
  return found == positions_.end() ? -1 : found->second[record.index];
}

}  // namespace zelmot::archive
