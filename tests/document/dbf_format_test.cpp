// The dBase III file layer: header and descriptor bytes, the cell rules both ways, and the
// refusal of files that are no table or whose header does not fit the file.
#include <gtest/gtest.h>

#include <cstring>

#include "document/dbf_format.h"
#include "document/parameter_table.h"
#include "platform/byte_order.h"

namespace zelmot::document {
namespace {

const std::vector<DbfColumn> kTwoColumns = {{"NAME", 'C', 5, 0}, {"LINDEX", 'N', 4, 0}};

std::string tableBytes(const std::vector<std::string>& records, uint32_t count) {
  std::string bytes = dbfHeaderBytes(kTwoColumns, count, {2026, 12, 8});
  for (const std::string& record : records) bytes += record;
  return bytes + static_cast<char>(kDbfFileEnd);
}

std::string row(char mark, const std::string& name, int index) {
  return mark + dbfTextCell(name, 5) + dbfNumberCell(index, 4, 0);
}

const uint8_t* raw(const std::string& bytes) { return reinterpret_cast<const uint8_t*>(bytes.data()); }

TEST(DbfHeader, LayoutOfTheParameterTable) {
  const std::vector<DbfColumn>& columns = parameterTableColumns();
  const std::string header = dbfHeaderBytes(columns, 7, {2026, 12, 8});
  ASSERT_EQ(header.size(), 33u + 32u * 15u);
  EXPECT_EQ(header[0], 3);
  EXPECT_EQ(header[1], 126);  // year - 1900
  EXPECT_EQ(header[2], 12);
  EXPECT_EQ(header[3], 8);
  EXPECT_EQ(loadLittleEndian32(raw(header) + 4), 7u);
  EXPECT_EQ(loadLittleEndian16(raw(header) + 8), 513);
  EXPECT_EQ(loadLittleEndian16(raw(header) + 10), 261);
  EXPECT_EQ(header.substr(12, 20), std::string(20, '\0'));
  EXPECT_EQ(static_cast<uint8_t>(header.back()), 0x0D);

  // The descriptor of VALUE: name zero-padded, type, offset after CONF_ID, NAME and DESC.
  const std::string value = header.substr(32 + 3 * 32, 32);
  EXPECT_EQ(value.substr(0, 11), std::string("VALUE\0\0\0\0\0\0", 11));
  EXPECT_EQ(value[11], 'C');
  EXPECT_EQ(loadLittleEndian32(raw(value) + 12), 4u + 9u + 80u);
  EXPECT_EQ(static_cast<uint8_t>(value[16]), 64);
  EXPECT_EQ(value.substr(17, 15), std::string(15, '\0'));
  const std::string privacy = header.substr(32 + 14 * 32, 32);
  EXPECT_EQ(std::string(privacy.c_str()), "PRIVACY");
  EXPECT_EQ(privacy[11], 'N');
  EXPECT_EQ(loadLittleEndian32(raw(privacy) + 12), 256u);
}

TEST(DbfCells, WritingRules) {
  EXPECT_EQ(dbfTextCell("abc", 5), "abc  ");
  EXPECT_EQ(dbfTextCell("abcde", 5), "abcde");
  EXPECT_EQ(dbfTextCell("abcdefg", 5), "cdefg");  // longer texts keep their end
  EXPECT_EQ(dbfNumberCell(0, 4, 0), "   0");
  EXPECT_EQ(dbfNumberCell(-12, 4, 0), " -12");
  EXPECT_EQ(dbfNumberCell(12345678, 8, 0), "12345678");
  EXPECT_EQ(dbfNumberCell(2.5, 6, 2), "  2.50");
  // Too wide: asterisks, never "2345" for 12345.
  EXPECT_EQ(dbfNumberCell(12345, 4, 0), "****");
  EXPECT_EQ(dbfNumberCell(-1000, 4, 0), "****");
  EXPECT_EQ(dbfLogicalCell(true), "T");
  EXPECT_EQ(dbfLogicalCell(false), "F");
}

TEST(DbfCells, ReadingRules) {
  EXPECT_EQ(dbfTextValue("  ab c   "), "ab c");
  EXPECT_EQ(dbfTextValue(std::string("ab\0\0", 4)), "ab");
  EXPECT_EQ(dbfTextValue("     "), "");
  EXPECT_EQ(dbfNumberValue("  -12"), -12);
  EXPECT_EQ(dbfNumberValue(" 7.9"), 7.9);
  EXPECT_EQ(dbfNumberValue("****"), 0);
  EXPECT_EQ(dbfNumberValue("    "), 0);
  EXPECT_EQ(dbfNumberValue(" +3 "), 3);
  for (const char* yes : {"T", "t", "Y", "y", "1"}) EXPECT_TRUE(dbfLogicalValue(yes)) << yes;
  for (const char* no : {"F", "f", "N", "n", " ", "?", ""}) EXPECT_FALSE(dbfLogicalValue(no)) << no;
}

TEST(DbfRead, FieldsRecordsAndDeletedRecordsSkipped) {
  const std::string bytes = tableBytes({row(' ', "ab", 1), row('*', "gone", 2), row(' ', "cd", -3)}, 3);
  DbfTable table;
  std::string error;
  ASSERT_TRUE(readDbfTable(bytes, table, error)) << error;
  ASSERT_EQ(table.fields.size(), 2u);
  EXPECT_EQ(table.fields[1].offset, 5u);
  ASSERT_EQ(table.records.size(), 2u);
  const DbfTable::Field* name = table.field("name");
  const DbfTable::Field* index = table.field("LINDEX");
  EXPECT_EQ(dbfTextValue(DbfTable::cell(table.records[1], name)), "cd");
  EXPECT_EQ(dbfNumberValue(DbfTable::cell(table.records[1], index)), -3);
  EXPECT_EQ(table.field("DESC"), nullptr);
  EXPECT_EQ(DbfTable::cell(table.records[0], nullptr), "");
}

TEST(DbfRead, DamagedOrForeignFilesAreRefused) {
  const std::string good = tableBytes({row(' ', "ab", 1), row(' ', "cd", 2)}, 2);
  struct Case {
    const char* what;
    std::string bytes;
    const char* message;
  };
  std::string wrongVersion = good;
  wrongVersion[0] = 0x30;
  std::string countTooLarge = good;
  storeLittleEndian32(reinterpret_cast<uint8_t*>(countTooLarge.data()) + 4, 3);
  std::string hugeCount = good;
  storeLittleEndian32(reinterpret_cast<uint8_t*>(hugeCount.data()) + 4, 0xFFFFFFFF);
  std::string headerTooLong = good;
  storeLittleEndian16(reinterpret_cast<uint8_t*>(headerTooLong.data()) + 8, 0xFFF0);
  std::string headerTooShort = good;
  storeLittleEndian16(reinterpret_cast<uint8_t*>(headerTooShort.data()) + 8, 40);
  std::string recordLengthWrong = good;
  storeLittleEndian16(reinterpret_cast<uint8_t*>(recordLengthWrong.data()) + 10, 8);
  std::string zeroRecordLength = good;
  storeLittleEndian16(reinterpret_cast<uint8_t*>(zeroRecordLength.data()) + 10, 0);

  const Case cases[] = {
      {"empty", "", "не является таблицей dBase III"},
      {"text", "plain text that is no table at all, long enough", "не является таблицей dBase III"},
      {"version", wrongVersion, "не является таблицей dBase III"},
      {"cut in the header", good.substr(0, 20), "не является таблицей dBase III"},
      {"cut in the descriptors", good.substr(0, 60), "не соответствуют размеру файла"},
      {"cut in a record", good.substr(0, good.size() - 4), "не соответствуют размеру файла"},
      {"count beyond the file", countTooLarge, "не соответствуют размеру файла"},
      {"huge count", hugeCount, "не соответствуют размеру файла"},
      {"header beyond the file", headerTooLong, "не соответствуют размеру файла"},
      {"header without descriptors", headerTooShort, "не соответствуют размеру файла"},
      {"record length", recordLengthWrong, "длина записи не соответствует"},
      {"zero record length", zeroRecordLength, "не соответствуют размеру файла"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DbfTable table;
    table.fields.push_back({});
    std::string error;
    EXPECT_FALSE(readDbfTable(c.bytes, table, error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
    EXPECT_EQ(table.fields.size(), 1u) << "a refused table leaves the result alone";
  }
  // Without the closing 0x1A the table is still whole.
  DbfTable table;
  std::string error;
  EXPECT_TRUE(readDbfTable(good.substr(0, good.size() - 1), table, error)) << error;
}

}  // namespace
}  // namespace zelmot::document
