#include <gtest/gtest.h>

#include "app/table_file_name.h"

namespace zelmot::app {
namespace {

TEST(TableFileName, FromTheConfigurationOrADefault) {
  EXPECT_EQ(suggestedTableName(""), "Параметры.dbf");
  EXPECT_EQ(suggestedTableName("/home/u/котел.zel"), "/home/u/котел.dbf");
  EXPECT_EQ(suggestedTableName("/home/u/A.ZEL"), "/home/u/A.dbf");
  EXPECT_EQ(suggestedTableName("/home/u/a.zel.bak"), "/home/u/a.zel.bak.dbf");
  EXPECT_EQ(suggestedTableName("/home/u/.zel"), "/home/u/.zel.dbf");
}

}  // namespace
}  // namespace zelmot::app
