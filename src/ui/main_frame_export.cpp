// The protocol export dialog, opened from the help menu.
#include "archive/export_columns.h"
#include "platform/paths.h"
#include "ui/export_oper_dialog.h"
#include "ui/main_frame.h"

namespace zelmot::ui {

void CMainFrame::openProtocolExport() {
  CExportOperDlg::Services services;
  services.home = options_.home.empty() ? programHomeDir() : std::filesystem::path(options_.home);
  if (const model::DescBranch* tree = doc_->deviceModel().measurementTree()) {
    services.columns = archive::protocolColumns(*tree);
  }
  // SEAM: the archive switch and the cleanup dialog come with the measurement archive.
  CExportOperDlg dialog(std::move(services), prompt_, this);
  dialog.exec();
}

}  // namespace zelmot::ui
