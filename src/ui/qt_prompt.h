#pragma once
// Messages and questions of the core shown as message boxes. A call from a worker thread
// is carried to the window's thread and the worker waits there for the answer.
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "platform/user_prompt.h"

namespace zelmot::ui {

class QtPrompt final : public QObject, public UserPrompt {
  Q_OBJECT

public:
  explicit QtPrompt(QObject* parent = nullptr);
  // Message boxes are owned by this window (may be null).
  void setOwner(QWidget* owner) { owner_ = owner; }

  PromptAnswer ask(const std::string& text, const std::string& caption, PromptIcon icon,
                   PromptButtons buttons) override;

private:
  PromptAnswer askHere(const std::string& text, const std::string& caption, PromptIcon icon,
                       PromptButtons buttons);

  QPointer<QWidget> owner_;
};

}  // namespace zelmot::ui
