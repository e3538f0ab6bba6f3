#pragma once
// Messages and questions of the core shown as message boxes. A call from a worker thread
// is carried to the window's thread and the worker waits there for the answer; closing
// the window cancels such a question (the worker gets Cancel), so that the window never
// waits for a worker that waits for the window.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <condition_variable>
#include <mutex>

#include "platform/user_prompt.h"

class QMessageBox;

namespace zelmot::ui {

class QtPrompt final : public QObject, public UserPrompt {
  Q_OBJECT

public:
  explicit QtPrompt(QObject* parent = nullptr);
  // Message boxes are owned by this window (may be null).
  void setOwner(QWidget* owner) { owner_ = owner; }
  // An unattended run: nothing is shown; messages go to standard error and questions are
  // answered No, as nobody is there to answer them.
  void setUnattended(bool unattended) { unattended_ = unattended; }

  PromptAnswer ask(const std::string& text, const std::string& caption, PromptIcon icon,
                   PromptButtons buttons) override;

public slots:
  // Closes an open question box and answers every waiting worker with Cancel. With
  // `forGood`, later questions from workers are answered Cancel at once too.
  void cancelQuestions(bool forGood);

private:
  PromptAnswer askHere(const std::string& text, const std::string& caption, PromptIcon icon,
                       PromptButtons buttons);

  QPointer<QWidget> owner_;
  QPointer<QMessageBox> openBox_;
  bool unattended_ = false;
  std::mutex mutex_;  // guards the fields below, shared with waiting workers
  std::condition_variable answered_;
  unsigned generation_ = 0;  // advanced by every cancel
  bool cancelledForGood_ = false;
};

}  // namespace zelmot::ui
