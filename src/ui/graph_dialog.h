#pragma once
// CGrafDlg: "График коррекции уставки №g" over an app::GraphDialogState already loaded.
// The node table is edited in place (a click on an active X or Y cell); a refused value
// is told and its edit box opens again with the text selected. The caller writes the
// graph when the dialog is accepted.
#include <QDialog>

class QComboBox;
class QSpinBox;
class QTableWidget;

namespace zelmot {
class UserPrompt;
}
namespace zelmot::app {
class GraphDialogState;
}

namespace zelmot::ui {

class GraphPlotWidget;

class CGrafDlg final : public QDialog {
  Q_OBJECT

public:
  CGrafDlg(app::GraphDialogState& state, UserPrompt& prompt, QWidget* parent = nullptr);
  ~CGrafDlg() override;

  GraphPlotWidget* plot() const { return plot_; }
  QTableWidget* table() const { return table_; }
  QComboBox* inputBox() const { return input_; }
  QSpinBox* countBox() const { return count_; }

  // Takes a text typed into a cell, as leaving its edit box does; false when refused.
  bool takeCellEdit(int row, int column, const QString& text);

private:
  class CellDelegate;
  QWidget* buildControls();
  void fillTable();

  app::GraphDialogState& state_;
  UserPrompt& prompt_;
  GraphPlotWidget* plot_ = nullptr;
  QComboBox* input_ = nullptr;
  QSpinBox* count_ = nullptr;
  QTableWidget* table_ = nullptr;
  CellDelegate* delegate_ = nullptr;  // owned by the table
};

}  // namespace zelmot::ui
