#include <gtest/gtest.h>

#include <climits>

#include "model/desc_branch.h"
#include "model/tree_build_context.h"
#include "tree_support.h"

namespace zelmot::model {
namespace {

class Catalogue : public TreeBuildContext {
public:
  explicit Catalogue(int count) {
    for (int i = 0; i < count; ++i) {
      parameters.push_back(testing::makeParameter("p" + std::to_string(i), -1, "Кат"));
    }
  }
  Parameter* catalogueParameter(int32_t index) override {
    if (index < 0 || static_cast<size_t>(index) >= parameters.size()) return nullptr;
    return parameters[static_cast<size_t>(index)].get();
  }
  void setMainBranch(DescBranch* branch) override { mainBranch = branch; }

  std::vector<std::unique_ptr<Parameter>> parameters;
  DescBranch* mainBranch = nullptr;
};

TreeRecord branch(const std::string& name, int32_t a, int32_t b, int32_t c,
                  int32_t marker = 0) {
  BranchRecord r;
  r.name = name;
  r.countA = a;
  r.countB = b;
  r.countC = c;
  r.value1 = 11;
  r.value2 = 22;
  r.value3 = 33;
  r.marker = marker;
  return r;
}

TreeRecord reference(int32_t index, const std::string& caption = {}, uint8_t locked = 0) {
  ReferenceRecord r;
  r.catalogueIndex = index;
  r.caption = caption;
  r.locked = locked;
  return r;
}

TreeRecord link(const std::string& first, const std::string& parameter) {
  LinkRecord r;
  r.text1 = first;
  r.text2 = "второй";
  r.text3 = parameter;
  r.number1 = 1;
  r.number2 = 2;
  return r;
}

TEST(TreeBuild, NestedBranchConsumesItsWholeSubtree) {
  Catalogue catalogue(3);
  const std::vector<TreeRecord> records{branch("root", 2, 0, 1), branch("child", 0, 0, 1),
                                        reference(0), reference(1), reference(2)};
  DescBranch root;
  size_t cursor = 0;
  ASSERT_TRUE(root.BuildFromRecords(catalogue, cursor, records)) << root.buildError();
  EXPECT_EQ(cursor, 5u);
  EXPECT_EQ(root.name(), "root");
  ASSERT_EQ(root.children().size(), 1u);
  EXPECT_EQ(root.children()[0]->name(), "child");
  ASSERT_EQ(root.children()[0]->parameters().size(), 1u);
  EXPECT_EQ(root.children()[0]->parameters()[0]->name(), "p0");
  ASSERT_EQ(root.parameters().size(), 2u);
  EXPECT_EQ(root.parameters()[1]->name(), "p2");
  EXPECT_FALSE(root.ownsParameters());
  EXPECT_EQ(root.value3(), 33);
  EXPECT_EQ(root.countParameters(), 3);
}

TEST(TreeBuild, LinksCaptionsLocksAndMainBranch) {
  Catalogue catalogue(3);
  const std::vector<TreeRecord> records{branch("root", 1, 1, 0), branch("main", 3, 0, 0, 100),
                                        link("Вход", "in-t"), reference(0, "Место"),
                                        reference(1, "", 1), reference(2)};
  DescBranch root;
  size_t cursor = 0;
  ASSERT_TRUE(root.BuildFromRecords(catalogue, cursor, records)) << root.buildError();
  const DescBranch& main = *root.children()[0];
  EXPECT_EQ(catalogue.mainBranch, &main);
  ASSERT_EQ(main.connectors().size(), 1u);
  EXPECT_EQ(main.connectors()[0],
            (Connector{"Вход", "main", "второй", "in-t", 1, 2}));
  EXPECT_EQ(catalogue.parameters[0]->GetDescription(), "Место");
  EXPECT_EQ(catalogue.parameters[1]->GetDescription(), "Кат");  // empty caption
  EXPECT_FALSE(catalogue.parameters[1]->writableHere());
  EXPECT_EQ(root.parameters()[0], catalogue.parameters[2].get());
}

TEST(TreeBuild, LaterReferenceReplacesOrClearsTheCaption) {
  Catalogue catalogue(1);
  const std::vector<TreeRecord> records{branch("root", 2, 0, 0), reference(0, "Место"),
                                        reference(0)};
  DescBranch root;
  size_t cursor = 0;
  ASSERT_TRUE(root.BuildFromRecords(catalogue, cursor, records));
  EXPECT_EQ(catalogue.parameters[0]->GetDescription(), "Кат");
}

struct RefusalCase {
  const char* what;
  std::vector<TreeRecord> records;
  const char* errorPart;
};

class TreeBuildRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(TreeBuildRefusal, RefusesWithRecordNumber) {
  const RefusalCase& c = GetParam();
  Catalogue catalogue(2);
  DescBranch root;
  size_t cursor = 0;
  EXPECT_FALSE(root.BuildFromRecords(catalogue, cursor, c.records)) << c.what;
  EXPECT_NE(root.buildError().find(c.errorPart), std::string::npos)
      << c.what << ": " << root.buildError();
  EXPECT_LE(cursor, c.records.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TreeBuildRefusal,
    ::testing::Values(
        RefusalCase{"no records", {}, "Запись 0"},
        RefusalCase{"first record not a branch", {reference(0)}, "Запись 0"},
        RefusalCase{"catalogue number too big",
                    {branch("r", 2, 0, 0), reference(0), reference(2)},
                    "Запись 2: номер параметра 2"},
        RefusalCase{"negative catalogue number", {branch("r", 1, 0, 0), reference(-1)},
                    "Запись 1"},
        RefusalCase{"count past the records", {branch("r", 3, 0, 0), reference(0)}, "Запись 0"},
        RefusalCase{"negative count", {branch("r", 0, -1, 0)}, "Запись 0"},
        RefusalCase{"counts that overflow 32 bits",
                    {branch("r", INT32_MAX, INT32_MAX, INT32_MAX), reference(0)}, "Запись 0"},
        RefusalCase{"child subtree eats the parent's records",
                    {branch("r", 2, 0, 0), branch("c", 1, 0, 0), reference(0)}, "Запись 3"}));

TEST(TreeBuild, DepthIsBounded) {
  Catalogue catalogue(1);
  std::vector<TreeRecord> records;
  for (int i = 0; i < 200; ++i) records.push_back(branch("b", 1, 0, 0));
  records.push_back(reference(0));
  DescBranch root;
  size_t cursor = 0;
  EXPECT_FALSE(root.BuildFromRecords(catalogue, cursor, records));
  EXPECT_NE(root.buildError().find("глубже"), std::string::npos);
}

TEST(TreeBuild, ModerateDepthIsAccepted) {
  Catalogue catalogue(1);
  std::vector<TreeRecord> records;
  for (int i = 0; i < 30; ++i) records.push_back(branch("b", 1, 0, 0));
  records.push_back(reference(0));
  DescBranch root;
  size_t cursor = 0;
  EXPECT_TRUE(root.BuildFromRecords(catalogue, cursor, records)) << root.buildError();
  EXPECT_EQ(cursor, records.size());
}

// --- lookups and presentation ---------------------------------------------------------------

class BuiltTree : public ::testing::Test {
protected:
  void SetUp() override {
    // root: p0, p1(r.Cn); child "single" with p2; child "group" with p3, p4 (index 1, 2)
    catalogue.parameters[1]->setName("r.Cn");
    catalogue.parameters[3]->setName("in-t");
    catalogue.parameters[3]->setHasLinearIndex(true);
    catalogue.parameters[3]->setLinearIndex(1);
    catalogue.parameters[4]->setName("IN-T");
    catalogue.parameters[4]->setHasLinearIndex(true);
    catalogue.parameters[4]->setLinearIndex(1);
    const std::vector<TreeRecord> records{
        branch("root", 4, 0, 0), reference(0), reference(1), branch("single", 1, 0, 0),
        reference(2),            branch("group", 2, 0, 0),   reference(3), reference(4)};
    size_t cursor = 0;
    ASSERT_TRUE(root.BuildFromRecords(catalogue, cursor, records)) << root.buildError();
  }

