// dump writes description files back as model source; building that source must give the
// same bytes even for records the hand-written model never uses.
#include <gtest/gtest.h>

#include <cmath>

#include "model/description_files.h"
#include "model_builder.h"
#include "model_dumper.h"
#include "support/catalogue_records.h"
#include "test_support.h"

namespace zelmot::desc {
namespace {

using model::BranchRecord;
using model::CatalogueRecord;
using model::LinkRecord;
using model::ReferenceRecord;
using TempDir = test_support::TempFolder;

CatalogueRecord record(const std::string& name, int32_t index, const std::string& type) {
  return test_support::catalogueRecord(name, type, "Нет данных", index);
}

model::ConstantsText allConstants() {
  return {{"NOBJ", 2}, {"nKey", 4},     {"maxSensors", 4}, {"n485Filter", 1}, {"nActP", 1}, {"nOutElem", 2},
          {"n_commut", 1}, {"_NODE_QN", 10}, {"nZELCh", 4}, {"nProf", 2},      {"pStep", 5}, {"nDiskretInput", 2}};
}

std::vector<CatalogueRecord> unusualCatalogue() {
  std::vector<CatalogueRecord> records = {record("dev", -1, "ASCI"), record("ver", -1, "ASCI"),
                                          record("exit", -1, "ASCI"), record("n.Err", -1, "DEC_dot")};
  CatalogueRecord odd = record("Y", 3, "STORED_DOT");
  odd.caption = "a{b}c и {{двойные}}";
  odd.hint = "?кавычки \" и \\ обратная черта_";
  odd.errorText = "табуляция\tи перевод\nстроки";
  odd.initialValue = "";
  odd.minimum = -0.0f;
  odd.maximum = 1.5f;
  odd.readOnly = 2;
  odd.flag = 1;
  odd.valueChanged = 1;
  odd.attributeMultiplicity = 3;
  odd.editable = 0;
  odd.factoryOwned = 1;
  odd.decimals = 2;
  odd.kind = 99;
  records.push_back(odd);
  CatalogueRecord noIndex = record("X", -1, "Один:Два");
  noIndex.indexMode = 0;
  records.push_back(noIndex);
  for (int i = 0; i < 4; ++i) {
    CatalogueRecord z = record("Z", i, "DEC_dot");
    z.caption = "Элемент Z №" + std::to_string(i + 1);
    z.hint = "индекс " + std::to_string(i);
    z.kind = 105;
    records.push_back(z);
  }
  CatalogueRecord apart = record("Z", 5, "DEC_dot");  // not next to index 3
  apart.caption = "Элемент Z №6";
  records.push_back(apart);
  return records;
}

std::vector<model::TreeRecord> unusualMainTree() {
  BranchRecord root;
  root.countC = 3;  // the sorts of the children are not what the dump would count
  root.value1 = 1;
  root.value2 = 2;
  root.value3 = -3;
  root.marker = 100;
  root.name = "Корень {x}";
  ReferenceRecord odd;
  odd.kind = 7;
  odd.catalogueIndex = 4;
  odd.locked = 2;
  odd.subIndex = 5;
  odd.caption = "{подпись}";
  LinkRecord link;
  link.text1 = "от {1}";
  link.text2 = "к";
  link.text3 = "X";
  link.number1 = -1;
  link.number2 = 9;
  BranchRecord child;
  child.countA = 1;
  child.name = "Ветвь";
  ReferenceRecord dev;
  dev.catalogueIndex = 0;
  return {root, odd, link, child, dev};
}

std::vector<model::TreeRecord> smallMeasurementTree() {
  BranchRecord root;
  root.countA = 2;
  root.name = "Опрос";
  ReferenceRecord a, b;
  a.catalogueIndex = 8;
  b.catalogueIndex = 7;
  return {root, a, b};
}

void writeUnusualFiles(const std::filesystem::path& dir) {
  std::string error;
  ASSERT_TRUE(model::writeConstantsFile((dir / model::kConstantsFileName).string(), allConstants(), error)) << error;
  ASSERT_TRUE(model::writeCatalogueFile((dir / model::kCatalogueFileName).string(), unusualCatalogue(), error))
      << error;
  ASSERT_TRUE(model::writeTreeFile((dir / model::kMainTreeFileName).string(), unusualMainTree(), error)) << error;
  ASSERT_TRUE(model::writeTreeFile((dir / model::kMeasurementTreeFileName).string(), smallMeasurementTree(), error))
      << error;
}

TEST(DumpTest, UnusualRecordsSurviveDumpAndBuild) {
  TempDir original, source, rebuilt;
  writeUnusualFiles(original.path());
  SourceErrors errors;
  ASSERT_TRUE(dumpModel(original.path(), source / "model", false, errors));
  EXPECT_TRUE(buildModel(source / "model", rebuilt.path(), errors));
  for (const auto& error : errors) ADD_FAILURE() << formatError(error);
  for (const auto& name : testing::descriptionFileNames())
    EXPECT_EQ(test_support::readWholeFileBytes(original / name), test_support::readWholeFileBytes(rebuilt / name)) << name;
}

TEST(DumpTest, RunsOfElementsBecomeOneEntryWithATemplate) {
  std::string yaml = dumpCatalogue(unusualCatalogue());
  EXPECT_NE(yaml.find("indexes: 0..3\n"), std::string::npos) << yaml;
  EXPECT_NE(yaml.find("\"Элемент Z №{n}\""), std::string::npos) << yaml;
  EXPECT_NE(yaml.find("\"индекс {i}\""), std::string::npos) << yaml;
  EXPECT_NE(yaml.find("indexes: 5..5\n"), std::string::npos) << yaml;
  EXPECT_NE(yaml.find("\"a{{b}}c и {{{{двойные}}}}\""), std::string::npos) << yaml;
}

TEST(DumpTest, ExistingModelIsNotOverwrittenWithoutForce) {
  TempDir original, target;
  writeUnusualFiles(original.path());
  test_support::writeWholeFile(target / "tree.yaml", "hand-written");
  test_support::writeWholeFile(target / "parameters" / "extra.yaml", "parameters: []");
  SourceErrors errors;
  EXPECT_FALSE(dumpModel(original.path(), target.path(), false, errors));
  EXPECT_EQ(test_support::readWholeFile(target / "tree.yaml"), "hand-written");
  errors.clear();
  ASSERT_TRUE(dumpModel(original.path(), target.path(), true, errors));
  // A stale catalogue file would be read together with the dump: it must be gone.
  EXPECT_FALSE(std::filesystem::exists(target / "parameters" / "extra.yaml"));
}

TEST(DumpTest, BrokenTreeIsRefusedWithTheFileName) {
  TempDir original, target;
  writeUnusualFiles(original.path());
  BranchRecord root;
  root.countA = 5;  // more children than records
  root.name = "Обрыв";
  std::string error;
  ASSERT_TRUE(model::writeTreeFile((original / model::kMainTreeFileName).string(), {root}, error));
  SourceErrors errors;
  EXPECT_FALSE(dumpModel(original.path(), target.path(), false, errors));
  ASSERT_FALSE(errors.empty());
  EXPECT_TRUE(errors[0].file.ends_with(model::kMainTreeFileName)) << formatError(errors[0]);
}

TEST(DumpTest, ConstantsKeepTheirLetterCaseAndOrder) {
  TempDir dir;
  std::string error;
  ASSERT_TRUE(model::writeConstantsFile((dir / "c").string(), allConstants(), error));
  model::ConstantsText read;
  ASSERT_TRUE(readConstantsExactly((dir / "c").string(), read, error)) << error;
  ASSERT_EQ(read.size(), allConstants().size());
  EXPECT_EQ(read[0].name, "NOBJ");
  EXPECT_EQ(read[11].name, "nDiskretInput");
  EXPECT_EQ(read[11].value, 2);
}

}  // namespace
}  // namespace zelmot::desc
