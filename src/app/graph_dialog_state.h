#pragma once
// "График коррекции уставки №g": one setpoint-correction graph as a node table and a plot.
// Opening reads the graph's input, node count and nodes; the table is edited in place
// (rows at or beyond the node count greyed, no two active rows with the same X); "OK"
// writes in the order the device demands: the node count 0 (X values are taken only
// while the graph has no nodes), the input, the nodes with the graph's branch, then the
// node count. The view shows this state and forwards clicks; reads and writes do device
// I/O and run off the window's thread.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/graph_plot.h"

namespace zelmot::model {
class DescBranch;
class Parameter;
}  // namespace zelmot::model

namespace zelmot::app {

class ParameterDevice;

inline constexpr int kGraphRows = 10;
inline constexpr int kGraphMaxNodes = 10;
inline constexpr const char* kGraphCaptionFormat = "График коррекции уставки №%i";
inline constexpr const char* kGraphInputLabel = "Вход графика:";
inline constexpr const char* kGraphCountLabel = "Число узловых точек графика:";
inline constexpr const char* kGraphNodesLabel = "Узловые точки графика:";
inline constexpr const char* kGraphNoValueCell = "Н/Д";
inline constexpr const char* kNodesNotWrittenFormat = "Узловые точки графика №%i не записаны";
inline constexpr const char* kGraphInputDescriptor =
    "Не подключен:Вычислитель №1:Вычислитель №2:Вычислитель №3:Вычислитель №4:"
    "Вычислитель №5:Вычислитель №6:Вычислитель №7:Вычислитель_№8";
inline constexpr const char* kDuplicateXWarning =
    "Такое значение Х (\"absc\") уже существует. Одинаковые значения этого параметра не "
    "допустимы!";

enum class GraphColumn { Number = 0, X = 1, Y = 2 };

struct GraphCellEdit {
  enum class Verdict { Stored, Unchanged, Refused };
  Verdict verdict = Verdict::Unchanged;
  std::string message;  // why it was refused
  std::string caption;
};

struct GraphWriteOutcome {
  bool modified = false;            // the document changed
  std::vector<std::string> errors;  // "name:index: error text" of every failed write
};

class GraphDialogState {
public:
  // The parameters of graph `graph` (1 or 2) in the tree under `root`; an input parameter
  // the tree lacks is made here and lives as long as this state.
  GraphDialogState(int graph, model::DescBranch* root);
  ~GraphDialogState();

  // Why the dialog cannot work with this tree ("" when it can).
  const std::string& unavailable() const { return unavailable_; }
  int graph() const { return graph_; }
  std::string caption() const;
  bool privateInput() const { return privateInput_ != nullptr; }

  // Opening: reads input, node count and nodes unless the device is absent.
  void load(ParameterDevice& device);

  // The input list (names with blanks) and the chosen entry.
  const std::vector<std::string>& inputs() const { return inputs_; }
  int inputChoice() const { return inputChoice_; }
  void setInputChoice(int choice);

  int nodeCount() const { return nodeCount_; }
  void setNodeCount(int count);  // kept to 0..10
  bool greyed(int row) const { return row >= nodeCount_; }

  // What a cell shows: "1." ... "10." in the number column, "Н/Д" for no data.
  std::string cellText(int row, GraphColumn column) const;
  // The text an edit box over the cell starts with; "" when the cell cannot be edited
  // (greyed row, number column, or a parameter of a type not typed as a number).
  bool cellEditable(int row, GraphColumn column) const;
  GraphCellEdit editCell(int row, GraphColumn column, const std::string& text);

  // The nodes the plot draws and "OK" writes: active rows holding both X and Y.
  std::vector<PlotPoint> points() const;

  // "OK": the writes in the device's order (none while the device is absent).
  GraphWriteOutcome write(ParameterDevice& device);

private:
  void findParameters(model::DescBranch* root);
  model::Parameter& cellParameter(int row, GraphColumn column) const;
  std::string& cellValue(int row, GraphColumn column);
  const std::string& cellValue(int row, GraphColumn column) const;
  bool duplicateX(int row, const std::string& value) const;
  int chosenInputFromValue() const;

  int graph_;
  std::string unavailable_;
  model::Parameter* input_ = nullptr;
  std::unique_ptr<model::Parameter> privateInput_;
  model::Parameter* node_ = nullptr;
  std::array<model::Parameter*, kGraphRows> x_{};
  std::array<model::Parameter*, kGraphRows> y_{};
  model::DescBranch* branch_ = nullptr;  // the graph's branch: its changed values are written
  std::vector<std::string> inputs_;
  int inputChoice_ = 0;
  int nodeCount_ = 0;
  std::array<std::string, kGraphRows> xValues_;  // value texts; "Нет данных" for none
  std::array<std::string, kGraphRows> yValues_;
};

}  // namespace zelmot::app
