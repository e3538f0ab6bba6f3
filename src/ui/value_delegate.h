#pragma once
// In-place editors of the tree-list view: a drop-down list for enumerations and for the
// attribute and owner cells (current text preselected), a line edit for everything else.
// The editors come from the parameter's type, never from per-parameter code.
#include <QStyledItemDelegate>

namespace zelmot::ui {

class ValueDelegate final : public QStyledItemDelegate {
  Q_OBJECT

public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  // An editor whose text was not changed commits nothing.
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;
};

}  // namespace zelmot::ui
