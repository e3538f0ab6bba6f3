#pragma once
// Finding rows of the tree model in tests: depth first, fetching children on the way.
#include <QModelIndex>
#include <functional>

#include "app/tree_rows.h"
#include "ui/tree_model.h"

namespace zelmot::ui::testing {

// The first row (column 0) for which `match` is true, fetching as it goes; only below
// the device tree's root unless `everywhere`.
inline QModelIndex findRow(TreeModel& model, const std::function<bool(const app::TreeRow&)>& match,
                           QModelIndex parent = {}) {
  if (model.canFetchMore(parent)) model.fetchMore(parent);
  for (int row = 0; row < model.rowCount(parent); ++row) {
    const QModelIndex index = model.index(row, 0, parent);
    const app::TreeRow* shown = model.rowAt(index);
    if (shown != nullptr && match(*shown)) return index;
    const QModelIndex below = findRow(model, match, index);
    if (below.isValid()) return below;
  }
  return {};
}

// Visits every row, fetching all children.
inline void forEachRow(TreeModel& model, const std::function<void(const QModelIndex&)>& visit,
                       QModelIndex parent = {}) {
  if (model.canFetchMore(parent)) model.fetchMore(parent);
  for (int row = 0; row < model.rowCount(parent); ++row) {
    const QModelIndex index = model.index(row, 0, parent);
    visit(index);
    forEachRow(model, visit, index);
  }
}

}  // namespace zelmot::ui::testing
