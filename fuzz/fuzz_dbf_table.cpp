// Feeds arbitrary bytes to the parameter table reader. Whatever counts and lengths the
// header claims, nothing may be read outside the bytes, and a table that is taken must
// give records that the import can match.
#include <cstdint>
#include <string_view>

#include "document/dbf_format.h"
#include "document/parameter_table.h"
#include "model/export_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  zelmot::document::DbfTable table;
  std::string error;
  if (!zelmot::document::readDbfTable(bytes, table, error)) return 0;
  zelmot::model::ExportRecordTable records;
  for (const std::string_view row : table.records) {
    records.add(zelmot::document::parameterTableRecord(table, row));
  }
  return 0;
}
