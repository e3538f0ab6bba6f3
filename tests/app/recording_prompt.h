#pragma once
// A prompt that records every message and answers questions with a set answer.
#include <string>
#include <vector>

#include "platform/user_prompt.h"

namespace zelmot::app::testing {

struct Told {
  std::string text;
  std::string caption;
  PromptIcon icon;
  PromptButtons buttons;
};

class RecordingPrompt final : public UserPrompt {
public:
  PromptAnswer ask(const std::string& text, const std::string& caption, PromptIcon icon,
                   PromptButtons buttons) override {
    told.push_back({text, caption, icon, buttons});
    return buttons == PromptButtons::Ok ? PromptAnswer::Ok : answer;
  }
  std::vector<Told> told;
  PromptAnswer answer = PromptAnswer::No;
};

}  // namespace zelmot::app::testing
