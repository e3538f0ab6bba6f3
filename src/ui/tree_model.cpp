#include "ui/tree_model.h"

#include <QColor>

#include "app/edit_state.h"
#include "app/measurement.h"
#include "archive/measurement_archive.h"
#include "model/desc_branch.h"
#include "model/parameter.h"
#include "ui/qt_text.h"

namespace zelmot::ui {
namespace {

QColor toColor(const model::Rgb& rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

app::Column columnOf(int column) { return static_cast<app::Column>(column); }

}  // namespace

TreeModel::TreeModel(QObject* parent)
    : QAbstractItemModel(parent),
      branchIcon_(":/icons/branch.svg"),
      parameterIcon_(":/icons/parameter.svg"),
      nodeIcon_(":/icons/service.svg"),
      subItemIcon_(":/icons/input.svg") {
}

void TreeModel::load(model::DescBranch* root, const std::vector<model::InvisibleElement*>& nodes,
                     const app::ViewOptions& options, model::DescBranch* measurementRoot) {
  beginResetModel();
  options_ = options;
  rows_.reset(root, nodes, measurementRoot);
  endResetModel();
}

void TreeModel::setOptions(const app::ViewOptions& options) {
  options_ = options;
  refreshAll();
}

app::TreeRow& TreeModel::rowOrTop(const QModelIndex& index) const {
  auto* row = static_cast<app::TreeRow*>(index.internalPointer());
  return index.isValid() && row != nullptr ? *row : const_cast<app::TreeRows&>(rows_).top();
}

app::TreeRow* TreeModel::rowAt(const QModelIndex& index) const {
  return index.isValid() ? static_cast<app::TreeRow*>(index.internalPointer()) : nullptr;
}

QModelIndex TreeModel::indexOf(const app::TreeRow* row, int column) const {
  if (row == nullptr) return {};
  return createIndex(row->rowInParent(), column, const_cast<app::TreeRow*>(row));
}

QModelIndex TreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || column < 0 || column >= app::kColumnCount) return {};
  if (parent.isValid() && parent.column() != 0) return {};
  app::TreeRow* child = rowOrTop(parent).child(static_cast<size_t>(row));
  return child != nullptr ? createIndex(row, column, child) : QModelIndex();
}

QModelIndex TreeModel::parent(const QModelIndex& child) const {
  const app::TreeRow* row = rowAt(child);
  if (row == nullptr || row->parent() == nullptr) return {};
  return indexOf(row->parent(), 0);
}

int TreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() && parent.column() != 0) return 0;
  return static_cast<int>(rowOrTop(parent).childCount());
}

int TreeModel::columnCount(const QModelIndex&) const { return app::kColumnCount; }

bool TreeModel::hasChildren(const QModelIndex& parent) const {
  if (parent.isValid() && parent.column() != 0) return false;
  return rowOrTop(parent).mayHaveChildren(options_);
}

bool TreeModel::canFetchMore(const QModelIndex& parent) const {
  if (parent.isValid() && parent.column() != 0) return false;
  const app::TreeRow& row = rowOrTop(parent);
  return !row.childrenBuilt() && row.mayHaveChildren(options_);
}

void TreeModel::fetchMore(const QModelIndex& parent) {
  if (!canFetchMore(parent)) return;
  app::TreeRow& row = rowOrTop(parent);
  app::TreeRows::RowList children = rows_.makeChildren(row, options_);
  if (children.empty()) {
    rows_.attachChildren(row, std::move(children));
    return;
  }
  beginInsertRows(parent, 0, static_cast<int>(children.size()) - 1);
  rows_.attachChildren(row, std::move(children));
  endInsertRows();
}

QVariant TreeModel::data(const QModelIndex& index, int role) const {
  const app::TreeRow* row = rowAt(index);
  if (row == nullptr) return {};
  if (const QVariant measuring = measurementData(*row, index.column(), role); measuring.isValid()) {
    return measuring;
  }
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return toQt(row->text(columnOf(index.column()), options_));
    case Qt::ForegroundRole: return toColor(row->colour());
    case Qt::ToolTipRole:
      if (index.column() == static_cast<int>(app::Column::Errors) ||
          index.column() == static_cast<int>(app::Column::Value)) {
        const QString text = toQt(row->text(columnOf(index.column()), options_));
        return text.isEmpty() ? QVariant() : QVariant(text);
      }
      return {};
    case Qt::DecorationRole:
      if (index.column() != 0) return {};
      switch (row->kind()) {
        case app::TreeRow::Kind::Branch: return branchIcon_;
        case app::TreeRow::Kind::Parameter: return parameterIcon_;
        case app::TreeRow::Kind::Node: return nodeIcon_;
        case app::TreeRow::Kind::SubItem: return subItemIcon_;
      }
      return {};
    default: return {};
  }
}

QVariant TreeModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= app::kColumnCount) return {};
  if (role == Qt::DisplayRole) return toQt(app::kColumns[static_cast<size_t>(section)].title);
  return {};
}

