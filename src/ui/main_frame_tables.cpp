// The main window's side of the parameter list page and the parameter table: file dialogs,
// the wait cursor, the messages; the work is done by the core.
#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

#include "app/frame_commands.h"
#include "app/parameter_list_export.h"
#include "app/table_file_name.h"
#include "document/parameter_table.h"
#include "document/zelmot_doc.h"
#include "platform/user_prompt.h"
#include "ui/main_frame.h"
#include "ui/qt_text.h"
#include "ui/tree_model.h"

namespace zelmot::ui {

namespace {

// The wait cursor for one scope.
class WaitCursor {
public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

void CMainFrame::exportParameterList() {
  const std::filesystem::path path = options_.home.empty()
                                         ? app::defaultParameterListPath()
                                         : std::filesystem::path(options_.home) / "temp" / "parlist.html";
  app::PageResult written;
  {
    WaitCursor wait;
    written = app::writeParameterList(doc_->root(), path);
  }
  if (!written.ok) {
    const bool noTree = doc_->root() == nullptr;
    prompt_.tell(written.message, noTree ? app::kOperationImpossibleCaption : app::kProgramCaption,
                 PromptIcon::Stop);
    return;
  }
  const QString page = toQt(path.string());
  const bool opened = options_.openPage ? options_.openPage(page)
                                        : QDesktopServices::openUrl(QUrl::fromLocalFile(page));
  if (!opened) {
    prompt_.tell("Не удается открыть страницу в браузере: " + path.string(), app::kProgramCaption,
                 PromptIcon::Exclamation);
  }
}

QString CMainFrame::chooseTableFile(bool save, const QString& suggested) {
  if (options_.chooseFile) return options_.chooseFile(save, suggested);
  QFileDialog dialog(this, QString(), suggested, toQt(document::kDbfFilterText));
  dialog.setDefaultSuffix("dbf");
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!suggested.isEmpty()) dialog.selectFile(suggested);
  return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
             ? dialog.selectedFiles().constFirst()
             : QString();
}

void CMainFrame::exportTable() {
  if (doc_->root() == nullptr) return;
  const QString path = chooseTableFile(true, toQt(app::suggestedTableName(files_->path())));
  if (path.isEmpty()) return;
  document::TableResult written;
  {
    WaitCursor wait;
    written = document::exportParameterTable(*doc_->root(), fromQt(path));
  }
  if (!written.ok) prompt_.tell(written.message, app::kProgramCaption, PromptIcon::Stop);
}

void CMainFrame::importTable() {
  if (doc_->root() == nullptr) return;
  const QString path = chooseTableFile(false, QString());
  if (path.isEmpty()) return;
  // The table replaces values a running job may be exchanging.
  tasks_.whenIdle([this, path = fromQt(path)] {
    document::ImportResult imported;
    {
      WaitCursor wait;
      imported = document::importParameterTable(*doc_->root(), path);
    }
    if (!imported.table.ok) {
      prompt_.tell(imported.table.message, app::kProgramCaption, PromptIcon::Stop);
      return;
    }
    model_->refreshAll();
    files_->setModified(true);
    if (!imported.missing.empty()) {
      prompt_.tell(document::missingParametersText(imported.missing), app::kProgramCaption,
                   PromptIcon::Exclamation);
    }
  });
}

}  // namespace zelmot::ui
