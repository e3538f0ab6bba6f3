#pragma once
// Messages of the core on the terminal: printed to standard error with their caption.
// Nobody sits at a headless run to answer, so questions get a fixed answer.
#include <functional>
#include <mutex>

#include "platform/user_prompt.h"

namespace zelmot::cli {

class TerminalPrompt final : public UserPrompt {
public:
  // `beforeMessage` makes room on the terminal (ends a progress line drawn in place).
  explicit TerminalPrompt(std::function<void()> beforeMessage = {},
                          PromptAnswer questionAnswer = PromptAnswer::No)
      : beforeMessage_(std::move(beforeMessage)), questionAnswer_(questionAnswer) {}
  PromptAnswer ask(const std::string& text, const std::string& caption, PromptIcon icon,
                   PromptButtons buttons) override;

private:
  std::mutex mutex_;
  std::function<void()> beforeMessage_;
  PromptAnswer questionAnswer_;
};

}  // namespace zelmot::cli
