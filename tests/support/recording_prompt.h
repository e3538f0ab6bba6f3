#pragma once
// A prompt that records every message and answers questions from a script. Messages with
// only an OK button are answered OK; questions take the next scripted answer, then the
// standing one. Safe to call from a worker thread.
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/user_prompt.h"

namespace zelmot::test_support {

struct PromptCall {
  std::string text;
  std::string caption;
  PromptIcon icon;
  PromptButtons buttons;
};

class RecordingPrompt final : public UserPrompt {
public:
  explicit RecordingPrompt(PromptAnswer standingAnswer = PromptAnswer::No);

  PromptAnswer ask(const std::string& text, const std::string& caption, PromptIcon icon,
                   PromptButtons buttons) override;

  // The answer to every question from now on (after the scripted ones).
  void answerQuestionsWith(PromptAnswer answer);
  // Answers to the next questions, in order.
  void scriptAnswers(std::initializer_list<PromptAnswer> answers);

  std::vector<PromptCall> calls() const;
  // The texts only, and "caption: text" for each call.
  std::vector<std::string> texts() const;
  std::vector<std::string> messages() const;
  size_t count() const;
  void clear();

private:
  mutable std::mutex mutex_;
  std::vector<PromptCall> calls_;
  std::deque<PromptAnswer> script_;
  PromptAnswer standing_;
};

}  // namespace zelmot::test_support
