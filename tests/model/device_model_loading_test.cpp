#include <gtest/gtest.h>

#include "model/device_model.h"
#include "device_model_support.h"

namespace zelmot::model {
namespace {

using testing::RecordingPrompt;
using testing::TempDir;

std::vector<uint8_t> complemented(const std::string& text) {
  std::vector<uint8_t> bytes;
  for (char c : text) bytes.push_back(static_cast<uint8_t>(c) ^ 0xFF);
  return bytes;
}

// --- constants --------------------------------------------------------------------------

TEST(DeviceModelConstants, ReadsCaseInsensitivelyAndReportsEachMissingOne) {
  TempDir dir;
  std::string error;
  ASSERT_TRUE(writeFileBytes(dir.file("c"), complemented("NOBJ 4\r\nnKey\t16 nzelch 300"), error));
  RecordingPrompt prompt;
  DeviceModel model(&prompt);
  EXPECT_TRUE(model.LoadConstants(dir.file("c")));
  EXPECT_EQ(model.nObj(), 4);
  EXPECT_EQ(model.nKey(), 16);
  EXPECT_EQ(model.nZELCh(), 44);  // 300 kept in 8 bits
  EXPECT_EQ(model.maxSensors(), 255);
  EXPECT_EQ(model.nDiskretInput(), 255);
  ASSERT_EQ(prompt.calls().size(), 9u);  // twelve constants, three defined
  for (const auto& shown : prompt.calls()) {
    EXPECT_EQ(shown.text, "Не определена \"глобальная\" переменная!");
    EXPECT_EQ(shown.icon, PromptIcon::Stop);
  }
  // The tables follow the constants: the key tables are nObj x nKey.
  EXPECT_EQ(model.tables().shape(StructuralTable::J).rows, 4);
  EXPECT_EQ(model.tables().shape(StructuralTable::J).columns, 16);
}

TEST(DeviceModelConstants, MissingFileLeavesZerosAndSaysSo) {
  TempDir dir;
  RecordingPrompt prompt;
  DeviceModel model(&prompt);
  EXPECT_FALSE(model.LoadConstants(dir.file(kConstantsFileName)));
  ASSERT_EQ(prompt.calls().size(), 1u);
  EXPECT_EQ(prompt.calls()[0].text, "Не найден файл-описатель констант!");
  EXPECT_EQ(prompt.calls()[0].icon, PromptIcon::Stop);
  EXPECT_EQ(model.nObj(), 0);
  EXPECT_EQ(model.pStep(), 0);
  EXPECT_EQ(model.tables().at(StructuralTable::A, 0, 0), nullptr);
}

TEST(DeviceModelConstants, ProfileStepsProductIsEightBit) {
  TempDir dir;
  ConstantsText constants = testing::sampleConstants();
  constants[9].value = 16;   // nProf
  constants[10].value = 20;  // pStep
  testing::writeSet(dir, &constants, nullptr, nullptr, nullptr);
  DeviceModel model;
  ASSERT_TRUE(model.LoadConstants(dir.file(kConstantsFileName)));
  EXPECT_EQ(model.profileSteps(), static_cast<uint8_t>(320));
  EXPECT_EQ(model.nodeQn(), 3);
  EXPECT_TRUE(model.messages().empty());
}

// --- catalogue --------------------------------------------------------------------------

TEST(DeviceModelCatalogue, RecordsBecomeParametersInOrder) {
  TempDir dir;
  auto records = testing::sampleCatalogue(3);
  records[1].caption = "Тип датчика";
  records[1].typeDescriptor = "нет:ТСМ:ТСП";
  records[1].readOnly = 1;
  records[1].errorText = "старая ошибка";
  testing::writeSet(dir, nullptr, &records, nullptr, nullptr);
  DeviceModel model;
  ASSERT_EQ(model.LoadCatalogue(dir.file(kCatalogueFileName)), 3);
  const Parameter& p = *model.catalogue()[1];
  EXPECT_EQ(p.name(), records[1].name);
  EXPECT_EQ(p.GetDescription(), "Тип датчика");
  EXPECT_EQ(p.typeDescriptor(), "нет:ТСМ:ТСП");
  EXPECT_EQ(p.decimals(), 2);
  EXPECT_FLOAT_EQ(static_cast<float>(p.minimum()), -10.5f);
  EXPECT_FLOAT_EQ(static_cast<float>(p.maximum()), 99.25f);
  EXPECT_EQ(p.valueText(), "1.00");
  EXPECT_EQ(p.hint(), "Значение уставки");
  EXPECT_TRUE(p.hintIsQuestion());
  EXPECT_EQ(p.errorText(), "старая ошибка");
  EXPECT_FALSE(p.writableByCatalogue());
  EXPECT_TRUE(p.fromCatalogue());
  EXPECT_TRUE(p.hasLinearIndex());
  EXPECT_EQ(p.linearIndex(), 1);
  EXPECT_EQ(model.catalogue()[2]->linearIndex(), 2);
}

TEST(DeviceModelCatalogue, IndexModeDecidesWhatNegativeIndexMeans) {
  TempDir dir;
  auto records = testing::sampleCatalogue(4);
  records[0].linearIndex = -5;
  records[0].indexMode = 1;
  records[1].linearIndex = -5;
  records[1].indexMode = 0;
  records[2].linearIndex = -1;
  records[2].indexMode = 1;
  records[3].linearIndex = 0;
  records[3].indexMode = 0;
  testing::writeSet(dir, nullptr, &records, nullptr, nullptr);
  DeviceModel model;
  ASSERT_EQ(model.LoadCatalogue(dir.file(kCatalogueFileName)), 4);
  EXPECT_TRUE(model.catalogue()[0]->hasLinearIndex());
  EXPECT_EQ(model.catalogue()[0]->linearIndex(), -5);
  EXPECT_FALSE(model.catalogue()[1]->hasLinearIndex());
  EXPECT_FALSE(model.catalogue()[2]->hasLinearIndex());
  EXPECT_TRUE(model.catalogue()[3]->hasLinearIndex());
}

TEST(DeviceModelCatalogue, AttributesAreTakenOnlyWithMultiplicity) {
  TempDir dir;
  auto records = testing::sampleCatalogue(2);
  for (auto& r : records) {
    r.editable = 0;
    r.factoryOwned = 1;
  }
  records[0].attributeMultiplicity = 0;
  records[1].attributeMultiplicity = 4;
  testing::writeSet(dir, nullptr, &records, nullptr, nullptr);
  DeviceModel model;
  ASSERT_EQ(model.LoadCatalogue(dir.file(kCatalogueFileName)), 2);
  EXPECT_TRUE(model.catalogue()[0]->editable());
  EXPECT_FALSE(model.catalogue()[0]->factoryOwned());
  EXPECT_FALSE(model.catalogue()[1]->editable());
  EXPECT_TRUE(model.catalogue()[1]->factoryOwned());
  EXPECT_EQ(model.catalogue()[1]->attributeMultiplicity(), 4);
}

TEST(DeviceModelCatalogue, CountIsSizeOverRecordLength) {
  for (const auto& [size, count] : {std::pair<size_t, int>{4686, 2}, {4700, 2}, {2000, 0}}) {
    TempDir dir;
    std::string error;
    ASSERT_TRUE(writeFileBytes(dir.file("p.zip"), gzipCompress(std::vector<uint8_t>(size, 0)),
                               error));
    DeviceModel model;
    EXPECT_EQ(model.LoadCatalogue(dir.file("p.zip")), count) << size;
    EXPECT_TRUE(model.messages().empty());
  }
}

TEST(DeviceModelCatalogue, SamePathAgainKeepsTheCatalogue) {
  TempDir dir;
  const auto records = testing::sampleCatalogue(2);
  testing::writeSet(dir, nullptr, &records, nullptr, nullptr);
  DeviceModel model;
  ASSERT_EQ(model.LoadCatalogue(dir.file(kCatalogueFileName)), 2);
  Parameter* first = model.catalogue()[0].get();
  EXPECT_EQ(model.LoadCatalogue(dir.file(kCatalogueFileName)), 2);
  EXPECT_EQ(model.catalogue()[0].get(), first);
}

TEST(DeviceModelCatalogue, MissingFileIsSilentlyEmpty) {
  TempDir dir;
  RecordingPrompt prompt;
  DeviceModel model(&prompt);
  EXPECT_EQ(model.LoadCatalogue(dir.file(kCatalogueFileName)), 0);
  EXPECT_TRUE(prompt.calls().empty());
}

TEST(DeviceModelCatalogue, DamagedFileIsRefusedWithItsName) {
  std::vector<uint8_t> good;
  std::string error;
  ASSERT_TRUE(encodeCatalogue(testing::sampleCatalogue(3), good, error));
  const auto member = gzipCompress(good);
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> damaged = {
      {"bad header", [&] { auto m = member; m[2] = 9; return m; }()},
      {"inflate error", [&] { auto m = member; m[10] = 0xFF; return m; }()},
      {"crc mismatch", [&] { auto m = member; m[m.size() - 6] ^= 0x40; return m; }()},
      {"short data", [&] { return std::vector<uint8_t>(member.begin(), member.end() - 20); }()},
      {"empty file", {}},
  };
  for (const auto& [what, bytes] : damaged) {
    TempDir dir;
    ASSERT_TRUE(writeFileBytes(dir.file(kCatalogueFileName), bytes, error));
    RecordingPrompt prompt;
    DeviceModel model(&prompt);
    EXPECT_EQ(model.LoadCatalogue(dir.file(kCatalogueFileName)), 0) << what;
    ASSERT_EQ(prompt.calls().size(), 1u) << what;
    EXPECT_NE(prompt.calls()[0].text.find(kCatalogueFileName), std::string::npos) << what;
    EXPECT_EQ(prompt.calls()[0].icon, PromptIcon::Stop);
    EXPECT_EQ(prompt.calls()[0].caption, "Ошибка");
  }
}

// --- structural tables ------------------------------------------------------------------

struct Placement {
  int32_t kind;
  int32_t linearIndex;
  uint8_t indexMode;
  StructuralTable table;
  int row;
  int column;
};

// Constants: nObj 2, nKey 3, maxSensors 8, n485Filter 2, nOutElem 4, n_commut 2, nZELCh 4,
// nProf 2, pStep 5, nDiskretInput 6.
constexpr Placement kPlacements[] = {
    {100, 7, 1, StructuralTable::A, 0, 1},    {101, 25, 1, StructuralTable::B, 1, 0},
    {104, 3, 1, StructuralTable::B, 0, 3},    {105, 7, 1, StructuralTable::C, 0, 7},
    {106, 3, 1, StructuralTable::D, 0, 3},    {107, 39, 1, StructuralTable::E, 0, 1},
    {108, 1, 1, StructuralTable::F, 0, 1},    {109, 17, 1, StructuralTable::G, 1, 1},
    {110, 6, 1, StructuralTable::H, 1, 2},    {111, 5, 1, StructuralTable::I, 0, 1},
    {111, -3, 0, StructuralTable::I, 0, 0},   {112, 4, 1, StructuralTable::J, 1, 1},
    {113, 2, 1, StructuralTable::K, 0, 2},    {114, -1, 1, StructuralTable::M, 0, 0},
    {115, 5, 1, StructuralTable::N, 0, 5},
};

TEST(DeviceModelTables, EveryKindLandsInItsSlot) {
  TempDir dir;
  const ConstantsText constants = testing::sampleConstants();
  std::vector<CatalogueRecord> records;
  for (const Placement& p : kPlacements) {
    CatalogueRecord r = testing::sampleCatalogueRecord(static_cast<int>(records.size()));
    r.kind = p.kind;
    r.linearIndex = p.linearIndex;
    r.indexMode = p.indexMode;
    records.push_back(r);
  }
  testing::writeSet(dir, &constants, &records, nullptr, nullptr);
  DeviceModel model;
  ASSERT_TRUE(model.LoadConstants(dir.file(kConstantsFileName)));
  ASSERT_EQ(model.LoadCatalogue(dir.file(kCatalogueFileName)), static_cast<int>(records.size()));
  for (size_t i = 0; i < std::size(kPlacements); ++i) {
    const Placement& p = kPlacements[i];
    EXPECT_EQ(model.tables().at(p.table, p.row, p.column), model.catalogue()[i].get())
        << "kind " << p.kind << " index " << p.linearIndex;
  }
  EXPECT_EQ(model.tables().placedCount(), std::size(kPlacements));
  EXPECT_TRUE(model.warnings().empty());
}

TEST(DeviceModelTables, PositionsOutsideTheTablesAreRefusedNotWritten) {
  TempDir dir;
  ConstantsText constants = testing::sampleConstants();
  constants[1].value = 0;  // nKey 0: kinds 112 and 113 would divide by zero
  const std::pair<int32_t, int32_t> outside[] = {
      {100, 8},        {101, 40},  {105, 8},  {105, -1}, {106, 2147483647}, {107, 40},
      {109, 20},       {110, 8},   {111, 8},  {112, 0},  {113, 5},          {115, 6},
      {100, -3},  // -3 / 4 would fold onto slot 0
  };
  std::vector<CatalogueRecord> records;
  for (const auto& [kind, index] : outside) {
    CatalogueRecord r = testing::sampleCatalogueRecord(0);
    r.kind = kind;
    r.linearIndex = index;
    r.indexMode = 1;
    records.push_back(r);
  }
  testing::writeSet(dir, &constants, &records, nullptr, nullptr);
  DeviceModel model;
  model.LoadConstants(dir.file(kConstantsFileName));
  ASSERT_EQ(model.LoadCatalogue(dir.file(kCatalogueFileName)), static_cast<int>(records.size()));
  EXPECT_EQ(model.tables().placedCount(), 0u);
  EXPECT_EQ(model.warnings().size(), records.size());
}

TEST(DeviceModelTables, NewConstantsPlaceTheCatalogueAgainAndReloadingEmptiesSlots) {
  TempDir dir;
  const ConstantsText constants = testing::sampleConstants();
  std::vector<CatalogueRecord> records = testing::sampleCatalogue(1);
  records[0].kind = 105;
  records[0].linearIndex = 5;
  testing::writeSet(dir, &constants, &records, nullptr, nullptr);
  DeviceModel model;
  ASSERT_EQ(model.LoadCatalogue(dir.file(kCatalogueFileName)), 1);
  EXPECT_EQ(model.tables().placedCount(), 0u);  // no constants yet: every table is empty
  ASSERT_TRUE(model.LoadConstants(dir.file(kConstantsFileName)));
  EXPECT_EQ(model.tables().at(StructuralTable::C, 0, 5), model.catalogue()[0].get());

  std::string error;
  ASSERT_TRUE(writeCatalogueFile(dir.file("other.zip"), testing::sampleCatalogue(1), error));
  ASSERT_EQ(model.LoadCatalogue(dir.file("other.zip")), 1);
  EXPECT_EQ(model.tables().at(StructuralTable::C, 0, 5), nullptr);
}

}  // namespace
}  // namespace zelmot::model
