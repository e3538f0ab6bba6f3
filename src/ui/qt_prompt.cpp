#include "ui/qt_prompt.h"

#include <QMessageBox>
#include <QThread>

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

}  // namespace

QtPrompt::QtPrompt(QObject* parent) : QObject(parent) {}

PromptAnswer QtPrompt::ask(const std::string& text, const std::string& caption, PromptIcon icon,
                           PromptButtons buttons) {
  if (QThread::currentThread() == thread()) return askHere(text, caption, icon, buttons);
  PromptAnswer answer = PromptAnswer::Cancel;
  QMetaObject::invokeMethod(
      this, [&] { answer = askHere(text, caption, icon, buttons); },
      Qt::BlockingQueuedConnection);
  return answer;
}

PromptAnswer QtPrompt::askHere(const std::string& text, const std::string& caption,
                               PromptIcon icon, PromptButtons buttons) {
  QMessageBox box(boxIcon(icon), toQt(caption), toQt(text), boxButtons(buttons), owner_.data());
  return answerOf(box.exec());
}

}  // namespace zelmot::ui