  Catalogue catalogue{5};
  DescBranch root;
};

TEST_F(BuiltTree, FindParameterByNameAndIndex) {
  EXPECT_EQ(root.FindParameter("IN-t", -1), catalogue.parameters[3].get());
  catalogue.parameters[3]->setLinearIndex(0);
  EXPECT_EQ(root.FindParameter("in-T", 1), catalogue.parameters[4].get());
  EXPECT_EQ(root.FindParameter("in-t", 7), nullptr);
  EXPECT_EQ(root.FindParameter("absent", -1), nullptr);
}

TEST_F(BuiltTree, CollectPolledOwnFirstThenChildren) {
  catalogue.parameters[4]->PreparePolling();
  catalogue.parameters[2]->PreparePolling();
  catalogue.parameters[0]->PreparePolling();
  std::vector<Parameter*> polled;
  EXPECT_EQ(root.CollectPolled(polled), 3);
  EXPECT_EQ(polled, (std::vector<Parameter*>{catalogue.parameters[0].get(),
                                             catalogue.parameters[2].get(),
                                             catalogue.parameters[4].get()}));
}

TEST_F(BuiltTree, SingleParameterBranchShowsAsItsParameter) {
  const std::vector<PresentationRow> rows = root.presentation({});
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].parameter, catalogue.parameters[0].get());
  EXPECT_EQ(rows[2].kind, PresentationRow::Kind::Parameter);
  EXPECT_EQ(rows[2].parameter, catalogue.parameters[2].get());
  EXPECT_EQ(rows[2].description, "single");
  EXPECT_EQ(rows[3].kind, PresentationRow::Kind::Branch);
  EXPECT_EQ(rows[3].description, "group");
}

TEST_F(BuiltTree, BranchWithALinkIsStillABranch) {
  auto& single = const_cast<DescBranch&>(*root.children()[0]);
  single.addConnector(Connector{});
  EXPECT_EQ(root.presentation({})[2].kind, PresentationRow::Kind::Branch);
}

TEST_F(BuiltTree, DiscreteInputSubItemsAreCapped) {
  for (int count : {0, 3, 6, 9}) {
    const std::vector<PresentationRow> rows = root.presentation({false, count});
    const size_t expected = static_cast<size_t>(std::min(count, 6));
    ASSERT_EQ(rows[1].subItems.size(), expected) << count;
    if (expected > 0) {
      EXPECT_EQ(rows[1].subItems.front(), "С1 - дежурный режим");
    }
    if (expected == 6) {
      EXPECT_EQ(rows[1].subItems.back(), "С6 - вытяжной вентилятор");
    }
    EXPECT_TRUE(rows[0].subItems.empty());
  }
}

TEST_F(BuiltTree, BranchRowShowsIndexAndProblems) {
  DescBranch& group = const_cast<DescBranch&>(*root.children()[1]);
  EXPECT_EQ(group.branchRow({true, 0}).description, "group (1)");
  EXPECT_EQ(group.branchRow({false, 0}).description, "group");
  EXPECT_EQ(group.branchRow({}).colour, kPlainColour);
  catalogue.parameters[3]->setErrorText("Знач-е в приборе: 3");
  EXPECT_EQ(group.branchRow({}).colour, kPlainColour);
  catalogue.parameters[4]->setErrorText("Таймаут при передаче данных (нет связи)");
  EXPECT_EQ(group.branchRow({}).colour, kErrorColour);
  EXPECT_TRUE(root.HasProblems(false));  // the whole subtree counts
}

TEST_F(BuiltTree, ParameterRowCarriesColumns) {
  Parameter& p = *catalogue.parameters[0];
  p.setRawValueText("12.500");
  p.setAttributeMultiplicity(1);
  p.setFactoryOwned(true);
  p.setValueChanged(true);
  const PresentationRow row = root.presentation({})[0];
  EXPECT_EQ(row.name, "p0");
  EXPECT_EQ(row.value, "12.500");
  EXPECT_EQ(row.editAttribute, "Редактируемый");
  EXPECT_EQ(row.owner, "Завод");
  EXPECT_EQ(row.colour, kChangedColour);
}

}  // namespace
}  // namespace zelmot::model
