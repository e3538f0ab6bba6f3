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
  // SEAM: once the window owns the program's archive (app::ProtocolArchive), pass
  // archive::ArchiveSwitchOf<app::ProtocolArchive> as services.archive, and open the
  // archive's cleanup dialog from services.openCleanup ("Очистка").
  CExportOperDlg dialog(std::move(services), prompt_, this);
  dialog.exec();
}

}  // namespace zelmot::ui
