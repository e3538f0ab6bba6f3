// The protocol export dialog, opened from the help menu.
#include "app/protocol_archive.h"
#include "archive/export_columns.h"
#include "platform/paths.h"
#include "ui/cleanup_dialog.h"
#include "ui/export_oper_dialog.h"
#include "ui/main_frame.h"

namespace zelmot::ui {

void CMainFrame::openProtocolExport() {
  CExportOperDlg::Services services;
  services.home = options_.home.empty() ? programHomeDir() : std::filesystem::path(options_.home);
  if (const model::DescBranch* tree = doc_->deviceModel().measurementTree()) {
    services.columns = archive::protocolColumns(*tree);
  }
  std::unique_ptr<archive::ArchiveSwitchOf<app::ProtocolArchive>> archiveSwitch;
  if (archive_) {
    archiveSwitch = std::make_unique<archive::ArchiveSwitchOf<app::ProtocolArchive>>(*archive_);
    services.archive = archiveSwitch.get();
  }
  const std::filesystem::path protocolDir = archive::archiveFoldersIn(services.home).protocol;
  services.openCleanup = [protocolDir](QWidget* parent) { openCleanupDialog(parent, protocolDir); };
  CExportOperDlg dialog(std::move(services), prompt_, this);
  dialog.exec();
}

}  // namespace zelmot::ui
