#include "app/graph_dialog_state.h"

#include <cstdlib>

#include "app/edit_state.h"
#include "app/parameter_device.h"
#include "exchange/exchange_texts.h"
#include "exchange/single_point_poll.h"
#include "model/desc_branch.h"
#include "model/enumeration_codec.h"
#include "model/parameter.h"
#include "model/text_util.h"

namespace zelmot::app {
namespace {

using model::formatText;

constexpr const char* kInputName = "in.Gr";
constexpr const char* kCountName = "Node";
constexpr const char* kXName = "absc";
constexpr const char* kYName = "ordn";

std::string withBlanks(std::string text) {
  for (char& c : text) {
    if (c == '_') c = ' ';
  }
  return text;
}

// The deepest branch that holds all nodes of the graph whose first X is `first`.
model::DescBranch* graphBranch(model::DescBranch* branch, int32_t first) {
  for (const auto& child : branch->children()) {
    if (child->FindParameter(kXName, first) != nullptr &&
        child->FindParameter(kXName, first + kGraphRows - 1) != nullptr) {
      return graphBranch(child.get(), first);
    }
  }
  return branch;
}

bool typedAsNumber(const model::Parameter& parameter) {
  const model::ValueKind kind = parameter.valueKind();
  return kind == model::ValueKind::StoredDot || kind == model::ValueKind::DecDot ||
         kind == model::ValueKind::ClockDuration;
}

bool hasValue(const std::string& value) { return value != model::kNoDataText; }

// Reads `parameter` unless the device is absent; the value text either way.
std::string readValue(model::Parameter& parameter, ParameterDevice& device) {
  if (!device.absent()) device.read(parameter);
  return parameter.valueText();
}

std::string failureLine(const model::Parameter& parameter) {
  return parameter.displayName(true) + ": " + parameter.errorText();
}

// Writes unless the device is absent; a failure adds its line to `outcome`.
void writeValue(model::Parameter& parameter, ParameterDevice& device, GraphWriteOutcome& outcome) {
  if (device.absent()) return;
  if (device.write(parameter) != 0) outcome.errors.push_back(failureLine(parameter));
}

}  // namespace

GraphDialogState::GraphDialogState(int graph, model::DescBranch* root) : graph_(graph) {
  for (const std::string& item : model::enumerationItems(kGraphInputDescriptor)) {
    inputs_.push_back(withBlanks(item));
  }
  for (int row = 0; row < kGraphRows; ++row) {
    xValues_[static_cast<size_t>(row)] = model::kNoDataText;
    yValues_[static_cast<size_t>(row)] = model::kNoDataText;
  }
  if (graph != 1 && graph != 2) {
    unavailable_ = formatText("Нет графика №%i", graph);
    return;
  }
  if (root == nullptr) {
    unavailable_ = "Дерево параметров не загружено";
    return;
  }
  findParameters(root);
}

GraphDialogState::~GraphDialogState() = default;

void GraphDialogState::findParameters(model::DescBranch* root) {
  const int32_t first = kGraphRows * (graph_ - 1);
  input_ = root->FindParameter(kInputName, graph_ - 1);
  if (input_ == nullptr) {
    privateInput_ = std::make_unique<model::Parameter>();
    privateInput_->setName(kInputName);
    privateInput_->setTypeDescriptor(kGraphInputDescriptor);
    privateInput_->setHasLinearIndex(true);
    privateInput_->setLinearIndex(graph_ - 1);
    privateInput_->setRequestIndex(graph_ - 1);
    input_ = privateInput_.get();
  }
  node_ = root->FindParameter(kCountName, first);
  std::string missing = node_ == nullptr ? formatText("%s:%i", kCountName, first) : "";
  for (int row = 0; row < kGraphRows; ++row) {
    x_[static_cast<size_t>(row)] = root->FindParameter(kXName, first + row);
    y_[static_cast<size_t>(row)] = root->FindParameter(kYName, first + row);
    if (missing.empty() && x_[static_cast<size_t>(row)] == nullptr) {
      missing = formatText("%s:%i", kXName, first + row);
    }
    if (missing.empty() && y_[static_cast<size_t>(row)] == nullptr) {
      missing = formatText("%s:%i", kYName, first + row);
    }
  }
  if (!missing.empty()) {
    unavailable_ = "В дереве параметров нет параметра " + missing;
    return;
  }
  branch_ = graphBranch(root, first);
  for (int row = 0; row < kGraphRows; ++row) {
    xValues_[static_cast<size_t>(row)] = x_[static_cast<size_t>(row)]->valueText();
    yValues_[static_cast<size_t>(row)] = y_[static_cast<size_t>(row)]->valueText();
  }
  inputChoice_ = chosenInputFromValue();
}

std::string GraphDialogState::caption() const { return formatText(kGraphCaptionFormat, graph_); }

int GraphDialogState::chosenInputFromValue() const {
  if (!input_->errorText().empty()) return 0;
  const std::string value = input_->valueText();
  for (size_t i = 0; i < inputs_.size(); ++i) {
    if (inputs_[i] == value) return static_cast<int>(i);
  }
  return 0;
}

void GraphDialogState::load(ParameterDevice& device) {
  if (!unavailable_.empty()) return;
  readValue(*input_, device);
  inputChoice_ = chosenInputFromValue();
  // With the device absent the document's nodes are kept as they are (shown, but
  // greyed) rather than wiped, so that "Отмена" really leaves them as they were.
  const std::string count = device.absent() ? "0" : readValue(*node_, device);
  setNodeCount(std::atoi(count.c_str()));
  for (int row = 0; row < kGraphRows && !device.absent(); ++row) {
    const auto at = static_cast<size_t>(row);
    x_[at]->setRawValueText(model::kNoDataText);
    y_[at]->setRawValueText(model::kNoDataText);
    xValues_[at] = readValue(*x_[at], device);
    yValues_[at] = readValue(*y_[at], device);
  }
}

void GraphDialogState::setInputChoice(int choice) {
  if (choice >= 0 && choice < static_cast<int>(inputs_.size())) inputChoice_ = choice;
}

void GraphDialogState::setNodeCount(int count) {
  nodeCount_ = count < 0 ? 0 : (count > kGraphMaxNodes ? kGraphMaxNodes : count);
}

model::Parameter& GraphDialogState::cellParameter(int row, GraphColumn column) const {
  const auto at = static_cast<size_t>(row);
  return column == GraphColumn::X ? *x_[at] : *y_[at];
}

std::string& GraphDialogState::cellValue(int row, GraphColumn column) {
  const auto at = static_cast<size_t>(row);
  return column == GraphColumn::X ? xValues_[at] : yValues_[at];
}

const std::string& GraphDialogState::cellValue(int row, GraphColumn column) const {
  const auto at = static_cast<size_t>(row);
  return column == GraphColumn::X ? xValues_[at] : yValues_[at];
}

std::string GraphDialogState::cellText(int row, GraphColumn column) const {
  if (row < 0 || row >= kGraphRows) return {};
  if (column == GraphColumn::Number) return formatText("%i.", row + 1);
  const std::string& value = cellValue(row, column);
  return hasValue(value) ? value : kGraphNoValueCell;
}

bool GraphDialogState::cellEditable(int row, GraphColumn column) const {
  if (!unavailable_.empty() || row < 0 || row >= kGraphRows || greyed(row)) return false;
  if (column == GraphColumn::Number) return false;
  return typedAsNumber(cellParameter(row, column));
}

bool GraphDialogState::duplicateX(int row, const std::string& value) const {
  const auto x = static_cast<float>(std::strtod(value.c_str(), nullptr));
  for (int other = 0; other < kGraphRows; ++other) {
    const std::string& otherValue = xValues_[static_cast<size_t>(other)];
    if (other == row || greyed(other) || !hasValue(otherValue)) continue;
    if (static_cast<float>(std::strtod(otherValue.c_str(), nullptr)) == x) return true;
  }
  return false;
}

GraphCellEdit GraphDialogState::editCell(int row, GraphColumn column, const std::string& text) {
  GraphCellEdit edit;
  if (!cellEditable(row, column) || text == kGraphNoValueCell) return edit;
  // A text that is no value of the parameter (or lies outside its limits) would be
  // written as something else; it is refused as the tree refuses it.
  model::Parameter probe;
  exchange::describeTemporary(cellParameter(row, column), probe);
  probe.setContext(nullptr);
  if (probe.SetValueText(text) != 1) {
    edit.verdict = GraphCellEdit::Verdict::Refused;
    edit.message = valueRefusalMessage(probe, text);
    edit.caption = kValueRefusedCaption;
    return edit;
  }
  const std::string value = probe.valueText();
  if (column == GraphColumn::X && duplicateX(row, value)) {
    edit.verdict = GraphCellEdit::Verdict::Refused;
    edit.message = kDuplicateXWarning;
    edit.caption = exchange::kWarningCaption;
    return edit;
  }
  cellValue(row, column) = value;
  edit.verdict = GraphCellEdit::Verdict::Stored;
  return edit;
}

std::vector<PlotPoint> GraphDialogState::points() const {
  std::vector<PlotPoint> points;
  for (int row = 0; row < nodeCount_; ++row) {
    const auto at = static_cast<size_t>(row);
    if (!hasValue(xValues_[at]) || !hasValue(yValues_[at])) continue;
    points.push_back({std::strtod(xValues_[at].c_str(), nullptr),
                      std::strtod(yValues_[at].c_str(), nullptr)});
  }
  return points;
}

GraphWriteOutcome GraphDialogState::write(ParameterDevice& device) {
  GraphWriteOutcome outcome;
  if (!unavailable_.empty()) return outcome;
  node_->setRawValueText("0");
  writeValue(*node_, device, outcome);
  input_->setRawValueText(inputs_[static_cast<size_t>(inputChoice_)]);
  writeValue(*input_, device, outcome);
  const std::vector<PlotPoint> nodes = points();
  for (size_t k = 0; k < nodes.size(); ++k) {
    x_[k]->setRawValueText(formatText("%.3f", nodes[k].x));
    y_[k]->setRawValueText(formatText("%.3f", nodes[k].y));
    x_[k]->setValueChanged(true);
    y_[k]->setValueChanged(true);
  }
  outcome.modified = true;
  if (!device.absent() && device.writeChanged(*branch_) > 0) {
    const size_t before = outcome.errors.size();
    for (size_t k = 0; k < nodes.size(); ++k) {
      for (model::Parameter* parameter : {x_[k], y_[k]}) {
        if (!parameter->errorText().empty()) outcome.errors.push_back(failureLine(*parameter));
      }
    }
    // A branch write that never ran leaves no error text behind; it still failed.
    if (outcome.errors.size() == before) {
      outcome.errors.push_back(formatText(kNodesNotWrittenFormat, graph_));
    }
  }
  node_->setRawValueText(std::to_string(nodeCount_));
  writeValue(*node_, device, outcome);
  return outcome;
}

}  // namespace zelmot::app
