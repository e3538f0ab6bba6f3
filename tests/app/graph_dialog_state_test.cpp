#include "app/graph_dialog_state.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/scripted_parameter_device.h"
#include "document/zelmot_doc.h"
#include "model/desc_branch.h"

namespace zelmot::app {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class GraphDialog : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(doc.initialise(ZELMOT_BIN_DIR)) << "the compiled device model is missing";
  }
  model::Parameter& parameter(const std::string& name, int index) {
    model::Parameter* found = doc.root()->FindParameter(name, index);
    EXPECT_NE(found, nullptr) << name << ":" << index;
    return *found;
  }
  // A device holding graph 2 with three nodes (the later ones do not exist).
  void deviceHoldsThreeNodes() {
    device.values = {{"in.Gr:1", "Вычислитель №2"}, {"Node:10", "3"},
                     {"absc:10", "1.000"}, {"ordn:10", "-5.000"},
                     {"absc:11", "2.500"}, {"ordn:11", "0.000"},
                     {"absc:12", "40.000"}, {"ordn:12", "7.250"}};
  }

  document::CZELMOTDoc doc;
  testing::ScriptedParameterDevice device;
};

TEST_F(GraphDialog, OpeningReadsInputCountAndEveryNode) {
  deviceHoldsThreeNodes();
  GraphDialogState state(2, doc.root());
  ASSERT_EQ(state.unavailable(), "");
  EXPECT_EQ(state.caption(), "График коррекции уставки №2");
  EXPECT_FALSE(state.privateInput());
  ASSERT_EQ(state.inputs().size(), 9u);
  EXPECT_EQ(state.inputs()[0], "Не подключен");
  EXPECT_EQ(state.inputs()[8], "Вычислитель №8");

  state.load(device);
  EXPECT_EQ(device.calls.size(), 2u + 20u);
  EXPECT_EQ(device.calls[0], "read in.Gr:1");
  EXPECT_EQ(device.calls[1], "read Node:10");
  EXPECT_EQ(device.calls[2], "read absc:10");
  EXPECT_EQ(device.calls[3], "read ordn:10");
  EXPECT_EQ(state.inputChoice(), 2);
  EXPECT_EQ(state.nodeCount(), 3);
  EXPECT_FALSE(state.greyed(2));
  EXPECT_TRUE(state.greyed(3));
  EXPECT_EQ(state.cellText(0, GraphColumn::Number), "1.");
  EXPECT_EQ(state.cellText(9, GraphColumn::Number), "10.");
  EXPECT_EQ(state.cellText(1, GraphColumn::X), "2.500");
  EXPECT_EQ(state.cellText(5, GraphColumn::Y), "Н/Д");
  ASSERT_EQ(state.points().size(), 3u);
  EXPECT_DOUBLE_EQ(state.points()[2].x, 40.0);
  EXPECT_DOUBLE_EQ(state.points()[2].y, 7.25);
}

TEST_F(GraphDialog, AnInputTheListLacksOrAFailedReadSelectsNotConnected) {
  deviceHoldsThreeNodes();
  device.values["in.Gr:1"] = "Что-то другое";
  GraphDialogState unknown(2, doc.root());
  unknown.load(device);
  EXPECT_EQ(unknown.inputChoice(), 0);

  device.values.erase("in.Gr:1");
  parameter("in.Gr", 1).setRawValueText("Вычислитель №3");
  GraphDialogState failed(2, doc.root());
  failed.load(device);
  EXPECT_EQ(failed.inputChoice(), 0);
}

TEST_F(GraphDialog, TheNodeCountGreysTheRowsBeyondIt) {
  GraphDialogState state(1, doc.root());
  state.setNodeCount(0);
  for (int row = 0; row < kGraphRows; ++row) EXPECT_TRUE(state.greyed(row));
  EXPECT_FALSE(state.cellEditable(0, GraphColumn::X));
  state.setNodeCount(12);
  EXPECT_EQ(state.nodeCount(), 10);
  EXPECT_FALSE(state.greyed(9));
  EXPECT_TRUE(state.cellEditable(9, GraphColumn::Y));
  EXPECT_FALSE(state.cellEditable(9, GraphColumn::Number));
  state.setNodeCount(-1);
  EXPECT_EQ(state.nodeCount(), 0);
}

