#include "ui/qt_prompt.h"

#include <QMessageBox>
#include <QThread>
#include <cstdio>
#include <memory>

#include "ui/qt_text.h"

namespace zelmot::ui {
namespace {

QMessageBox::Icon boxIcon(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::Stop: return QMessageBox::Critical;
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Exclamation: return QMessageBox::Warning;
    case PromptIcon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(PromptButtons buttons) {
  switch (buttons) {
    case PromptButtons::Ok: return QMessageBox::Ok;
    case PromptButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

PromptAnswer answerOf(int button) {
  switch (button) {
    case QMessageBox::Yes: return PromptAnswer::Yes;
    case QMessageBox::No: return PromptAnswer::No;
    case QMessageBox::Cancel: return PromptAnswer::Cancel;
    default: return PromptAnswer::Ok;
  }
}

// A worker's question on its way to the window's thread and back.
struct PendingAnswer {
  bool done = false;
  PromptAnswer answer = PromptAnswer::Cancel;
};

}  // namespace

QtPrompt::QtPrompt(QObject* parent) : QObject(parent) {}

PromptAnswer QtPrompt::ask(const std::string& text, const std::string& caption, PromptIcon icon,
                           PromptButtons buttons) {
  if (unattended_) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::No;
  }
  if (QThread::currentThread() == thread()) return askHere(text, caption, icon, buttons);
  auto pending = std::make_shared<PendingAnswer>();
  std::unique_lock lock(mutex_);
  if (cancelledForGood_) return PromptAnswer::Cancel;
  const unsigned generation = generation_;
  QMetaObject::invokeMethod(
      this,
      [this, pending, generation, text, caption, icon, buttons] {
        {
          std::lock_guard guard(mutex_);
          if (generation != generation_) return;  // cancelled before it was shown
        }
        const PromptAnswer answer = askHere(text, caption, icon, buttons);
        std::lock_guard guard(mutex_);
        pending->answer = answer;
        pending->done = true;
        answered_.notify_all();
      },
      Qt::QueuedConnection);
  answered_.wait(lock, [&] { return pending->done || generation != generation_; });
  return pending->done && generation == generation_ ? pending->answer : PromptAnswer::Cancel;
}

void QtPrompt::cancelQuestions(bool forGood) {
  {
    std::lock_guard lock(mutex_);
    ++generation_;
    cancelledForGood_ = cancelledForGood_ || forGood;
    answered_.notify_all();
  }
  if (openBox_) openBox_->done(QMessageBox::Cancel);
}

PromptAnswer QtPrompt::askHere(const std::string& text, const std::string& caption,
                               PromptIcon icon, PromptButtons buttons) {
  QMessageBox box(boxIcon(icon), toQt(caption), toQt(text), boxButtons(buttons), owner_.data());
  const QPointer<QMessageBox> outer = openBox_;
  openBox_ = &box;
  const int button = box.exec();
  openBox_ = outer;
  return answerOf(button);
}

}  // namespace zelmot::ui
