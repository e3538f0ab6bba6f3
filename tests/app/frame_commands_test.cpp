#include "app/frame_commands.h"

#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "app/frame_texts.h"
#include "exchange/exchange_texts.h"
#include "exchange/link_check.h"
#include "model/desc_branch.h"
#include "model/parameter.h"
#include "support/recording_prompt.h"

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
  EXPECT_FALSE(commandTask(kCmdConverterAutomatic));
  EXPECT_EQ(converterModeForCommand(kCmdConverterAutomatic), link::ConverterMode::Automatic);
  EXPECT_EQ(converterModeForCommand(kCmdConverterSemiAutomatic), link::ConverterMode::SemiAutomatic);
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

TEST(FrameCommands, ATaskWithoutItsTargetIsRefusedAndSaysWhy) {
  test_support::RecordingPrompt prompt;
  model::Parameter failed;  // outlives the branch that lists it
  model::DescBranch root;
  EXPECT_TRUE(taskTargetDefined(&root, false, prompt));
  EXPECT_FALSE(taskTargetDefined(nullptr, false, prompt));
  EXPECT_FALSE(taskTargetDefined(nullptr, true, prompt));
  ASSERT_EQ(prompt.calls().size(), 2u);
  EXPECT_EQ(prompt.calls()[0].text, exchange::kBranchUndefinedText);
  EXPECT_EQ(prompt.calls()[1].text, exchange::kTreeUndefinedText);
  EXPECT_EQ(prompt.calls()[1].caption, exchange::kOperationImpossibleCaption);

  prompt.clear();
  EXPECT_TRUE(erroneousGroup(nullptr, prompt).empty());
  failed.setName("SP");
  root.addParameter(&failed);
  EXPECT_TRUE(erroneousGroup(&root, prompt).empty());
  ASSERT_EQ(prompt.calls().size(), 2u);
  EXPECT_EQ(prompt.calls()[1].text, exchange::kNoErroneousText);
  failed.setErrorText("Ошибка записи");
  EXPECT_EQ(erroneousGroup(&root, prompt), std::vector<model::Parameter*>{&failed});
  EXPECT_EQ(prompt.calls().size(), 2u) << "a group to write is not announced";
}

TEST(FrameCommands, LinkCheckSetsTheStatusAndTellsFailuresBeforeTheIdentity) {
  exchange::LinkCheckResult silent;
  silent.errorText = "n.Err: нет ответа";
  EXPECT_STREQ(linkStatusAfterCheck(silent), kNoLinkText);
  exchange::LinkCheckResult answered = silent;
  answered.identity = exchange::kIdentityAnswered;
  answered.infoText = "ZELMOT 1.0";
  EXPECT_STREQ(linkStatusAfterCheck(answered), kLinkAnswersText);
  test_support::RecordingPrompt prompt;
  tellLinkCheck(answered, prompt);
  ASSERT_EQ(prompt.calls().size(), 2u);
  EXPECT_EQ(prompt.calls()[0].icon, PromptIcon::Stop);
  EXPECT_EQ(prompt.calls()[1].text, "ZELMOT 1.0");
  EXPECT_EQ(prompt.calls()[1].caption, exchange::kDeviceInfoCaption);
}

}  // namespace
}  // namespace zelmot::app
