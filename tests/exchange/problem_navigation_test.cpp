#include "exchange/problem_navigation.h"

#include <gtest/gtest.h>

#include "scripted_transport.h"

namespace zelmot::exchange::testing {
namespace {

// root: a b | child1: c d | child1/grand: e | child2: f
class NavigationTest : public ::testing::Test {
protected:
  NavigationTest() {
    a = &tree.add(tree.root, "a");
    b = &tree.add(tree.root, "b");
    child1 = &tree.child(tree.root, "child1");
    c = &tree.add(*child1, "c");
    d = &tree.add(*child1, "d");
    grand = &tree.child(*child1, "grand");
    e = &tree.add(*grand, "e");
    child2 = &tree.child(tree.root, "child2");
    f = &tree.add(*child2, "f");
  }
  NavigationResult step(TreePlace from, NavigationDirection direction) {
    return findProblemParameter(tree.root, from, direction);
  }

  TestTree tree;
  model::Parameter *a, *b, *c, *d, *e, *f;
  model::DescBranch *child1, *grand, *child2;
};

TEST_F(NavigationTest, SiblingsFirstThenLaterBranches) {
  d->setErrorText("x");
  f->setErrorText("Знач-е в приборе: '1'");
  NavigationResult next = step({child1, c}, NavigationDirection::Next);
  ASSERT_TRUE(next.found);
  EXPECT_EQ(next.place.parameter, d);
  next = step({child1, d}, NavigationDirection::Next);
  ASSERT_TRUE(next.found);
  EXPECT_EQ(next.place.parameter, f);
  EXPECT_EQ(next.place.branch, child2);
  next = step({child2, f}, NavigationDirection::Next);
  EXPECT_FALSE(next.found);
  EXPECT_EQ(next.message, kNoMoreProblemsText);
}

TEST_F(NavigationTest, PreviousTakesTheLastProblemOfAnEarlierBranch) {
  a->setErrorText("x");
  b->setErrorText("y");
  const NavigationResult previous = step({child2, f}, NavigationDirection::Previous);
  ASSERT_TRUE(previous.found);
  EXPECT_EQ(previous.place.parameter, b);
}

TEST_F(NavigationTest, SelectedBranchDescendsToItsFirstParameter) {
  c->setErrorText("x");
  NavigationResult found = step({child1, nullptr}, NavigationDirection::Next);
  ASSERT_TRUE(found.found);
  EXPECT_EQ(found.place.parameter, c);
  model::DescBranch& empty = tree.child(tree.root, "empty");
  found = step({&empty, nullptr}, NavigationDirection::Next);
  EXPECT_FALSE(found.found);
  EXPECT_EQ(found.message, kNoOtherProblemsText);
}

}  // namespace
}  // namespace zelmot::exchange::testing
