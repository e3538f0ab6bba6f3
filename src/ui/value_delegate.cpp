#include "ui/value_delegate.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

#include "app/edit_state.h"
#include "ui/qt_text.h"
#include "ui/tree_model.h"

namespace zelmot::ui {
namespace {

constexpr int kDropDownHeightPx = 100;

const model::Parameter* parameterAt(const QModelIndex& index) {
  const auto* model = qobject_cast<const TreeModel*>(index.model());
  const app::TreeRow* row = model != nullptr ? model->rowAt(index) : nullptr;
  return row != nullptr ? row->parameter() : nullptr;
}

}  // namespace

QWidget* ValueDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
  const model::Parameter* parameter = parameterAt(index);
  if (parameter == nullptr) return QStyledItemDelegate::createEditor(parent, option, index);
  const std::vector<std::string> choices =
      app::editChoices(*parameter, static_cast<app::Column>(index.column()));
  if (choices.empty()) {
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    return edit;
  }
  auto* combo = new QComboBox(parent);
  for (const std::string& choice : choices) combo->addItem(toQt(choice));
  const int rowHeight = std::max(1, combo->fontMetrics().height() + 2);
  combo->setMaxVisibleItems(std::max(3, kDropDownHeightPx / rowHeight));
  return combo;
}

void ValueDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  const QString current = index.data(Qt::EditRole).toString();
  editor->setProperty("zelmotOriginal", current);
  if (auto* combo = qobject_cast<QComboBox*>(editor)) {
    const int found = combo->findText(current);
    combo->setCurrentIndex(found >= 0 ? found : 0);
    return;
  }
  if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
    edit->setText(current);
    edit->selectAll();
  }
}

void ValueDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                 const QModelIndex& index) const {
  QString text;
  if (auto* combo = qobject_cast<QComboBox*>(editor)) {
    text = combo->currentText();
  } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
    text = edit->text();
  } else {
    return;
  }
  if (text == editor->property("zelmotOriginal").toString()) return;
  model->setData(index, text, Qt::EditRole);
}

}  // namespace zelmot::ui
