#pragma once
// The main view: the configuration as a tree with six columns. It follows the selection
// with the current branch, offers the branch context menu and edits cells in place.
#include <QTreeView>
#include <array>

#include "app/tree_rows.h"

namespace zelmot::model {
class DescBranch;
class Parameter;
}  // namespace zelmot::model

namespace zelmot::ui {

class TreeModel;

class CZELMOTTreeListView final : public QTreeView {
  Q_OBJECT

public:
  explicit CZELMOTTreeListView(QWidget* parent = nullptr);

  void setTreeModel(TreeModel* model);
  TreeModel* treeModel() const { return model_; }

  // The branch the branch commands act on: the selected branch, or the branch of the
  // selected parameter; null when nothing in the device tree is selected.
  model::DescBranch* currentBranch() const { return currentBranch_; }
  model::Parameter* currentParameter() const;
  // Expands the way to the row and selects it.
  void selectRow(const QModelIndex& index);
  // Each column as wide as its title and the texts shown (the description at most half
  // the view); the error column, last, takes what is left. The user may resize them later;
  // branches expanded afterwards only widen the columns the user has not sized.
  void fitColumnsToContents();

signals:
  void currentBranchChanged(model::DescBranch* branch);
  void commandRequested(int id);
  // The value cell of the device clock was clicked: its dialog edits it.
  void clockRequested(model::Parameter* clock);

protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
  void followSelection(const QModelIndex& index);
  void fitColumns(bool growOnly);

  TreeModel* model_ = nullptr;
  std::array<bool, app::kColumnCount> userSized_{};  // resized by hand since the last fit
  bool fitting_ = false;
  model::DescBranch* currentBranch_ = nullptr;
};

}  // namespace zelmot::ui
