#include <gtest/gtest.h>

#include <cstring>

#include "model/desc_branch.h"
#include "model/export_record.h"
#include "tree_support.h"

namespace zelmot::model {
namespace {

using testing::makeParameter;

struct ImportTree {
  std::vector<std::unique_ptr<Parameter>> store;
  DescBranch root;

  Parameter& add(DescBranch& branch, const std::string& name, int32_t index,
                 const std::string& caption) {
    store.push_back(makeParameter(name, index, caption));
    branch.addParameter(store.back().get());
    return *store.back();
  }
};

ExportRecord recordFor(const std::string& name, int32_t index, const std::string& value) {
  ExportRecord r;
  r.name = name;
  r.linearIndex = index;
  r.hasLinearIndex = index > 0;
  r.valueText = value;
  r.editable = false;
  r.factoryOwned = true;
  r.valueChanged = true;
  r.errorText = "Ошибка";
  return r;
}

TEST(TreeImport, MatchedTakeValuesMissingAreResetAndListed) {
  ImportTree t;
  Parameter& matched = t.add(t.root, "SP", 2, "Уставка");
  Parameter& missing = t.add(t.root, "Kp", 3, "Коэффициент");
  missing.setRawValueText("5");
  missing.setAttributeMultiplicity(4);
  missing.setRequestIndex(3);
  missing.setWritableByCatalogue(false);
  auto child = std::make_unique<DescBranch>();
  Parameter& plainMissing = t.add(*child, "Ti", -1, "Время");
  t.root.addChild(std::move(child));

  ExportRecordTable table;
  table.add(recordFor("SP", 2, "old"));
  table.add(recordFor("SP", 2, "12.5"));  // the later record replaces the earlier
  table.add(recordFor("SP", 3, "other element"));

  int missingCount = 0;
  std::string message;
  t.root.ImportRecords(table, 15, missingCount, message);

  EXPECT_EQ(matched.valueText(), "12.5");
  EXPECT_FALSE(matched.editable());
  EXPECT_TRUE(matched.factoryOwned());
  EXPECT_TRUE(matched.valueChanged());
  EXPECT_EQ(matched.errorText(), "Ошибка");

  EXPECT_EQ(missingCount, 2);
  EXPECT_EQ(message, "Kp:3 (Коэффициент) Ti (Время)");
  EXPECT_EQ(missing.valueText(), "Нет данных");
  // Still the same device element: place, permissions and grouping are kept.
  EXPECT_EQ(missing.attributeMultiplicity(), 4);
  EXPECT_EQ(missing.linearIndex(), 3);
  EXPECT_TRUE(missing.hasLinearIndex());
  EXPECT_EQ(missing.requestIndex(), 3);
  EXPECT_FALSE(missing.writableByCatalogue());
  EXPECT_EQ(plainMissing.valueText(), "Нет данных");
}

TEST(TreeImport, ListStopsAtLimitWithOneMarker) {
  ImportTree t;
  for (int i = 0; i < 5; ++i) t.add(t.root, "n" + std::to_string(i), -1, "d");
  ExportRecordTable empty;
  int missingCount = 0;
  std::string message;
  t.root.ImportRecords(empty, 2, missingCount, message);
  EXPECT_EQ(missingCount, 5);
  EXPECT_EQ(message, "n0 (d) n1 (d)\n и другие (не перечислены)");
}

TEST(TreeImport, TrailingBlanksInTableNamesStillMatch) {
  ImportTree t;
  Parameter& p = t.add(t.root, "bPS", -1, "");
  ExportRecordTable table;
  table.add(recordFor("bPS     ", 0, "19200"));
  int missingCount = 0;
  std::string message;
  t.root.ImportRecords(table, 15, missingCount, message);
  EXPECT_EQ(missingCount, 0);
  EXPECT_EQ(p.valueText(), "19200");
}

TEST(TreeExport, RecordsFollowTreeOrderWithParameterState) {
  ImportTree t;
  Parameter& p = t.add(t.root, "SP", 2, "Уставка");
  p.setRawValueText("1.5");
  p.setRequestIndex(4);
  p.setWritableHere(false);
  p.setPrivacy(0x1203);
  auto child = std::make_unique<DescBranch>();
  t.add(*child, "Kp", -1, "Коэффициент");
  t.root.addChild(std::move(child));

  std::vector<ExportRecord> records;
  t.root.ExportRecords(records);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].name, "SP");
  EXPECT_EQ(records[0].description, "Уставка");
  EXPECT_EQ(records[0].valueText, "1.5");
  EXPECT_TRUE(records[0].hasLinearIndex);
  EXPECT_EQ(records[0].linearIndex, 2);
  EXPECT_EQ(records[0].requestIndex, 4);
  EXPECT_FALSE(records[0].writable);
  EXPECT_EQ(records[1].name, "Kp");
}

