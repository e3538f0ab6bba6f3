#include <gtest/gtest.h>

#include "model/common_params.h"
#include "model/desc_branch.h"
#include "model/net_rs485.h"
#include "tree_support.h"

namespace zelmot::model {
namespace {

using testing::makeParameter;

// root(a) -> child(b, c) -> grandchild(d), each branch with its two stored values.
struct ShapedTree {
  std::vector<std::unique_ptr<Parameter>> store;
  DescBranch root;

  ShapedTree() {
    root.setName("root");
    root.setValues(1, 2, 3);
    add(root, "a");
    auto child = std::make_unique<DescBranch>();
    child->setName("child");
    child->setValues(4, 5, 6);
    add(*child, "b");
    add(*child, "c");
    auto grandchild = std::make_unique<DescBranch>();
    grandchild->setName("grandchild");
    add(*grandchild, "d");
    child->addChild(std::move(grandchild));
    root.addChild(std::move(child));
  }
  Parameter& add(DescBranch& branch, const std::string& name) {
    store.push_back(makeParameter(name));
    branch.addParameter(store.back().get());
    return *store.back();
  }
};

TEST(TreeSerialize, BranchLayoutIsTitleCountRecordsTwoValuesChildren) {
  DescBranch branch;
  branch.setName("B");
  branch.setValues(7, 8, 9);
  ArchiveWriter writer;
  ASSERT_EQ(branch.Serialize(writer), ArchiveError::None);
  const std::vector<uint8_t> expected{1, 'B', 0, 0, 0, 0, 7, 0, 0, 0, 8, 0, 0, 0};
  EXPECT_EQ(writer.bytes(), expected);
}

TEST(TreeSerialize, WholeTreeRoundTrip) {
  ShapedTree source;
  source.store[3]->setRawValueText("42");  // d, in the grandchild
  source.store[1]->setErrorText("Знач-е в приборе: 1");
  ArchiveWriter writer;
  ASSERT_EQ(source.root.Serialize(writer), ArchiveError::None);

  ShapedTree target;
  target.root.setValues(0, 0, 77);
  ArchiveReader reader(writer.bytes());
  ASSERT_EQ(target.root.Serialize(reader), ArchiveError::None);
  EXPECT_EQ(reader.remaining(), 0u);
  EXPECT_EQ(target.store[3]->valueText(), "42");
  EXPECT_EQ(target.store[1]->errorText(), "Знач-е в приборе: 1");
  EXPECT_EQ(target.root.value1(), 1);
  EXPECT_EQ(target.root.value2(), 2);
  EXPECT_EQ(target.root.value3(), 77);  // the third value is not stored
  EXPECT_EQ(target.root.children()[0]->value2(), 5);
}

TEST(TreeSerialize, TreeOfAnotherShapeIsRefused) {
  ShapedTree source;
  ArchiveWriter writer;
  source.root.Serialize(writer);

  ShapedTree target;
  target.add(*const_cast<DescBranch*>(target.root.children()[0].get()), "extra");
  ArchiveReader reader(writer.bytes());
  EXPECT_EQ(target.root.Serialize(reader), ArchiveError::ModelMismatch);
}

TEST(TreeSerialize, NegativeCountIsBadIndex) {
  ArchiveWriter writer;
  writer.writeString("B");
  writer.writeInt32(-1);
  DescBranch branch;
  ArchiveReader reader(writer.bytes());
  EXPECT_EQ(branch.Serialize(reader), ArchiveError::BadIndex);
  EXPECT_EQ(branch.name(), "");
}

TEST(TreeSerialize, EveryTruncationFailsCleanly) {
  ShapedTree source;
  ArchiveWriter writer;
  source.root.Serialize(writer);
  const std::vector<uint8_t>& full = writer.bytes();
  for (size_t size = 0; size < full.size(); ++size) {
    const std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(size));
    ShapedTree target;
    ArchiveReader reader(cut.data(), cut.size());
    EXPECT_EQ(target.root.Serialize(reader), ArchiveError::EndOfFile) << size;
  }
}

TEST(TreeSerialize, PlainNodeStoresRecordsOnly) {
  auto p = makeParameter("x");
  ObjectWithParameters node;
  node.addParameter(p.get());
  ArchiveWriter plain;
  node.Serialize(plain);
  ArchiveWriter record;
  p->Serialize(record);
  EXPECT_EQ(plain.bytes(), record.bytes());
}

TEST(ProgramPortNode, DefaultsAndOrder) {
  NetRS485prg node;
  std::vector<std::string> names;
  for (const Parameter* p : node.parameters()) names.push_back(p->name());
  EXPECT_EQ(names, (std::vector<std::string>{"Port", "bPS", "PrtY", "LEn", "Sbit", "A.Len",
                                             "Addr"}));
  EXPECT_EQ(node.GetValueByName("port"), "COM1");
  EXPECT_EQ(node.GetValueByName("BPS"), "9600");
  EXPECT_EQ(node.GetValueByName("prty"), "Отсутствует");
  EXPECT_EQ(node.GetValueByName("len"), "8");
  EXPECT_EQ(node.GetValueByName("sbit"), "1");
  EXPECT_EQ(node.GetValueByName("a.len"), "8");
  EXPECT_EQ(node.GetValueByName("addr"), "16");
  EXPECT_EQ(node.caption(), "Сетевые параметры программы");
  EXPECT_EQ(node.title(), "Сетевые параметры программы");
  EXPECT_TRUE(node.ownsParameters());
}

TEST(ProgramPortNode, ClearStateFlagsLeavesValues) {
  NetRS485prg node;
  node.SetValueByName("bPS", "19200", true);
  node.parameters()[0]->setErrorText("Ошибка");
  EXPECT_TRUE(node.HasChanges(false));
  node.clearStateFlags();
  EXPECT_FALSE(node.HasChanges(true));
  EXPECT_FALSE(node.HasProblems(true));
  EXPECT_EQ(node.GetValueByName("bPS"), "19200");
}

TEST(DeviceNetNode, SixUnreadSettings) {
  NetRS485 node;
  ASSERT_EQ(node.parameters().size(), 6u);
  EXPECT_EQ(node.parameters()[0]->name(), "bPS");
  EXPECT_EQ(node.parameters()[5]->GetDescription(), "Собственный адрес прибора");
  EXPECT_TRUE(node.HasNoData());
  EXPECT_EQ(node.caption(), "Сетевые параметры прибора");
}

TEST(ServiceNode, CaptionsAndOwnedParameters) {
  CommonParams node;
  EXPECT_EQ(node.caption(), "Сервисные параметры программы");
  EXPECT_EQ(node.groupCaption(), "Не относящиеся ко схеме");
  Parameter* version = node.addServiceParameter(" ", "Версия", "0.1.0", false);
  EXPECT_FALSE(version->isWritable());
  EXPECT_EQ(node.GetValueByName(" "), "0.1.0");
  EXPECT_EQ(node.GetValueByName("  "), "");
  InvisibleElement plain;
  EXPECT_EQ(plain.caption(), "Невизуальный элемент");
}

}  // namespace
}  // namespace zelmot::model
