#pragma once
// Messages of the core on the terminal: printed to standard error with their caption.
// Nobody sits at a headless run to answer, so questions get a fixed answer.
#include <mutex>

#include "platform/user_prompt.h"

namespace zelmot::cli {

class TerminalPrompt final : public UserPrompt {
public:
  explicit TerminalPrompt(PromptAnswer questionAnswer = PromptAnswer::No)
      : questionAnswer_(questionAnswer) {}
  PromptAnswer ask(const std::string& text, const std::string& caption, PromptIcon icon,
                   PromptButtons buttons) override;

private:
  std::mutex mutex_;
  PromptAnswer questionAnswer_;
};

}  // namespace zelmot::cli
