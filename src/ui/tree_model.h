#pragma once
// The item model of the tree-list view: adapts app::TreeRows to Qt. Children are fetched
// when a branch is first expanded; a parameter's change refreshes only its rows (and the
// colour of the branches above them); nothing ever resets the whole model after loading.
#include <QAbstractItemModel>
#include <QIcon>
#include <QSet>
#include <functional>

#include "app/tree_rows.h"

namespace zelmot::model {
class DescBranch;
class InvisibleElement;
class Parameter;
}  // namespace zelmot::model

namespace zelmot::ui {

class TreeModel final : public QAbstractItemModel {
  Q_OBJECT

public:
  explicit TreeModel(QObject* parent = nullptr);

  // Shows a tree and the program-side nodes (the only reset the model ever does).
  void load(model::DescBranch* root, const std::vector<model::InvisibleElement*>& nodes,
            const app::ViewOptions& options, model::DescBranch* measurementRoot = nullptr);
  void setOptions(const app::ViewOptions& options);
  const app::ViewOptions& options() const { return options_; }

  app::TreeRow* rowAt(const QModelIndex& index) const;
  QModelIndex indexOf(const app::TreeRow* row, int column = 0) const;
  // Builds the rows down to the parameter (or the branch when `parameter` is null) and
  // returns its index; invalid when it is not in the tree.
  QModelIndex reveal(const model::DescBranch* branch, const model::Parameter* parameter);
  const app::TreeRows& rows() const { return rows_; }

  // A parameter changed: its rows and the colour of their branches are redrawn.
  void refreshParameter(const model::Parameter* parameter);
  // Everything built is redrawn (after a task, a mode change, an opened file).
  void refreshAll();

  // The archive node's box.
  void setArchiveChecked(bool on);
  bool archiveChecked() const { return archiveChecked_; }
  // A poll notification: the row is redrawn; when the archive could not store the reading
  // the row says so (until a reading is stored again).
  void notePolled(const model::Parameter* parameter, bool archiveFailed);

  // QAbstractItemModel
  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  bool hasChildren(const QModelIndex& parent = {}) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Hands the edit to editSubmitted after the editor has closed; the parameter itself is
  // changed by whoever takes the edit.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
  // Queued: the editor is closed before any message about the edit is shown.
  void editSubmitted(quintptr row, int column, const QString& text);
  // Everything built was redrawn (refreshAll): the view fits its columns again.
  void allRefreshed();
  // The box of a polled parameter or of the archive node was ticked or cleared.
  void checkToggled(quintptr row, bool checked);

private:
  app::TreeRow& rowOrTop(const QModelIndex& index) const;
  void refreshRow(const app::TreeRow& row);
  void refreshAncestors(const app::TreeRow& row);

  QVariant measurementData(const app::TreeRow& row, int column, int role) const;

  app::TreeRows rows_;
  app::ViewOptions options_;
  bool archiveChecked_ = false;
  QSet<const model::Parameter*> archiveFailed_;
  QIcon branchIcon_;
  QIcon parameterIcon_;
  QIcon nodeIcon_;
  QIcon subItemIcon_;
};

}  // namespace zelmot::ui
