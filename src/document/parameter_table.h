#pragma once
// The parameter table: every parameter of the tree as one row of a dBase III table, with
// OEM (cp866) texts, and the import that lets the tree take its values from such a table,
// matching rows by name and linear index.
#include <string>
#include <string_view>
#include <vector>

#include "document/dbf_format.h"
#include "model/export_record.h"

namespace zelmot::model {
class DescBranch;
}

namespace zelmot::document {

// The columns, in order: CONF_ID, NAME, DESC, VALUE, HASLINDEX, LINDEX, DADDRESS,
// CANWRITE, ATRACCESS, ATROWNER, ERROR, NEEDUPDTE, NEEDU_ACC, NEEDU_OWN, PRIVACY.
const std::vector<DbfColumn>& parameterTableColumns();

// The cells of one record, each of its column's length.
std::vector<std::string> parameterTableCells(const model::ExportRecord& record);
// A record read from a table row; columns the table lacks leave their fields empty or 0.
model::ExportRecord parameterTableRecord(const DbfTable& table, std::string_view row);

struct TableResult {
  bool ok = false;
  std::string message;  // why it failed, for the user
  int records = 0;      // rows written or read
};

// Writes the tree's records; an existing file is replaced only when the whole table is in.
TableResult exportParameterTable(const model::DescBranch& root, const std::string& path);

// Reads the rows of a table (later rows replace earlier ones of the same name and index).
// A file that cannot be read, is no dBase III table or is cut short is refused.
TableResult readParameterTable(const std::string& path, model::ExportRecordTable& records);

struct ImportResult {
  TableResult table;
  int missingCount = 0;
  // The parameters without a row (at most 15 listed); empty when every one had its row.
  std::string missing;
};

// Reads the table first; only a table read whole changes the tree.
ImportResult importParameterTable(model::DescBranch& root, const std::string& path);

// "След. параметры небыли определены:\n" and the list.
std::string missingParametersText(const std::string& missing);

inline constexpr int kMissingListLimit = 15;
inline constexpr const char* kDbfFilterText = "Файлы DBase (*.dbf);;Все файлы (*)";
inline constexpr const char* kDbfExportStatusText =
    "Экспартирует таблицу значений параметров в формат DBase-III";

}  // namespace zelmot::document