Qt::ItemFlags TreeModel::flags(const QModelIndex& index) const {
  const app::TreeRow* row = rowAt(index);
  if (row == nullptr) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (row->childCount() == 0 && !row->mayHaveChildren(options_)) flags |= Qt::ItemNeverHasChildren;
  const model::Parameter* parameter = row->parameter();
  if (row->kind() != app::TreeRow::Kind::Parameter || parameter == nullptr) return flags;
  const app::Column column = columnOf(index.column());
  if ((column == app::Column::Value && app::valueEditable(*parameter)) ||
      app::attributeEditable(*parameter, column) ||
      (column == app::Column::Name && parameter->hasPollTimer())) {
    flags |= Qt::ItemIsEditable;
  }
  if (column == app::Column::Description && app::rowHasCheckBox(*row)) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

bool TreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  app::TreeRow* row = rowAt(index);
  if (role == Qt::CheckStateRole && row != nullptr && (flags(index) & Qt::ItemIsUserCheckable)) {
    emit checkToggled(reinterpret_cast<quintptr>(row), value.toInt() == Qt::Checked);
    return true;
  }
  if (role != Qt::EditRole || row == nullptr || !(flags(index) & Qt::ItemIsEditable)) return false;
  emit editSubmitted(reinterpret_cast<quintptr>(row), index.column(), value.toString());
  return true;
}

// The check box, and the archive's failure shown in place of the error column.
QVariant TreeModel::measurementData(const app::TreeRow& row, int column, int role) const {
  const model::Parameter* parameter = row.parameter();
  if (parameter == nullptr || row.kind() != app::TreeRow::Kind::Parameter) return {};
  if (role == Qt::CheckStateRole && column == 0 && app::rowHasCheckBox(row)) {
    const bool on = app::isArchiveNode(*parameter) ? archiveChecked_ : parameter->timerArmed();
    return on ? Qt::Checked : Qt::Unchecked;
  }
  if (!archiveFailed_.contains(parameter)) return {};
  if (role == Qt::ForegroundRole) return toColor(model::kErrorColour);
  if ((role == Qt::DisplayRole || role == Qt::ToolTipRole) &&
      column == static_cast<int>(app::Column::Errors)) {
    return toQt(archive::kWriteErrorText);
  }
  return {};
}

void TreeModel::setArchiveChecked(bool on) {
  archiveChecked_ = on;
  rows_.forEachBuilt([this](app::TreeRow& row) {
    if (row.parameter() != nullptr && app::isArchiveNode(*row.parameter())) refreshRow(row);
  });
}

void TreeModel::notePolled(const model::Parameter* parameter, bool archiveFailed) {
  if (archiveFailed) {
    archiveFailed_.insert(parameter);
  } else {
    archiveFailed_.remove(parameter);
  }
  refreshParameter(parameter);
}

void TreeModel::refreshRow(const app::TreeRow& row) {
  emit dataChanged(indexOf(&row, 0), indexOf(&row, app::kColumnCount - 1));
}

void TreeModel::refreshAncestors(const app::TreeRow& row) {
  for (const app::TreeRow* up = row.parent(); up != nullptr; up = up->parent()) {
    const QModelIndex index = indexOf(up, 0);
    emit dataChanged(index, index, {Qt::ForegroundRole});
  }
}

void TreeModel::refreshParameter(const model::Parameter* parameter) {
  for (const app::TreeRow* row : rows_.rowsOf(parameter)) {
    rows_.invalidateAncestors(*row);
    refreshRow(*row);
    refreshAncestors(*row);
  }
}

void TreeModel::refreshAll() {
  auto refreshChildren = [this](const app::TreeRow& parent) {
    if (parent.childCount() == 0) return;
    emit dataChanged(indexOf(parent.child(0), 0),
                     indexOf(parent.child(parent.childCount() - 1), app::kColumnCount - 1));
  };
  rows_.invalidateAll();
  refreshChildren(rows_.top());
  rows_.forEachBuilt([&](app::TreeRow& row) { refreshChildren(row); });
  emit allRefreshed();
}

QModelIndex TreeModel::reveal(const model::DescBranch* branch, const model::Parameter* parameter) {
  app::TreeRow* top = rows_.top().child(0);
  if (top == nullptr || top->kind() != app::TreeRow::Kind::Branch || branch == nullptr) return {};
  const std::vector<const model::DescBranch*> path = app::branchPath(*top->branch(), branch);
  if (path.empty()) return {};
  app::TreeRow* row = top;
  for (size_t step = 1; step < path.size(); ++step) {
    fetchMore(indexOf(row));
    app::TreeRow* next = nullptr;
    for (size_t i = 0; i < row->childCount(); ++i) {
      if (row->child(i)->branch() == path[step]) {
        next = row->child(i);
        break;
      }
    }
    if (next == nullptr) return {};
    row = next;
    // A single-parameter branch stands as its parameter's row.
    if (row->kind() == app::TreeRow::Kind::Parameter) return indexOf(row);
  }
  if (parameter == nullptr) return indexOf(row);
  fetchMore(indexOf(row));
  for (size_t i = 0; i < row->childCount(); ++i) {
    if (row->child(i)->parameter() == parameter) return indexOf(row->child(i));
  }
  return {};
}

}  // namespace zelmot::ui
