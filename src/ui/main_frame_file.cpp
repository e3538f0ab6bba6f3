// The main window's file commands: new, open, save, save as, recent files, and the
// question before unsaved changes would be lost.
#include <QFileDialog>
#include <QFileInfo>

#include "app/frame_texts.h"
#include "document/zelmot_doc.h"
#include "platform/user_prompt.h"
#include "ui/main_frame.h"
#include "ui/qt_text.h"
#include "ui/tree_model.h"

namespace zelmot::ui {
namespace {

constexpr const char* kProgramCaption = "ZELMOT";
constexpr const char* kOpenFailedText = "Не удалось открыть файл ";
constexpr const char* kSaveFailedText = "Не удалось сохранить файл ";

}  // namespace

QString CMainFrame::chooseFile(bool save) {
  const QString suggested = filePath_;
  if (options_.chooseFile) return options_.chooseFile(save, suggested);
  const QString filter = toQt(app::kFileFilter);
  return save ? QFileDialog::getSaveFileName(this, QString(), suggested, filter)
              : QFileDialog::getOpenFileName(this, QString(), suggested, filter);
}

bool CMainFrame::keepOrSaveChanges() {
  if (!modified_) return true;
  const PromptAnswer answer =
      prompt_.ask(app::saveChangesQuestion(fromQt(filePath_)), kProgramCaption,
                  PromptIcon::Exclamation, PromptButtons::YesNoCancel);
  if (answer == PromptAnswer::Cancel) return false;
  if (answer == PromptAnswer::No) return true;
  saveDocument();
  return !modified_;
}

void CMainFrame::newDocument() {
  if (!keepOrSaveChanges()) return;
  exchangeAllowed();  // a running link job must not see its parameters reset under it
  doc_->resetDocument();
  filePath_.clear();
  configurationLoaded_ = false;
  modified_ = false;
  afterDocumentReplaced();
}

void CMainFrame::openDocument() {
  if (!keepOrSaveChanges()) return;
  const QString path = chooseFile(false);
  if (!path.isEmpty()) openFile(path);
}

void CMainFrame::openRecent(size_t index) {
  if (index >= recent_.paths().size() || !keepOrSaveChanges()) return;
  openFile(toQt(recent_.paths()[index]));
}

bool CMainFrame::openFile(const QString& path) {
  // Opening rewrites the values and the port settings a running link job is using.
  exchangeAllowed();
  const document::FileResult result = doc_->open(fromQt(path));
  if (!result.ok) {
    prompt_.tell(kOpenFailedText + fromQt(path) + "\n" + result.message, kProgramCaption,
                 PromptIcon::Stop);
    // A recent entry that no longer opens leaves the list, as it would not open again.
    if (!QFileInfo::exists(path)) {
      recent_.remove(fromQt(path));
      recent_.save(settings_);
      updateRecentFilesMenu();
    }
    return false;
  }
  filePath_ = QFileInfo(path).absoluteFilePath();
  configurationLoaded_ = true;
  modified_ = false;
  recent_.add(fromQt(filePath_));
  recent_.save(settings_);
  updateRecentFilesMenu();
  // The file brings its own port settings with it.
  applyPortSettings();
  afterDocumentReplaced();
  return true;
}

void CMainFrame::saveDocument() {
  if (filePath_.isEmpty()) {
    saveDocumentAs();
    return;
  }
  saveFile(filePath_);
}

void CMainFrame::saveDocumentAs() {
  const QString path = chooseFile(true);
  if (!path.isEmpty()) saveFile(toQt(app::withConfigurationExtension(fromQt(path))));
}

bool CMainFrame::saveFile(const QString& path) {
  const document::FileResult result = doc_->save(fromQt(path));
  if (!result.ok) {
    prompt_.tell(kSaveFailedText + fromQt(path) + "\n" + result.message, kProgramCaption,
                 PromptIcon::Stop);
    return false;
  }
  filePath_ = QFileInfo(path).absoluteFilePath();
  recent_.add(fromQt(filePath_));
  recent_.save(settings_);
  updateRecentFilesMenu();
  modified_ = false;
  updateTitle();
  return true;
}

void CMainFrame::afterDocumentReplaced() {
  model_->refreshAll();
  updateTitle();
  updateStatusBar();
}

}  // namespace zelmot::ui
