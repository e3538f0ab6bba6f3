// The window's part of the measurement archive: the archive made at start-up with its
// first rotation under a small wait window, the switch of the archive node's check box,
// and the one-second timer that rotates it.
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

#include "app/protocol_archive.h"
#include "document/zelmot_doc.h"
#include "platform/paths.h"
#include "ui/main_frame.h"
#include "ui/qt_text.h"
#include "ui/tree_model.h"

namespace zelmot::ui {
namespace {

constexpr const char* kArchiveUpdateText = "Обновление архива...";

// A small modeless window with one line of text, shown at once.
QWidget* showWaitWindow(QWidget* parent, const char* text) {
  auto* window = new QWidget(parent, Qt::Tool | Qt::FramelessWindowHint);
  auto* layout = new QVBoxLayout(window);
  layout->addWidget(new QLabel(toQt(text), window));
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  return window;
}

}  // namespace

void CMainFrame::startArchive() {
  const std::filesystem::path home =
      options_.home.empty() ? programHomeDir() : std::filesystem::path(options_.home);
  archive_ = std::make_unique<app::ProtocolArchive>(home, doc_->archiveNode());
  QWidget* wait = showWaitWindow(this, kArchiveUpdateText);
  archive_->rotate();
  wait->close();
  // The window's one-second timer rotates it (onSecondTimer).
}

void CMainFrame::setArchiveSwitch(bool on) {
  if (archive_) archive_->setEnabled(on);
  model_->setArchiveChecked(on);
}

void CMainFrame::rotateArchive() {
  if (!archive_) return;
  if (archive_->rotate().dateChanged) model_->refreshParameter(&doc_->archiveNode());
}

}  // namespace zelmot::ui
