#include "exchange/reread_list.h"

#include <gtest/gtest.h>

namespace zelmot::exchange {
namespace {

struct AppendCase {
  const char* written;
  int32_t index;
  const char* expected;
};

class ReReadAppend : public ::testing::TestWithParam<AppendCase> {};

TEST_P(ReReadAppend, AppendsTheRecomputedParameters) {
  std::string list = "x ";
  appendReReadEntries(list, GetParam().written, GetParam().index);
  EXPECT_EQ(list, std::string("x ") + GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReReadAppend,
    ::testing::Values(AppendCase{"n.Ch", 0, "S.idx S.SAU "}, AppendCase{"N.OBJ", 0, "S.idx n.Ch "},
                      AppendCase{"OD.tP", 3, "r.OD.i S.OD "}, AppendCase{"nPC", 0, "S.MD PCP.i "},
                      AppendCase{"OP", 0, "S.OE "}, AppendCase{"al.re", 0, "S.OE "},
                      AppendCase{"n.rel", 0, "S.OE "}, AppendCase{"A.i.j", 7, "A.i.j:6 A.i.j:7 "},
                      AppendCase{"A.i.j", 6, "A.i.j:6 A.i.j:7 "},
                      AppendCase{"A.i.j", 0, "A.i.j:0 A.i.j:1 "}, AppendCase{"rEAd", 0, ""}));

TEST(ReReadList, IndexedEntriesNameOnlyTheirElements) {
  std::string list;
  appendReReadEntries(list, "A.i.j", 7);
  EXPECT_TRUE(reReadListNames(list, "A.i.j", 6));
  EXPECT_TRUE(reReadListNames(list, "a.I.J", 7));
  EXPECT_FALSE(reReadListNames(list, "A.i.j", 5));
  EXPECT_FALSE(reReadListNames(list, "A.i.j", 16));  // "A.i.j:1" must not match index 16
  EXPECT_FALSE(reReadListNames(list, "A.i.j", 1));
}

TEST(ReReadList, PlainEntriesNameEveryElementButOnlyWholeNames) {
  const std::string list = "S.idx n.Ch r.OD.i S.OD ";
  EXPECT_TRUE(reReadListNames(list, "s.idx", 3));
  EXPECT_TRUE(reReadListNames(list, "S.OD", 0));
  EXPECT_FALSE(reReadListNames(list, "OD", 0));
  EXPECT_FALSE(reReadListNames(list, "idx", 0));
  EXPECT_FALSE(reReadListNames("", "S.idx", 0));
}

}  // namespace
}  // namespace zelmot::exchange