TEST_F(GraphDialog, WithTheDeviceAbsentNothingIsReadAndTheDocumentKeepsItsNodes) {
  parameter("absc", 0).setRawValueText("5.000");
  parameter("Node", 0).setRawValueText("4");
  device.isAbsent = true;
  GraphDialogState state(1, doc.root());
  state.load(device);
  EXPECT_TRUE(device.calls.empty());
  EXPECT_EQ(state.nodeCount(), 0);
  EXPECT_TRUE(state.points().empty());
  EXPECT_EQ(state.cellText(0, GraphColumn::X), "5.000");
  EXPECT_EQ(parameter("absc", 0).valueText(), "5.000");
  EXPECT_EQ(parameter("Node", 0).valueText(), "4");

  // "OK" only changes the document.
  state.setNodeCount(1);
  ASSERT_EQ(state.editCell(0, GraphColumn::Y, "2").verdict, GraphCellEdit::Verdict::Stored);
  const GraphWriteOutcome outcome = state.write(device);
  EXPECT_TRUE(device.calls.empty());
  EXPECT_TRUE(outcome.modified);
  EXPECT_EQ(parameter("ordn", 0).valueText(), "2.000");
  EXPECT_TRUE(parameter("ordn", 0).valueChanged());
  EXPECT_EQ(parameter("Node", 0).valueText(), "1");
}

TEST_F(GraphDialog, ADuplicateXInAnActiveRowIsRefusedButAGreyedRowDoesNotCount) {
  deviceHoldsThreeNodes();
  GraphDialogState state(2, doc.root());
  state.load(device);
  GraphCellEdit edit = state.editCell(2, GraphColumn::X, "2.5");
  EXPECT_EQ(edit.verdict, GraphCellEdit::Verdict::Refused);
  EXPECT_EQ(edit.message, "Такое значение Х (\"absc\") уже существует. Одинаковые значения "
                          "этого параметра не допустимы!");
  EXPECT_EQ(edit.caption, "Предупреждение");
  EXPECT_EQ(state.cellText(2, GraphColumn::X), "40.000");

  // The same Y is fine, and so is an X that only a greyed row holds.
  EXPECT_EQ(state.editCell(2, GraphColumn::Y, "0").verdict, GraphCellEdit::Verdict::Stored);
  state.setNodeCount(1);
  state.setNodeCount(3);
  state.setNodeCount(2);
  EXPECT_EQ(state.editCell(0, GraphColumn::X, "40").verdict, GraphCellEdit::Verdict::Stored);
  EXPECT_EQ(state.cellText(0, GraphColumn::X), "40.000");
}

TEST_F(GraphDialog, EditsThatAreNoNumberOrNoDataAreNotStored) {
  deviceHoldsThreeNodes();
  GraphDialogState state(2, doc.root());
  state.load(device);
  EXPECT_EQ(state.editCell(0, GraphColumn::X, "Н/Д").verdict, GraphCellEdit::Verdict::Unchanged);
  const GraphCellEdit word = state.editCell(0, GraphColumn::X, "abc");
  EXPECT_EQ(word.verdict, GraphCellEdit::Verdict::Refused);
  EXPECT_EQ(word.caption, "Неудалось изменить параметр");
  EXPECT_THAT(state.editCell(0, GraphColumn::Y, "20000").message, HasSubstr("9999.900"));
  EXPECT_EQ(state.editCell(5, GraphColumn::X, "9").verdict, GraphCellEdit::Verdict::Unchanged);
  EXPECT_EQ(state.cellText(0, GraphColumn::X), "1.000");
}

