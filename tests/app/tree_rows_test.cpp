// Rows of the tree-list view over a small hand-built tree.
#include "app/tree_rows.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/problem_search.h"
#include "model/common_params.h"
#include "model/desc_branch.h"

namespace zelmot::app {
namespace {

class TreeRowsTest : public ::testing::Test {
protected:
  model::Parameter* parameter(const std::string& name, const std::string& caption,
                              int32_t linearIndex = -1) {
    auto p = std::make_unique<model::Parameter>();
    p->setName(name);
    p->setCatalogueCaption(caption);
    if (linearIndex >= 0) {
      p->setHasLinearIndex(true);
      p->setLinearIndex(linearIndex);
    }
    owned.push_back(std::move(p));
    return owned.back().get();
  }
  model::DescBranch* branch(model::DescBranch& parent, const std::string& name) {
    auto child = std::make_unique<model::DescBranch>();
    child->setName(name);
    return parent.addChild(std::move(child));
  }

  // root: own "A.1"; child "Входы" (r.Cn, rEAd:2); single-parameter child "Уставка" (Set.P).
  void SetUp() override {
    root.setName("ZELMOT");
    root.addParameter(parameter("A.1", "Первый"));
    inputs = branch(root, "Входы");
    mask = parameter("r.Cn", "Дискретные входы");
    inputs->addParameter(mask);
    reading = parameter("rEAd", "Измерение", 2);
    inputs->addParameter(reading);
    single = branch(root, "Уставка");
    setpoint = parameter("Set.P", "Значение уставки");
    single->addParameter(setpoint);
    rows.reset(&root, {&common});
  }

  // The rows of the tree down to "Входы", built.
  TreeRow& builtInputsRow() {
    TreeRow& top = *rows.top().child(0);
    rows.ensureChildren(top, options);
    TreeRow& inputsRow = *top.child(1);
    rows.ensureChildren(inputsRow, options);
    return inputsRow;
  }

