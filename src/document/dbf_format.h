#pragma once
// The dBase III table file: a 32-byte header, one 32-byte descriptor per column, 0x0D,
// fixed-length records (a leading space marks a live record, "*" a deleted one) and 0x1A.
// Cells are bytes of the table's own code page; callers convert texts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelmot::document {

struct DbfColumn {
  std::string name;  // up to 10 ASCII characters
  char type = 'C';   // C text, N number, L logical
  uint8_t length = 1;
  uint8_t decimals = 0;
};

struct DbfDate {
  int year = 2000;  // full year
  int month = 1;    // 1..12
  int day = 1;
};

inline constexpr size_t kDbfHeaderSize = 32;
inline constexpr size_t kDbfDescriptorSize = 32;
inline constexpr uint8_t kDbfVersion = 3;
inline constexpr uint8_t kDbfHeaderEnd = 0x0D;
inline constexpr uint8_t kDbfFileEnd = 0x1A;

// 33 + 32 per column.
size_t dbfHeaderLength(const std::vector<DbfColumn>& columns);
// 1 (the deletion mark) + the column lengths.
size_t dbfRecordLength(const std::vector<DbfColumn>& columns);
// The header, the descriptors and 0x0D, for `recordCount` records.
std::string dbfHeaderBytes(const std::vector<DbfColumn>& columns, uint32_t recordCount,
                           const DbfDate& created);

// Cells as the table stores them, exactly `length` bytes each.
// Text: space-filled; a text as long as the cell or longer keeps its last `length` bytes.
std::string dbfTextCell(std::string_view bytes, size_t length);
// Number: fixed point with `decimals` places, right-aligned. A number too wide for the cell
// is written as asterisks (dBase's overflow mark) rather than with its leading digits cut.
std::string dbfNumberCell(double value, size_t length, size_t decimals);
std::string dbfLogicalCell(bool value);

// Cells read back. Text: without the padding blanks on either side. Number: the decimal
// number the cell starts with, 0 when there is none. Logical: false for the dBase "false"
// letters F/N (either case) and an unset cell (blank or "?"), true otherwise.
std::string dbfTextValue(std::string_view cell);
double dbfNumberValue(std::string_view cell);
bool dbfLogicalValue(std::string_view cell);

// A table read from its bytes. Records are views into the bytes given to readDbfTable,
// which must outlive it; deleted records are not among them.
struct DbfTable {
  struct Field {
    DbfColumn column;
    size_t offset = 0;  // within the record, after the deletion mark
  };
  std::vector<Field> fields;
  std::vector<std::string_view> records;  // each of the record length, mark included

  // The field of that name (ASCII case ignored); null when the table has none.
  const Field* field(std::string_view name) const;
  // The bytes of the field in a record; empty for a missing field.
  static std::string_view cell(std::string_view record, const Field* field);
};

// False with a message for the user when the bytes are not a dBase III table or when its
// header's lengths and counts do not match the size of the file.
bool readDbfTable(std::string_view bytes, DbfTable& table, std::string& error);

}  // namespace zelmot::document
