#pragma once
// CBlockPropertieDialog: the subtree of one block in the tree-list form of the main view
// (the same columns and images), the block as the root, expanded when the dialog opens.
// The values are shown, not edited.
#include <QDialog>

namespace zelmot::app {
class BlockPropertiesState;
}

class QTreeView;

namespace zelmot::ui {

class TreeModel;

class CBlockPropertieDialog final : public QDialog {
  Q_OBJECT

public:
  CBlockPropertieDialog(const app::BlockPropertiesState& state, QWidget* parent = nullptr);

  QTreeView* treeView() const { return tree_; }
  TreeModel* treeModel() const { return model_; }

private:
  QTreeView* tree_ = nullptr;
  TreeModel* model_ = nullptr;
};

}  // namespace zelmot::ui