TEST(ExportRecordBytes, FixedOffsetsInOemCodePage) {
  ExportRecord r;
  r.name = "Ab";
  r.description = "Вход";
  r.valueText = "12";
  r.hasLinearIndex = true;
  r.linearIndex = 0x01020304;
  r.requestIndex = -1;
  r.writable = true;
  r.editable = true;
  r.errorText = "E";
  r.valueChanged = true;
  r.ownerAttributeChanged = true;
  r.privacy = 0x1203;
  const auto bytes = r.toBytes();
  EXPECT_EQ(bytes[0], 'A');
  EXPECT_EQ(bytes[2], 0);
  // "Вход" in cp866: 0x82 0xE5 0xAE 0xA4
  EXPECT_EQ(std::memcmp(bytes.data() + 9, "\x82\xE5\xAE\xA4", 4), 0);
  EXPECT_EQ(bytes[89], '1');
  EXPECT_EQ(bytes[153], 1);
  EXPECT_EQ(bytes[154], 0);
  EXPECT_EQ(bytes[156], 0x04);
  EXPECT_EQ(bytes[159], 0x01);
  EXPECT_EQ(bytes[160], 0xFF);
  EXPECT_EQ(bytes[164], 1);
  EXPECT_EQ(bytes[167], 'E');
  EXPECT_EQ(bytes[247], 1);
  EXPECT_EQ(bytes[248], 0);
  EXPECT_EQ(bytes[249], 1);
  EXPECT_EQ(bytes[250], 0x03);
  EXPECT_EQ(bytes[251], 0);

  ExportRecord back;
  ASSERT_TRUE(ExportRecord::fromBytes(bytes.data(), bytes.size(), back));
  EXPECT_EQ(back.description, "Вход");
  EXPECT_EQ(back.linearIndex, 0x01020304);
  EXPECT_EQ(back.requestIndex, -1);
  EXPECT_TRUE(back.editable);
  EXPECT_EQ(back.privacy, 3);
}

TEST(ExportRecordBytes, LongTextsAreCutAndTerminated) {
  ExportRecord r;
  r.name = "ABCDEFGHIJKL";
  r.valueText = std::string(100, 'v');
  r.errorText = std::string(100, 'e');
  const auto bytes = r.toBytes();
  EXPECT_EQ(bytes[7], 'H');
  EXPECT_EQ(bytes[8], 0);
  EXPECT_EQ(bytes[89 + 62], 'v');
  EXPECT_EQ(bytes[89 + 63], 0);
  EXPECT_EQ(bytes[167 + 78], 'e');
  EXPECT_EQ(bytes[167 + 79], 0);

  ExportRecord back;
  ASSERT_TRUE(ExportRecord::fromBytes(bytes.data(), bytes.size(), back));
  EXPECT_EQ(back.name, "ABCDEFGH");
  EXPECT_EQ(back.valueText.size(), 63u);
}

TEST(ExportRecordBytes, ShortInputIsRefused) {
  const std::vector<uint8_t> bytes(ExportRecord::kSize - 1, 'x');
  ExportRecord back;
  EXPECT_FALSE(ExportRecord::fromBytes(bytes.data(), bytes.size(), back));
  EXPECT_FALSE(ExportRecord::fromBytes(nullptr, 500, back));
}

TEST(ExportRecordBytes, UnterminatedFieldsStayInsideTheirField) {
  std::vector<uint8_t> bytes(ExportRecord::kSize, 'z');
  ExportRecord back;
  ASSERT_TRUE(ExportRecord::fromBytes(bytes.data(), bytes.size(), back));
  EXPECT_EQ(back.name, std::string(9, 'z'));
  EXPECT_EQ(back.errorText, std::string(80, 'z'));
}

}  // namespace
}  // namespace zelmot::model