  std::vector<std::unique_ptr<model::Parameter>> owned;
  model::DescBranch root;
  model::DescBranch* inputs = nullptr;
  model::DescBranch* single = nullptr;
  model::Parameter* mask = nullptr;
  model::Parameter* reading = nullptr;
  model::Parameter* setpoint = nullptr;
  model::CommonParams common;
  TreeRows rows;
  ViewOptions options{false, 6};
};

TEST_F(TreeRowsTest, TopLevelHoldsTheTreeAndTheProgramNodes) {
  ASSERT_EQ(rows.top().childCount(), 2u);
  EXPECT_EQ(rows.top().child(0)->branch(), &root);
  EXPECT_EQ(rows.top().child(0)->parent(), nullptr);
  EXPECT_EQ(rows.top().child(1)->text(Column::Description, options),
            "Сервисные параметры программы");
}

// The device's network settings are a branch of the device tree as well as a node of their
// own: they are shown once, in the tree, unless there is no tree.
TEST_F(TreeRowsTest, ANodeWhoseParametersTheTreeShowsIsNotRepeated) {
  model::DescBranch repeated;
  repeated.setName("Сетевые параметры прибора");
  repeated.addParameter(setpoint);
  repeated.addParameter(reading);
  model::DescBranch ownParameter;
  ownParameter.setName("Сетевые параметры программы");
  ownParameter.addParameter(setpoint);
  ownParameter.addParameter(parameter("Port", "Порт компьютера"));

  rows.reset(&root, {&common, &repeated, &ownParameter});
  ASSERT_EQ(rows.top().childCount(), 3u);
  EXPECT_EQ(rows.top().child(1)->node(), &common);
  EXPECT_EQ(rows.top().child(2)->node(), &ownParameter);

  rows.reset(nullptr, {&common, &repeated});
  ASSERT_EQ(rows.top().childCount(), 2u);
  EXPECT_EQ(rows.top().child(1)->node(), &repeated);
}

TEST_F(TreeRowsTest, ChildrenAreBuiltOnlyWhenAsked) {
  TreeRow& top = *rows.top().child(0);
  EXPECT_FALSE(top.childrenBuilt());
  EXPECT_TRUE(top.mayHaveChildren(options));
  EXPECT_TRUE(rows.rowsOf(setpoint).empty());
  EXPECT_EQ(rows.ensureChildren(top, options), 3u);
  EXPECT_EQ(rows.ensureChildren(top, options), 3u);  // once only
  EXPECT_EQ(rows.rowsOf(setpoint).size(), 1u);
}

TEST_F(TreeRowsTest, OwnParametersComeFirstAndASingleParameterBranchShowsItsParameter) {
  TreeRow& top = *rows.top().child(0);
  rows.ensureChildren(top, options);
  EXPECT_EQ(top.child(0)->kind(), TreeRow::Kind::Parameter);
  EXPECT_EQ(top.child(0)->text(Column::Description, options), "Первый");
  EXPECT_EQ(top.child(1)->kind(), TreeRow::Kind::Branch);
  EXPECT_EQ(top.child(1)->text(Column::Description, options), "Входы");
  const TreeRow& shown = *top.child(2);
  EXPECT_EQ(shown.kind(), TreeRow::Kind::Parameter);
  EXPECT_EQ(shown.parameter(), setpoint);
  EXPECT_EQ(shown.branch(), single);
  EXPECT_EQ(shown.text(Column::Description, options), "Уставка");  // the branch's name
  EXPECT_EQ(shown.text(Column::Name, options), "Set.P");
  EXPECT_EQ(shown.owningBranch(), single);
  EXPECT_EQ(top.child(0)->owningBranch(), &root);
}

TEST_F(TreeRowsTest, ProblemSearchStartsAtTheSelectedRowAndFindsTheOwningBranch) {
  TreeRow& inputsRow = builtInputsRow();
  TreeRow& top = *rows.top().child(0);
  TreeRow& maskRow = *inputsRow.child(0);
  rows.ensureChildren(maskRow, options);
  auto startAt = [this](const TreeRow* row) {
    const exchange::TreePlace place = searchStartAt(root, row);
    return std::make_pair(place.branch, place.parameter);
  };
  EXPECT_EQ(startAt(nullptr), std::make_pair(&root, static_cast<model::Parameter*>(nullptr)));
  EXPECT_EQ(startAt(rows.top().child(1)).first, &root) << "a program node searches the tree";
  EXPECT_EQ(startAt(&inputsRow), std::make_pair(inputs, static_cast<model::Parameter*>(nullptr)));
  EXPECT_EQ(startAt(top.child(0)), std::make_pair(&root, top.child(0)->parameter()));
  EXPECT_EQ(startAt(top.child(2)), std::make_pair(single, setpoint)) << "shown as its branch";
  EXPECT_EQ(startAt(maskRow.child(3)), std::make_pair(inputs, mask)) << "a sub-item: its parameter";

  EXPECT_EQ(owningBranchOf(root, setpoint), single);
  EXPECT_EQ(owningBranchOf(root, reading), inputs);
  model::Parameter stranger;
  EXPECT_EQ(owningBranchOf(root, &stranger), nullptr);
}

TEST_F(TreeRowsTest, DiscreteInputMaskGetsItsSubItems) {
  TreeRow& inputsRow = builtInputsRow();
  TreeRow& maskRow = *inputsRow.child(0);
  ASSERT_EQ(maskRow.parameter(), mask);
  EXPECT_TRUE(maskRow.mayHaveChildren(options));
  ASSERT_EQ(rows.ensureChildren(maskRow, options), 6u);
  EXPECT_EQ(maskRow.child(0)->text(Column::Description, options), "С1 - дежурный режим");
  EXPECT_EQ(maskRow.child(5)->text(Column::Description, options), "С6 - вытяжной вентилятор");
  EXPECT_EQ(maskRow.child(5)->text(Column::Value, options), "");
  // Fewer inputs, fewer items; none when the device has none.
  TreeRows fewer;
  fewer.reset(&root, {});
  ViewOptions three{false, 3};
  TreeRow& fewerTop = *fewer.top().child(0);
  fewer.ensureChildren(fewerTop, three);
  fewer.ensureChildren(*fewerTop.child(1), three);
  EXPECT_EQ(fewer.ensureChildren(*fewerTop.child(1)->child(0), three), 3u);
  TreeRows none;
  none.reset(&root, {});
  const ViewOptions noInputs{false, 0};
  TreeRow& noneTop = *none.top().child(0);
  none.ensureChildren(noneTop, noInputs);
  none.ensureChildren(*noneTop.child(1), noInputs);
  EXPECT_FALSE(noneTop.child(1)->child(0)->mayHaveChildren(noInputs));
}

TEST_F(TreeRowsTest, ParameterCellsFollowTheParameter) {
  TreeRow& top = *rows.top().child(0);
  rows.ensureChildren(top, options);
  TreeRow& inputsRow = *top.child(1);
  rows.ensureChildren(inputsRow, options);
  const TreeRow& row = *inputsRow.child(1);
  EXPECT_EQ(row.text(Column::Name, options), "rEAd");
  EXPECT_EQ(row.text(Column::Name, ViewOptions{true, 6}), "rEAd:2");
  EXPECT_EQ(row.text(Column::Value, options), "Нет данных");
  EXPECT_EQ(row.colour(), model::kPlainColour);
  reading->setRawValueText("12.500");
  reading->setErrorText("Таймаут при передаче данных (нет связи)");
  EXPECT_EQ(row.text(Column::Value, options), "12.500");
  EXPECT_EQ(row.text(Column::Errors, options), "Таймаут при передаче данных (нет связи)");
  EXPECT_EQ(row.colour(), model::kErrorColour);
  // The branches above turn red; mismatches do not count for them.
  EXPECT_EQ(inputsRow.colour(), model::kErrorColour);
  EXPECT_EQ(top.colour(), model::kErrorColour);
  // Branch colours are kept until the rows above a changed parameter are invalidated.
  reading->setErrorText("Знач-е в приборе: '1.000',Ред-ый,польз.");
  EXPECT_EQ(row.colour(), model::kMismatchColour);
  EXPECT_EQ(inputsRow.colour(), model::kErrorColour);
  rows.invalidateAncestors(row);
  EXPECT_EQ(inputsRow.colour(), model::kPlainColour);
  EXPECT_EQ(top.colour(), model::kPlainColour);
  reading->setErrorText("Ошибка");
  rows.invalidateAll();
  EXPECT_EQ(top.colour(), model::kErrorColour);
}

TEST_F(TreeRowsTest, BranchLabelShowsItsLinearIndexWhenAsked) {
  TreeRow& top = *rows.top().child(0);
  rows.ensureChildren(top, options);
  EXPECT_EQ(top.child(1)->text(Column::Description, ViewOptions{true, 6}), "Входы (2)");
  EXPECT_EQ(top.child(1)->text(Column::Description, options), "Входы");
}

TEST(BranchPath, LeadsFromTheRootDownToTheBranch) {
  model::DescBranch root;
  auto* a = root.addChild(std::make_unique<model::DescBranch>());
  auto* b = a->addChild(std::make_unique<model::DescBranch>());
  auto* c = root.addChild(std::make_unique<model::DescBranch>());
  EXPECT_EQ(branchPath(root, b), (std::vector<const model::DescBranch*>{&root, a, b}));
  EXPECT_EQ(branchPath(root, c), (std::vector<const model::DescBranch*>{&root, c}));
  EXPECT_EQ(branchPath(root, &root), (std::vector<const model::DescBranch*>{&root}));
  model::DescBranch stranger;
  EXPECT_TRUE(branchPath(root, &stranger).empty());
  EXPECT_TRUE(branchPath(root, nullptr).empty());
}

}  // namespace
}  // namespace zelmot::app
