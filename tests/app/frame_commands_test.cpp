#include "app/frame_commands.h"

#include <gtest/gtest.h>

#include "app/command_ids.h"

namespace zelmot::app {
namespace {

TEST(FrameCommands, BulkTasksRunOnTheWholeTreeOrOnTheChosenBranch) {
  const std::optional<CommandTask> all = commandTask(kCmdWriteChanged);
  ASSERT_TRUE(all);
  EXPECT_EQ(all->code, exchange::TaskCode::WriteChanged);
  EXPECT_TRUE(all->wholeTree);
  // The branch menu and the view's pop-up menu run the same task.
  for (const int id : {kCmdCompareBranch, kCmdCompareThisBranch}) {
    const std::optional<CommandTask> branch = commandTask(id);
    ASSERT_TRUE(branch) << id;
    EXPECT_EQ(branch->code, exchange::TaskCode::Compare);
    EXPECT_FALSE(branch->wholeTree);
  }
  EXPECT_FALSE(commandTask(kCmdWriteErroneous)) << "a group write of its own";
  EXPECT_FALSE(commandTask(kCmdFileSave));
}

TEST(FrameCommands, CommandsThatUseTheLineOrReplaceTheDocumentWaitForAJob) {
  for (const int id : {kCmdFileOpen, kCmdReadThisBranch, kCmdCheckLink, kCmdConverterAutomatic}) {
    EXPECT_TRUE(isTaskCommand(id)) << id;
  }
  // Saving, leaving and moving between problems never touch the line.
  for (const int id : {kCmdFileSave, kCmdAppExit, kCmdNextProblem, kCmdHelp}) {
    EXPECT_FALSE(isTaskCommand(id)) << id;
  }
  for (const int id : {kCmdReadAll, kCmdCompareThisBranch}) {
    EXPECT_TRUE(isTaskCommand(id) && commandTask(id)) << "every bulk task waits: " << id;
  }
}

}  // namespace
}  // namespace zelmot::app