TEST_F(GraphDialog, OkWritesInTheOrderTheDeviceDemands) {
  deviceHoldsThreeNodes();
  GraphDialogState state(2, doc.root());
  state.load(device);
  device.calls.clear();
  state.setInputChoice(8);
  state.setNodeCount(4);
  ASSERT_EQ(state.editCell(3, GraphColumn::X, "50").verdict, GraphCellEdit::Verdict::Stored);
  ASSERT_EQ(state.editCell(3, GraphColumn::Y, "1.5").verdict, GraphCellEdit::Verdict::Stored);

  const GraphWriteOutcome outcome = state.write(device);
  EXPECT_TRUE(outcome.errors.empty());
  EXPECT_THAT(device.calls, ElementsAre("write Node:10=0", "write in.Gr:1=Вычислитель №8",
                                        "branch График №2", "write Node:10=4"));
  EXPECT_EQ(parameter("absc", 13).valueText(), "50.000");
  EXPECT_EQ(parameter("ordn", 13).valueText(), "1.500");
  EXPECT_TRUE(parameter("absc", 13).valueChanged());
  EXPECT_TRUE(parameter("absc", 10).valueChanged());
  EXPECT_FALSE(parameter("absc", 14).valueChanged());
}

TEST_F(GraphDialog, FailedWritesAreReported) {
  deviceHoldsThreeNodes();
  GraphDialogState state(2, doc.root());
  state.load(device);
  device.failWrites = true;
  const GraphWriteOutcome outcome = state.write(device);
  ASSERT_EQ(outcome.errors.size(), 3u);
  EXPECT_EQ(outcome.errors[0], "Node:10: Ошибка записи");

  // A branch write that could not run at all is a failure too.
  device.failWrites = false;
  device.branchFailures = 1;
  EXPECT_THAT(state.write(device).errors, ElementsAre("Узловые точки графика №2 не записаны"));
}

TEST_F(GraphDialog, ADeviceLostWhileOpeningLeavesTheUnreadNodesAsTheyWere) {
  parameter("absc", 12).setRawValueText("7.000");
  // Only the input and the count answer; the device is then taken as absent.
  struct LosingDevice : testing::ScriptedParameterDevice {
    bool absent() const override { return calls.size() >= 3; }
  } losing;
  losing.values = {{"in.Gr:1", "Не подключен"}, {"Node:10", "4"}};
  GraphDialogState state(2, doc.root());
  state.load(losing);
  EXPECT_EQ(state.nodeCount(), 4);
  EXPECT_EQ(state.cellText(0, GraphColumn::X), "Н/Д");
  EXPECT_EQ(state.cellText(2, GraphColumn::X), "7.000");
  EXPECT_EQ(parameter("absc", 12).valueText(), "7.000");
}

TEST(GraphDialogPrivateInput, ATreeWithoutTheInputGetsOneOfItsOwn) {
  model::DescBranch root;
  std::vector<std::unique_ptr<model::Parameter>> owned;
  auto add = [&](const std::string& name, int index, const std::string& type) {
    owned.push_back(std::make_unique<model::Parameter>());
    owned.back()->setName(name);
    owned.back()->setTypeDescriptor(type);
    owned.back()->setHasLinearIndex(true);
    owned.back()->setLinearIndex(index);
    root.addParameter(owned.back().get());
  };
  add("Node", 0, "DEC_dot");
  for (int k = 0; k < kGraphRows; ++k) {
    add("absc", k, "STORED_DOT");
    add("ordn", k, "Вкл:Выкл");  // not typed as a number: not editable
  }
  GraphDialogState state(1, &root);
  ASSERT_EQ(state.unavailable(), "");
  EXPECT_TRUE(state.privateInput());
  state.setNodeCount(1);
  EXPECT_TRUE(state.cellEditable(0, GraphColumn::X));
  EXPECT_FALSE(state.cellEditable(0, GraphColumn::Y));

  testing::ScriptedParameterDevice device;
  device.values["in.Gr:0"] = "Вычислитель №1";
  state.load(device);
  EXPECT_EQ(device.calls[0], "read in.Gr:0");
  EXPECT_EQ(state.inputChoice(), 1);

  EXPECT_NE(GraphDialogState(2, &root).unavailable(), "");
  EXPECT_NE(GraphDialogState(3, &root).unavailable(), "");
}

}  // namespace
}  // namespace zelmot::app
