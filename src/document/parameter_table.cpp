#include "document/parameter_table.h"

#include <cmath>
#include <limits>

#include "document/dbf_writer.h"
#include "model/desc_branch.h"
#include "model/description_files.h"
#include "platform/code_page.h"

namespace zelmot::document {

namespace {

// Column positions in parameterTableColumns().
enum Column : size_t {
  kConfId, kName, kDesc, kValue, kHasLindex, kLindex, kDaddress, kCanWrite,
  kAtrAccess, kAtrOwner, kError, kNeedUpdate, kNeedAccess, kNeedOwner, kPrivacy,
};

const DbfColumn& column(Column which) { return parameterTableColumns()[which]; }

std::string text(Column which, const std::string& utf8) {
  return dbfTextCell(utf8ToCp866(utf8), column(which).length);
}

std::string number(Column which, double value) {
  return dbfNumberCell(value, column(which).length, column(which).decimals);
}

// Numbers of the table are whole; a value beyond 32 bits is clamped, never wrapped.
int32_t wholeNumber(std::string_view cell) {
  const double value = std::trunc(dbfNumberValue(cell));
  constexpr double kLow = std::numeric_limits<int32_t>::min();
  constexpr double kHigh = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value < kLow ? kLow : value > kHigh ? kHigh : value);
}

struct RowReader {
  const DbfTable& table;
  std::string_view row;

  std::string_view cell(const char* name) const { return DbfTable::cell(row, table.field(name)); }
  std::string text(const char* name) const { return cp866ToUtf8(dbfTextValue(cell(name))); }
  int32_t number(const char* name) const { return wholeNumber(cell(name)); }
  bool flag(const char* name) const { return dbfLogicalValue(cell(name)); }
};

}  // namespace

const std::vector<DbfColumn>& parameterTableColumns() {
  static const std::vector<DbfColumn> kColumns = {
      {"CONF_ID", 'N', 4, 0},   {"NAME", 'C', 9, 0},      {"DESC", 'C', 80, 0},
      {"VALUE", 'C', 64, 0},    {"HASLINDEX", 'L', 1, 0}, {"LINDEX", 'N', 8, 0},
      {"DADDRESS", 'N', 4, 0},  {"CANWRITE", 'L', 1, 0},  {"ATRACCESS", 'L', 1, 0},
      {"ATROWNER", 'L', 1, 0},  {"ERROR", 'C', 80, 0},    {"NEEDUPDTE", 'L', 1, 0},
      {"NEEDU_ACC", 'L', 1, 0}, {"NEEDU_OWN", 'L', 1, 0}, {"PRIVACY", 'N', 4, 0},
  };
  return kColumns;
}

std::vector<std::string> parameterTableCells(const model::ExportRecord& record) {
  return {
      number(kConfId, 0),
      text(kName, record.name),
      text(kDesc, record.description),
      text(kValue, record.valueText),
      dbfLogicalCell(record.hasLinearIndex),
      number(kLindex, record.linearIndex),
      number(kDaddress, record.requestIndex),
      dbfLogicalCell(record.writable),
      dbfLogicalCell(record.editable),
      dbfLogicalCell(record.factoryOwned),
      text(kError, record.errorText),
      dbfLogicalCell(record.valueChanged),
      dbfLogicalCell(record.editAttributeChanged),
      dbfLogicalCell(record.ownerAttributeChanged),
      number(kPrivacy, record.privacy & 0xFF),
  };
}

model::ExportRecord parameterTableRecord(const DbfTable& table, std::string_view row) {
  const RowReader read{table, row};
  model::ExportRecord record;
  record.name = read.text("NAME");
  record.description = read.text("DESC");
  record.valueText = read.text("VALUE");
  record.hasLinearIndex = read.flag("HASLINDEX");
  record.linearIndex = read.number("LINDEX");
  record.requestIndex = read.number("DADDRESS");
  record.writable = read.flag("CANWRITE");
  record.editable = read.flag("ATRACCESS");
  record.factoryOwned = read.flag("ATROWNER");
  record.errorText = read.text("ERROR");
  record.valueChanged = read.flag("NEEDUPDTE");
  record.editAttributeChanged = read.flag("NEEDU_ACC");
  record.ownerAttributeChanged = read.flag("NEEDU_OWN");
  record.privacy = read.number("PRIVACY");
  return record;
}

TableResult exportParameterTable(const model::DescBranch& root, const std::string& path) {
  std::vector<model::ExportRecord> records;
  root.ExportRecords(records);
  TableResult result;
  DbfWriter writer;
  if (!writer.create(path, parameterTableColumns(), todayForDbf(), result.message)) return result;
  for (const model::ExportRecord& record : records) {
    if (!writer.append(parameterTableCells(record), result.message)) return result;
  }
  if (!writer.commit(result.message)) return result;
  result.ok = true;
  result.records = static_cast<int>(writer.recordCount());
  return result;
}

TableResult readParameterTable(const std::string& path, model::ExportRecordTable& records) {
  TableResult result;
  std::vector<uint8_t> bytes;
  std::string error;
  if (!model::readFileBytes(path, bytes, error)) {
    result.message = "Проблемы с открытием файла '" + path + "'\n" + error;
    return result;
  }
  DbfTable table;
  const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (!readDbfTable(view, table, error)) {
    result.message = path + ": " + error;
    return result;
  }
  if (table.field("NAME") == nullptr) {
    result.message = path + ": в таблице нет столбца NAME";
    return result;
  }
  model::ExportRecordTable read;
  for (const std::string_view row : table.records) read.add(parameterTableRecord(table, row));
  records = std::move(read);
  result.ok = true;
  result.records = static_cast<int>(table.records.size());
  return result;
}

ImportResult importParameterTable(model::DescBranch& root, const std::string& path) {
  ImportResult result;
  model::ExportRecordTable records;
  result.table = readParameterTable(path, records);
  if (!result.table.ok) return result;
  root.ImportRecords(records, kMissingListLimit, result.missingCount, result.missing);
  return result;
}

std::string missingParametersText(const std::string& missing) {
  return "След. параметры небыли определены:\n" + missing;
}

}  // namespace zelmot::document
