#include "ui/block_properties_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/block_properties.h"
#include "ui/qt_text.h"
#include "ui/tree_model.h"

namespace zelmot::ui {

CBlockPropertieDialog::CBlockPropertieDialog(const app::BlockPropertiesState& state, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(toQt(state.title()));
  auto* layout = new QVBoxLayout(this);
  model_ = new TreeModel(this);
  model_->load(&state.block(), {}, state.options());
  tree_ = new QTreeView(this);
  tree_->setModel(model_);
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tree_->setUniformRowHeights(true);
  tree_->setAllColumnsShowFocus(true);
  tree_->header()->setStretchLastSection(true);
  int width = 0;
  for (int column = 0; column < app::kColumnCount; ++column) {
    tree_->setColumnWidth(column, app::kBlockColumnWidths[static_cast<size_t>(column)]);
    width += app::kBlockColumnWidths[static_cast<size_t>(column)];
  }
  // The block's own rows are there from the start, as when the user opens a branch.
  const QModelIndex root = model_->index(0, 0);
  if (model_->canFetchMore(root)) model_->fetchMore(root);
  tree_->expand(root);
  layout->addWidget(tree_);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(toQt(app::kBlockCloseText), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  resize(width + 40, 480);
}

}  // namespace zelmot::ui
