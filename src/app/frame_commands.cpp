#include "app/frame_commands.h"

#include <algorithm>
#include <iterator>

#include "app/command_ids.h"
#include "app/frame_texts.h"
#include "exchange/exchange_texts.h"
#include "exchange/link_check.h"
#include "exchange/tree_walk.h"
#include "model/desc_branch.h"
#include "platform/user_prompt.h"

namespace zelmot::app {
namespace {

constexpr const char* kErrorCaption = "Ошибка";

constexpr int kTaskCommands[] = {
    kCmdFileNew,           kCmdFileOpen,           kCmdReadAll,
    kCmdWriteAll,          kCmdWriteChanged,       kCmdCompare,
    kCmdWriteErroneous,    kCmdReadBranch,         kCmdReadThisBranch,
    kCmdWriteBranch,       kCmdWriteThisBranch,    kCmdWriteChangedBranch,
    kCmdWriteChangedThisBranch, kCmdCompareBranch, kCmdCompareThisBranch,
    kCmdCheckLink,         kCmdSinglePoll,         kCmdProgramNetwork,
    kCmdSendAply,          kCmdConverterSemiAutomatic, kCmdConverterAutomatic,
    kCmdCalibration,
};

}  // namespace

std::span<const int> taskCommands() { return kTaskCommands; }

bool isTaskCommand(int id) {
  return std::find(std::begin(kTaskCommands), std::end(kTaskCommands), id) != std::end(kTaskCommands);
}

std::optional<CommandTask> commandTask(int id) {
  using exchange::TaskCode;
  switch (id) {
    case kCmdReadAll: return CommandTask{TaskCode::Read, true};
    case kCmdWriteAll: return CommandTask{TaskCode::WriteAll, true};
    case kCmdWriteChanged: return CommandTask{TaskCode::WriteChanged, true};
    case kCmdCompare: return CommandTask{TaskCode::Compare, true};
    case kCmdReadBranch:
    case kCmdReadThisBranch: return CommandTask{TaskCode::Read, false};
    case kCmdWriteBranch:
    case kCmdWriteThisBranch: return CommandTask{TaskCode::WriteAll, false};
    case kCmdWriteChangedBranch:
    case kCmdWriteChangedThisBranch: return CommandTask{TaskCode::WriteChanged, false};
    case kCmdCompareBranch:
    case kCmdCompareThisBranch: return CommandTask{TaskCode::Compare, false};
    default: return std::nullopt;
  }
}

link::ConverterMode converterModeForCommand(int id) {
  return id == kCmdConverterAutomatic ? link::ConverterMode::Automatic
                                      : link::ConverterMode::SemiAutomatic;
}

bool taskTargetDefined(const model::DescBranch* target, bool wholeTree, UserPrompt& prompt) {
  if (target != nullptr) return true;
  prompt.tell(wholeTree ? exchange::kTreeUndefinedText : exchange::kBranchUndefinedText,
              exchange::kOperationImpossibleCaption, PromptIcon::Stop);
  return false;
}

std::vector<model::Parameter*> erroneousGroup(const model::DescBranch* root, UserPrompt& prompt) {
  if (!taskTargetDefined(root, true, prompt)) return {};
  std::vector<model::Parameter*> group = exchange::collectErroneousParameters(*root);
  if (group.empty()) prompt.tell(exchange::kNoErroneousText, kProgramCaption, PromptIcon::Exclamation);
  return group;
}

const char* linkStatusAfterCheck(const exchange::LinkCheckResult& result) {
  return (result.identity & exchange::kIdentityAnswered) != 0 ? kLinkAnswersText : kNoLinkText;
}

void tellLinkCheck(const exchange::LinkCheckResult& result, UserPrompt& prompt) {
  if (!result.errorText.empty()) prompt.tell(result.errorText, kErrorCaption, PromptIcon::Stop);
  if (!result.infoText.empty()) {
    prompt.tell(result.infoText, exchange::kDeviceInfoCaption, PromptIcon::Information);
  }
}

}  // namespace zelmot::app
