#include "ui/tree_list_view.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QScopedValueRollback>
#include <QTimer>
#include <algorithm>

#include "app/block_properties.h"
#include "app/clock_dialog_state.h"
#include "app/main_menu.h"
#include "app/tree_rows.h"
#include "ui/qt_text.h"
#include "ui/tree_model.h"
#include "ui/value_delegate.h"

namespace zelmot::ui {

CZELMOTTreeListView::CZELMOTTreeListView(QWidget* parent) : QTreeView(parent) {
  setItemDelegate(new ValueDelegate(this));
  setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::DoubleClicked |
                  QAbstractItemView::EditKeyPressed);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformRowHeights(true);  // large trees scroll and expand without measuring each row
  setAlternatingRowColors(true);
  setAllColumnsShowFocus(true);
  header()->setStretchLastSection(true);
  connect(this, &QTreeView::clicked, this, [this](const QModelIndex& index) {
    const app::TreeRow* row = model_ != nullptr ? model_->rowAt(index) : nullptr;
    model::Parameter* parameter = row != nullptr ? row->parameter() : nullptr;
    if (index.column() == static_cast<int>(app::Column::Value) && parameter != nullptr &&
        app::isClockParameter(*parameter)) {
      emit clockRequested(parameter);
    }
  });
  // Rows that come into sight widen the columns they need, once they are laid out; the
  // columns never narrow under the user's eyes while browsing.
  connect(this, &QTreeView::expanded, this, [this] {
    QTimer::singleShot(0, this, [this] { fitColumns(true); });
  });
  // ... except those the user has sized since the last full fit.
  connect(header(), &QHeaderView::sectionResized, this, [this](int column) {
    if (!fitting_ && column >= 0 && column < app::kColumnCount) {
      userSized_[static_cast<size_t>(column)] = true;
    }
  });
}

void CZELMOTTreeListView::setTreeModel(TreeModel* model) {
  model_ = model;
  setModel(model);
  {
    const QScopedValueRollback<bool> fitting(fitting_, true);
    for (int column = 0; column < app::kColumnCount; ++column) {
      setColumnWidth(column, app::kColumns[static_cast<size_t>(column)].width);
    }
  }
  // After a task the values are new: the columns follow them.
  connect(model, &TreeModel::allRefreshed, this, &CZELMOTTreeListView::fitColumnsToContents);
}

void CZELMOTTreeListView::fitColumnsToContents() {
  userSized_.fill(false);
  fitColumns(false);
}

void CZELMOTTreeListView::fitColumns(bool growOnly) {
  const int description = static_cast<int>(app::Column::Description);
  const QScopedValueRollback<bool> fitting(fitting_, true);
  for (int column = 0; column < app::kColumnCount - 1; ++column) {
    if (growOnly && userSized_[static_cast<size_t>(column)]) continue;
    int wanted = std::max(sizeHintForColumn(column), header()->sectionSizeHint(column));
    // Long descriptions deep in the tree would push every value out of sight.
    if (column == description) {
      wanted = std::min(wanted, std::max(columnWidth(column), viewport()->width() / 2));
    }
    if (growOnly) wanted = std::max(wanted, columnWidth(column));
    setColumnWidth(column, wanted);
  }
}

model::Parameter* CZELMOTTreeListView::currentParameter() const {
  const app::TreeRow* row = model_ != nullptr ? model_->rowAt(currentIndex()) : nullptr;
  return row != nullptr ? row->parameter() : nullptr;
}

void CZELMOTTreeListView::selectRow(const QModelIndex& index) {
  if (!index.isValid()) return;
  for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) expand(up);
  setCurrentIndex(index);
  scrollTo(index);
}

void CZELMOTTreeListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTreeView::currentChanged(current, previous);
  followSelection(current);
}

void CZELMOTTreeListView::followSelection(const QModelIndex& index) {
  const app::TreeRow* row = model_ != nullptr ? model_->rowAt(index) : nullptr;
  model::DescBranch* branch = nullptr;
  if (row != nullptr) {
    branch = row->kind() == app::TreeRow::Kind::Parameter && row->parent() != nullptr
                 ? row->parent()->owningBranch()
                 : row->owningBranch();
  }
  if (branch == currentBranch_) return;
  currentBranch_ = branch;
  emit currentBranchChanged(branch);
}

void CZELMOTTreeListView::contextMenuEvent(QContextMenuEvent* event) {
  const QModelIndex index = indexAt(event->pos());
  const app::TreeRow* row = model_ != nullptr ? model_->rowAt(index) : nullptr;
  if (row == nullptr || row->kind() != app::TreeRow::Kind::Branch) return;
  setCurrentIndex(index.siblingAtColumn(0));
  QMenu menu(this);
  for (const app::MenuItem& item : app::branchContextMenu()) {
    QAction* action = menu.addAction(toQt(item.text));
    const int id = item.id;
    connect(action, &QAction::triggered, this, [this, id] { emit commandRequested(id); });
  }
  menu.addSeparator();
  connect(menu.addAction(toQt(app::kBlockPropertiesText)), &QAction::triggered, this,
          [this] { emit commandRequested(app::kCmdBlockProperties); });
  menu.exec(event->globalPos());
}

}  // namespace zelmot::ui
