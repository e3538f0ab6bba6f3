// The main window's side of the file commands (the file controller does the work) and of
// the window's size, position and column widths kept between runs.
#include <QFileDialog>
#include <QHeaderView>
#include <algorithm>

#include "app/frame_texts.h"
#include "app/window_state.h"
#include "document/zelmot_doc.h"
#include "ui/main_frame.h"
#include "ui/qt_text.h"
#include "ui/tree_list_view.h"
#include "ui/tree_model.h"

namespace zelmot::ui {

app::FileController::Hooks CMainFrame::fileHooks() {
  app::FileController::Hooks hooks;
  hooks.chooseFile = [this](bool save, const std::string& suggested) {
    return fromQt(chooseFile(save, toQt(suggested)));
  };
  hooks.titleChanged = [this] { updateTitle(); };
  hooks.recentChanged = [this] { updateRecentFilesMenu(); };
  hooks.documentReplaced = [this](bool opened) { afterDocumentReplaced(opened); };
  return hooks;
}

QString CMainFrame::chooseFile(bool save, const QString& suggested) {
  if (options_.chooseFile) return options_.chooseFile(save, suggested);
  const QString filter = toQt(app::kFileFilter);
  return save ? QFileDialog::getSaveFileName(this, QString(), suggested, filter)
              : QFileDialog::getOpenFileName(this, QString(), suggested, filter);
}

void CMainFrame::openFile(const QString& path) {
  // Opening rewrites the values and the port settings a running link job is using.
  tasks_.whenIdle([this, path = fromQt(path)] { files_->openFile(path); });
}

bool CMainFrame::saveFile(const QString& path) { return files_->saveFile(fromQt(path)); }

void CMainFrame::updateTitle() {
  if (files_) setWindowTitle(toQt(files_->title()));
}

void CMainFrame::afterDocumentReplaced(bool opened) {
  // The file brings its own port settings with it.
  if (opened) doc_->deviceLink().load_port_settings();
  model_->refreshAll();
  updateTitle();
  updateStatusBar();
}

void CMainFrame::restoreWindowState() {
  const std::optional<app::WindowState> state = app::loadWindowState(settings_);
  if (!state) return;
  const app::WindowPlacement& given = options_.commandLine.placement;
  if (!given.width || !given.height) setGeometry(state->x, state->y, state->width, state->height);
  QHeaderView* header = view_->header();
  const int count = std::min(header->count(), static_cast<int>(state->columnWidths.size()));
  for (int column = 0; column < count; ++column) {
    header->resizeSection(column, state->columnWidths[static_cast<size_t>(column)]);
  }
}

void CMainFrame::saveWindowState() {
  const QRect place = geometry();
  app::WindowState state{place.x(), place.y(), place.width(), place.height(), {}};
  const QHeaderView* header = view_->header();
  for (int column = 0; column < header->count(); ++column) {
    state.columnWidths.push_back(header->sectionSize(column));
  }
  app::saveWindowState(settings_, state);
}

}  // namespace zelmot::ui
