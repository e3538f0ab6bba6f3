#include "ui/graph_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <functional>

#include "app/graph_dialog_state.h"
#include "platform/user_prompt.h"
#include "ui/graph_plot_widget.h"
#include "ui/qt_text.h"

namespace zelmot::ui {
namespace {

constexpr int kRowHeight = 18;

}  // namespace

// Hands a finished edit to the dialog instead of the table; a refused text comes back in
// an edit box that opens again over the same cell, all selected.
class CGrafDlg::CellDelegate final : public QStyledItemDelegate {
public:
  using Take = std::function<bool(int row, int column, const QString& text)>;
  CellDelegate(QAbstractItemView* view, Take take)
      : QStyledItemDelegate(view), view_(view), take_(std::move(take)) {}

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line == nullptr) return;
    line->setText(index == refusedAt_ ? refusedText_ : index.data().toString());
    refusedAt_ = QPersistentModelIndex();
    line->selectAll();
  }

  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!take_ || line == nullptr || line->text() == index.data().toString()) return;
    if (take_(index.row(), index.column(), line->text())) return;
    refusedAt_ = index;
    refusedText_ = line->text();
    QTimer::singleShot(0, view_, [view = view_, at = QPersistentModelIndex(index)] {
      if (at.isValid()) view->edit(at);
    });
  }

  // The dialog goes: an editor closed on the way commits nothing.
  void forget() { take_ = {}; }

private:
  QAbstractItemView* view_;
  Take take_;
  mutable QPersistentModelIndex refusedAt_;
  mutable QString refusedText_;
};

CGrafDlg::CGrafDlg(app::GraphDialogState& state, UserPrompt& prompt, QWidget* parent)
    : QDialog(parent), state_(state), prompt_(prompt) {
  setWindowTitle(toQt(state.caption()));
  auto* layout = new QVBoxLayout(this);
  auto* body = new QHBoxLayout;
  plot_ = new GraphPlotWidget(this);
  body->addWidget(plot_, 1);
  body->addWidget(buildControls());
  layout->addLayout(body, 1);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  fillTable();
}

CGrafDlg::~CGrafDlg() { delegate_->forget(); }

QWidget* CGrafDlg::buildControls() {
  auto* controls = new QWidget(this);
  auto* column = new QVBoxLayout(controls);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(new QLabel(toQt(app::kGraphInputLabel), controls));
  input_ = new QComboBox(controls);
  for (const std::string& name : state_.inputs()) input_->addItem(toQt(name));
  input_->setCurrentIndex(state_.inputChoice());
  connect(input_, &QComboBox::currentIndexChanged, this, [this](int index) { state_.setInputChoice(index); });
  column->addWidget(input_);

  column->addWidget(new QLabel(toQt(app::kGraphCountLabel), controls));
  count_ = new QSpinBox(controls);
  count_->setRange(0, app::kGraphMaxNodes);
  count_->setValue(state_.nodeCount());
  connect(count_, &QSpinBox::valueChanged, this, [this](int count) {
    state_.setNodeCount(count);
    fillTable();
  });
  column->addWidget(count_);

  column->addWidget(new QLabel(toQt(app::kGraphNodesLabel), controls));
  table_ = new QTableWidget(app::kGraphRows, 3, controls);
  table_->setHorizontalHeaderLabels({QStringLiteral("№"), QStringLiteral("X"), QStringLiteral("Y")});
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(kRowHeight);
  table_->setColumnWidth(0, 40);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::AllEditTriggers);
  delegate_ = new CellDelegate(table_, [this](int row, int column, const QString& text) {
    return takeCellEdit(row, column, text);
  });
  table_->setItemDelegate(delegate_);
  const int tableHeight = table_->horizontalHeader()->sizeHint().height() +
                          app::kGraphRows * kRowHeight + 2 * table_->frameWidth();
  table_->setMinimumSize(220, tableHeight);
  column->addWidget(table_, 1);
  return controls;
}

void CGrafDlg::fillTable() {
  const QBrush greyed = palette().brush(QPalette::Disabled, QPalette::Text);
  for (int row = 0; row < app::kGraphRows; ++row) {
    for (int column = 0; column < 3; ++column) {
      const auto cell = static_cast<app::GraphColumn>(column);
      QTableWidgetItem* item = table_->item(row, column);
      if (item == nullptr) {
        item = new QTableWidgetItem;
        table_->setItem(row, column, item);
      }
      item->setText(toQt(state_.cellText(row, cell)));
      Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
      if (state_.cellEditable(row, cell)) flags |= Qt::ItemIsEditable;
      item->setFlags(flags);
      item->setForeground(state_.greyed(row) ? greyed : palette().text());
    }
  }
  plot_->setPoints(state_.points());
}

bool CGrafDlg::takeCellEdit(int row, int column, const QString& text) {
  const app::GraphCellEdit edit =
      state_.editCell(row, static_cast<app::GraphColumn>(column), fromQt(text));
  if (edit.verdict == app::GraphCellEdit::Verdict::Refused) {
    prompt_.tell(edit.message, edit.caption, PromptIcon::Exclamation);
    return false;
  }
  if (edit.verdict == app::GraphCellEdit::Verdict::Stored) fillTable();
  return true;
}

}  // namespace zelmot::ui
