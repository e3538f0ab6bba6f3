#pragma once
// The core's only way to talk to the person at the machine. The desktop program answers
// with message boxes, the CLI with the terminal, tests with a scripted answerer.
#include <string>

namespace zelmot {

enum class PromptIcon { Stop, Information, Exclamation, Question };

enum class PromptButtons { Ok, YesNo, YesNoCancel };

enum class PromptAnswer { Ok, Yes, No, Cancel };

class UserPrompt {
public:
  virtual ~UserPrompt() = default;
  // Shows a message (or asks a question) and returns the answer. May be called from a
  // worker thread: implementations carry the call to their own thread when they must.
  virtual PromptAnswer ask(const std::string& text, const std::string& caption,
                           PromptIcon icon, PromptButtons buttons) = 0;

  void tell(const std::string& text, const std::string& caption, PromptIcon icon) {
    ask(text, caption, icon, PromptButtons::Ok);
  }
};

// Answers every question with a fixed answer and shows nothing: for unattended runs.
class SilentPrompt final : public UserPrompt {
public:
  explicit SilentPrompt(PromptAnswer answer = PromptAnswer::Ok) : answer_(answer) {}
  PromptAnswer ask(const std::string&, const std::string&, PromptIcon, PromptButtons) override {
    return answer_;
  }

private:
  PromptAnswer answer_;
};

}  // namespace zelmot
