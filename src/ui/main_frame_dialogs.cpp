// The main window's dialogs that only show or keep settings: the password change, the
// properties of a block and "О программе...".
#include "app/block_properties.h"
#include "app/change_password.h"
#include "document/zelmot_doc.h"
#include "ui/about_dialog.h"
#include "ui/block_properties_dialog.h"
#include "ui/change_password_dialog.h"
#include "ui/main_frame.h"

namespace zelmot::ui {

void CMainFrame::openChangePassword() {
  if (!app::passwordChangeAllowed(doc_->accessLevel(), prompt_)) return;
  app::ChangePasswordState state(settings_, doc_->accessLevel());
  CChangePassword dialog(state, prompt_, this);
  dialog.exec();
}

void CMainFrame::openBlockProperties(model::DescBranch* block) {
  if (block == nullptr) return;
  const app::BlockPropertiesState state(*block, viewOptions());
  CBlockPropertieDialog dialog(state, this);
  dialog.exec();
}

void CMainFrame::openAbout() {
  AboutDialog dialog(aboutInformationWithQt(), this);
  dialog.exec();
}

}  // namespace zelmot::ui
