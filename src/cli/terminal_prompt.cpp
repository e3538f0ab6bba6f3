#include "cli/terminal_prompt.h"

#include <cstdio>

namespace zelmot::cli {

PromptAnswer TerminalPrompt::ask(const std::string& text, const std::string& caption,
                                 PromptIcon, PromptButtons buttons) {
  std::lock_guard lock(mutex_);
  if (beforeMessage_) beforeMessage_();
  if (caption.empty()) {
    std::fprintf(stderr, "%s\n", text.c_str());
  } else {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  }
  std::fflush(stderr);
  return buttons == PromptButtons::Ok ? PromptAnswer::Ok : questionAnswer_;
}

}  // namespace zelmot::cli
