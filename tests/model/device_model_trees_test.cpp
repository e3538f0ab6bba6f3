#include <gtest/gtest.h>

#include "model/device_model.h"
#include "device_model_support.h"

namespace zelmot::model {
namespace {

using testing::branch;
using testing::RecordingPrompt;
using testing::reference;
using testing::TempDir;

class DeviceModelTrees : public ::testing::Test {
protected:
  void SetUp() override {
    catalogue_ = testing::sampleCatalogue(6);
    testing::writeSet(dir_, nullptr, &catalogue_, nullptr, nullptr);
  }

  std::unique_ptr<DescBranch> load(DeviceModel& model, const std::vector<TreeRecord>& tree) {
    std::string error;
    if (!writeTreeFile(dir_.file("t.zip"), tree, error)) ADD_FAILURE() << error;
    model.LoadCatalogue(dir_.file(kCatalogueFileName));
    return model.LoadTree(dir_.file("t.zip"));
  }

  TempDir dir_;
  std::vector<CatalogueRecord> catalogue_;
};

TEST_F(DeviceModelTrees, NestedBranchConsumesItsWholeSubtree) {
  // Root 2,0,1 has three children; its first is a branch 0,0,1 with one reference.
  DeviceModel model;
  auto root = load(model, {branch(2, 0, 1, "Прибор"), branch(0, 0, 1, "Канал"), reference(4),
                           reference(0), reference(1), reference(5)});
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->name(), "Прибор");
  ASSERT_EQ(root->children().size(), 1u);
  EXPECT_EQ(root->children()[0]->name(), "Канал");
  ASSERT_EQ(root->children()[0]->parameters().size(), 1u);
  EXPECT_EQ(root->children()[0]->parameters()[0], model.catalogue()[4].get());
  ASSERT_EQ(root->parameters().size(), 2u);  // the sixth record lies beyond the tree
  EXPECT_EQ(root->parameters()[0], model.catalogue()[0].get());
  EXPECT_EQ(root->parameters()[1], model.catalogue()[1].get());
  EXPECT_FALSE(root->ownsParameters());
  EXPECT_EQ(root->value1(), 11);
  EXPECT_EQ(root->value3(), 33);
}

TEST_F(DeviceModelTrees, ReferencesSetCaptionAndWritePermission) {
  DeviceModel model;
  auto root = load(model, {branch(0, 3, 0, "Корень"), reference(0, "Своё описание", 1),
                           reference(1, "", 0),
                           LinkRecord{"вход", "выход", "r.oe", 5, 6}});
  ASSERT_NE(root, nullptr);
  const Parameter& captioned = *model.catalogue()[0];
  EXPECT_EQ(captioned.GetDescription(), "Своё описание");
  EXPECT_FALSE(captioned.writableHere());
  const Parameter& plain = *model.catalogue()[1];
  EXPECT_EQ(plain.GetDescription(), catalogue_[1].caption);
  EXPECT_TRUE(plain.writableHere());
  ASSERT_EQ(root->connectors().size(), 1u);
  const Connector& link = root->connectors()[0];
  EXPECT_EQ(link.firstText, "вход");
  EXPECT_EQ(link.branchName, "Корень");
  EXPECT_EQ(link.secondText, "выход");
  EXPECT_EQ(link.parameterName, "r.oe");
  EXPECT_EQ(link.firstNumber, 5);
  EXPECT_EQ(link.secondNumber, 6);
}

TEST_F(DeviceModelTrees, MarkedBranchBecomesTheMainBranch) {
  DeviceModel model;
  auto root = load(model, {branch(0, 0, 1, "root"), branch(1, 0, 0, "main", 100), reference(2)});
  ASSERT_NE(root, nullptr);
  ASSERT_EQ(root->children().size(), 1u);
  EXPECT_EQ(model.mainBranch(), root->children()[0].get());
}

TEST_F(DeviceModelTrees, StructurallyBrokenTreesAreRefusedWithTheFileName) {
  const std::vector<std::pair<const char*, std::vector<TreeRecord>>> broken = {
      {"reference past the catalogue", {branch(1, 0, 0, "r"), reference(6)}},
      {"negative reference", {branch(1, 0, 0, "r"), reference(-1)}},
      {"children past the file", {branch(3, 0, 0, "r"), reference(0)}},
      {"nested children past the file", {branch(1, 0, 0, "r"), branch(0, 2, 0, "b"), reference(0)}},
      {"huge counts", {branch(0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, "r")}},
      {"negative count", {branch(-1, 0, 0, "r")}},
      {"first record not a branch", {reference(0)}},
      {"no records", {}},
  };
  for (const auto& [what, tree] : broken) {
    RecordingPrompt prompt;
    DeviceModel model(&prompt);
    EXPECT_EQ(load(model, tree), nullptr) << what;
    ASSERT_EQ(prompt.calls().size(), 1u) << what;
    EXPECT_NE(prompt.calls()[0].text.find("t.zip"), std::string::npos) << prompt.calls()[0].text;
    EXPECT_EQ(prompt.calls()[0].icon, PromptIcon::Stop);
  }
}

TEST_F(DeviceModelTrees, RefusedTreeLeavesNoDanglingMainBranch) {
  DeviceModel model;
  // The marked branch is complete before the reference that breaks the tree is reached.
  auto root = load(model, {branch(0, 0, 2, "r"), branch(0, 0, 0, "main", 100), reference(99)});
  EXPECT_EQ(root, nullptr);
  EXPECT_EQ(model.mainBranch(), nullptr);
}

TEST_F(DeviceModelTrees, DeepNestingIsRefusedWithoutExhaustingTheStack) {
  std::vector<TreeRecord> tree;
  for (int i = 0; i < 5000; ++i) tree.push_back(branch(1, 0, 0, "b"));
  tree.push_back(reference(0));
  DeviceModel model;
  EXPECT_EQ(load(model, tree), nullptr);
}

TEST_F(DeviceModelTrees, MissingTreeFileGivesNullWithoutMessage) {
  RecordingPrompt prompt;
  DeviceModel model(&prompt);
  EXPECT_EQ(model.LoadTree(dir_.file("absent.zip")), nullptr);
  EXPECT_TRUE(prompt.calls().empty());
}

// --- document initialisation ------------------------------------------------------------

TEST_F(DeviceModelTrees, InitialisePreparesEveryMeasurementParameterOnce) {
  catalogue_[2].linearIndex = 7;
  catalogue_[3].linearIndex = 9;
  const std::vector<TreeRecord> mainTree = {branch(0, 0, 2, "root", 100), reference(0),
                                            reference(1)};
  // Parameter 3 is listed twice; the second preparation must not lose its index.
  const std::vector<TreeRecord> measurement = {branch(1, 0, 2, "op"), reference(2),
                                               branch(0, 0, 1, "sub"), reference(3),
                                               reference(3)};
  testing::writeSet(dir_, nullptr, &catalogue_, &mainTree, &measurement);
  RecordingPrompt prompt;
  DeviceModel model(&prompt);
  ASSERT_TRUE(model.initialise(dir_.path().string()));
  EXPECT_TRUE(prompt.calls().empty());
  ASSERT_NE(model.mainTree(), nullptr);
  ASSERT_NE(model.measurementTree(), nullptr);
  EXPECT_EQ(model.mainBranch(), model.mainTree());
  for (int i : {2, 3}) {
    const Parameter& p = *model.catalogue()[i];
    EXPECT_TRUE(p.hasPollTimer()) << i;
    EXPECT_FALSE(p.hasLinearIndex()) << i;
  }
  EXPECT_EQ(model.catalogue()[2]->requestIndex(), 7);
  EXPECT_EQ(model.catalogue()[3]->requestIndex(), 9);
  EXPECT_FALSE(model.catalogue()[0]->hasPollTimer());
}

TEST_F(DeviceModelTrees, InitialiseWithoutMainTreeSaysNoRootAndPreparesNothing) {
  const std::vector<TreeRecord> measurement = {branch(1, 0, 0, "op"), reference(2)};
  testing::writeSet(dir_, nullptr, &catalogue_, nullptr, &measurement);
  RecordingPrompt prompt;
  DeviceModel model(&prompt);
  EXPECT_FALSE(model.initialise(dir_.path().string()));
  ASSERT_EQ(prompt.calls().size(), 1u);
  EXPECT_EQ(prompt.calls()[0].text, "Не опредена корневая ветвь");
  EXPECT_EQ(prompt.calls()[0].caption, "Ошибка");
  EXPECT_EQ(prompt.calls()[0].icon, PromptIcon::Stop);
  EXPECT_EQ(model.mainTree(), nullptr);
  EXPECT_NE(model.measurementTree(), nullptr);
  EXPECT_FALSE(model.catalogue()[2]->hasPollTimer());
}

TEST_F(DeviceModelTrees, DamagedMainTreeIsReportedThenTreatedAsMissing) {
  std::string error;
  ASSERT_TRUE(writeFileBytes(dir_.file(kMainTreeFileName), {0x1F, 0x8B, 8, 0, 0, 0}, error));
  RecordingPrompt prompt;
  DeviceModel model(&prompt);
  EXPECT_FALSE(model.initialise(dir_.path().string()));
  ASSERT_EQ(prompt.calls().size(), 2u);
  EXPECT_NE(prompt.calls()[0].text.find(kMainTreeFileName), std::string::npos);
  EXPECT_EQ(prompt.calls()[1].text, "Не опредена корневая ветвь");
}

TEST_F(DeviceModelTrees, AnotherCatalogueDropsTheTreesThatPointIntoTheOldOne) {
  const std::vector<TreeRecord> mainTree = {branch(1, 0, 0, "root", 100), reference(0)};
  testing::writeSet(dir_, nullptr, &catalogue_, &mainTree, &mainTree);
  DeviceModel model;
  ASSERT_TRUE(model.initialise(dir_.path().string()));
  std::string error;
  ASSERT_TRUE(writeCatalogueFile(dir_.file("other.zip"), testing::sampleCatalogue(1), error));
  model.LoadCatalogue(dir_.file("other.zip"));
  EXPECT_EQ(model.mainTree(), nullptr);
  EXPECT_EQ(model.measurementTree(), nullptr);
  EXPECT_EQ(model.mainBranch(), nullptr);
}

}  // namespace
}  // namespace zelmot::model
