#include "support/recording_prompt.h"

namespace zelmot::test_support {

RecordingPrompt::RecordingPrompt(PromptAnswer standingAnswer) : standing_(standingAnswer) {}

PromptAnswer RecordingPrompt::ask(const std::string& text, const std::string& caption,
                                  PromptIcon icon, PromptButtons buttons) {
  std::lock_guard lock(mutex_);
  calls_.push_back({text, caption, icon, buttons});
  if (buttons == PromptButtons::Ok) return PromptAnswer::Ok;
  if (script_.empty()) return standing_;
  const PromptAnswer answer = script_.front();
  script_.pop_front();
  return answer;
}

void RecordingPrompt::answerQuestionsWith(PromptAnswer answer) {
  std::lock_guard lock(mutex_);
  standing_ = answer;
}

void RecordingPrompt::scriptAnswers(std::initializer_list<PromptAnswer> answers) {
  std::lock_guard lock(mutex_);
  script_.insert(script_.end(), answers.begin(), answers.end());
}

std::vector<PromptCall> RecordingPrompt::calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

std::vector<std::string> RecordingPrompt::texts() const {
  std::vector<std::string> texts;
  for (const PromptCall& call : calls()) texts.push_back(call.text);
  return texts;
}

std::vector<std::string> RecordingPrompt::messages() const {
  std::vector<std::string> messages;
  for (const PromptCall& call : calls()) messages.push_back(call.caption + ": " + call.text);
  return messages;
}

size_t RecordingPrompt::count() const {
  std::lock_guard lock(mutex_);
  return calls_.size();
}

void RecordingPrompt::clear() {
  std::lock_guard lock(mutex_);
  calls_.clear();
}

}  // namespace zelmot::test_support
