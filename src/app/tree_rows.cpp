#include "app/tree_rows.h"

#include <algorithm>
#include <iterator>
#include <unordered_set>

#include "model/desc_branch.h"
#include "model/invisible_element.h"
#include "platform/ascii_text.h"

namespace zelmot::app {
namespace {

bool isDiscreteInputMask(const model::Parameter* parameter) {
  return parameter != nullptr &&
         equalsIgnoreCase(parameter->name(), model::kDiscreteInputMaskName);
}

// A child branch with exactly one parameter, no branches and no scheme links is shown
// as that parameter (the tree's presentation rule).
bool isSingleParameterBranch(const model::DescBranch& branch) {
  return branch.parameters().size() == 1 && branch.children().empty() &&
         branch.connectors().empty();
}

int subItemCount(const ViewOptions& options) {
  return std::clamp(options.discreteInputCount, 0,
                    static_cast<int>(std::size(model::kDiscreteInputTexts)));
}

std::string branchLabel(model::DescBranch& branch, const ViewOptions& options) {
  std::string label = branch.name();
  if (options.showLinearIndexes) {
    const int32_t index = branch.GetLinearIndex(nullptr).index;
    if (index >= 0) label += " (" + std::to_string(index) + ")";
  }
  return label;
}

std::string parameterText(const model::Parameter& parameter, Column column,
                          const ViewOptions& options) {
  switch (column) {
    case Column::Name:
      // A polled parameter shows (and takes) its poll period here.
      if (parameter.hasPollTimer()) return std::to_string(parameter.pollPeriod());
      return parameter.displayName(options.showLinearIndexes);
    case Column::Value: return parameter.valueText();
    case Column::EditAttribute: return parameter.editAttributeText();
    case Column::Owner: return parameter.ownerAttributeText();
    case Column::Errors: return parameter.errorText();
    case Column::Description: break;
  }
  return {};
}

}  // namespace

bool TreeRow::mayHaveChildren(const ViewOptions& options) const {
  if (childrenBuilt_) return !children_.empty();
  switch (kind_) {
    case Kind::Branch:
      return branch_ != nullptr && (!branch_->parameters().empty() || !branch_->children().empty());
    case Kind::Node: return node_ != nullptr && !node_->parameters().empty();
    case Kind::Parameter: return isDiscreteInputMask(parameter_) && subItemCount(options) > 0;
    case Kind::SubItem: return false;
  }
  return false;
}

model::DescBranch* TreeRow::owningBranch() const {
  for (const TreeRow* row = this; row != nullptr; row = row->parent_) {
    if (row->branch_ != nullptr) return row->branch_;
  }
  return nullptr;
}

std::string TreeRow::text(Column column, const ViewOptions& options) const {
  switch (kind_) {
    case Kind::Branch:
      return column == Column::Description && branch_ != nullptr ? branchLabel(*branch_, options)
                                                                 : std::string();
    case Kind::Parameter:
      if (column == Column::Description) return label_;
      return parameter_ != nullptr ? parameterText(*parameter_, column, options) : std::string();
    case Kind::SubItem:
    case Kind::Node:
      return column == Column::Description ? label_ : std::string();
  }
  return {};
}

model::Rgb TreeRow::colour() const {
  switch (kind_) {
    case Kind::Parameter: return parameter_ != nullptr ? parameter_->rowColour() : model::kPlainColour;
    case Kind::SubItem: return model::kPlainColour;
    case Kind::Branch:
    case Kind::Node: break;
  }
  if (!colourKnown_) {
    const model::ObjectWithParameters* object =
        kind_ == Kind::Branch ? static_cast<const model::ObjectWithParameters*>(branch_) : node_;
    colour_ = object != nullptr && object->HasProblems(false) ? model::kErrorColour
                                                              : model::kPlainColour;
    colourKnown_ = true;
  }
  return colour_;
}

void TreeRows::invalidateAncestors(const TreeRow& row) {
  for (const TreeRow* up = row.parent(); up != nullptr; up = up->parent()) up->invalidateColour();
}

void TreeRows::invalidateAll() {
  forEachBuilt([](TreeRow& row) { row.invalidateColour(); });
}

namespace {

bool findPath(const model::DescBranch& branch, const model::DescBranch* target,
              std::vector<const model::DescBranch*>& path) {
  path.push_back(&branch);
  if (&branch == target) return true;
  for (const auto& child : branch.children()) {
    if (findPath(*child, target, path)) return true;
  }
  path.pop_back();
  return false;
}

void collectParameters(const model::DescBranch& branch,
                       std::unordered_set<const model::Parameter*>& shown) {
  for (const model::Parameter* parameter : branch.parameters()) shown.insert(parameter);
  for (const auto& child : branch.children()) collectParameters(*child, shown);
}

// A program-side node whose parameters the device tree shows already (the device's network
// settings have a branch of their own there) would show them twice.
bool shownInTree(const model::InvisibleElement& node,
                 const std::unordered_set<const model::Parameter*>& shown) {
  const auto& parameters = node.parameters();
  return !parameters.empty() &&
         std::all_of(parameters.begin(), parameters.end(),
                     [&](const model::Parameter* p) { return shown.count(p) != 0; });
}

}  // namespace

std::vector<const model::DescBranch*> branchPath(const model::DescBranch& root,
                                                 const model::DescBranch* target) {
  std::vector<const model::DescBranch*> path;
  if (target == nullptr || !findPath(root, target, path)) path.clear();
  return path;
}

TreeRows::TreeRows() { top_.childrenBuilt_ = true; }
TreeRows::~TreeRows() = default;

void TreeRows::reset(model::DescBranch* root, const std::vector<model::InvisibleElement*>& nodes,
                     model::DescBranch* measurementRoot) {
  top_.children_.clear();
  byParameter_.clear();
  byBranch_.clear();
  RowList rows;
  std::unordered_set<const model::Parameter*> shown;
  if (root != nullptr) collectParameters(*root, shown);
  if (root != nullptr) {
    auto row = std::make_unique<TreeRow>();
    row->kind_ = TreeRow::Kind::Branch;
    row->branch_ = root;
    rows.push_back(std::move(row));
  }
  if (measurementRoot != nullptr) {
    auto row = std::make_unique<TreeRow>();
    row->kind_ = TreeRow::Kind::Branch;
    row->branch_ = measurementRoot;
    rows.push_back(std::move(row));
  }
  for (model::InvisibleElement* node : nodes) {
    if (node == nullptr || shownInTree(*node, shown)) continue;
    auto row = std::make_unique<TreeRow>();
    row->kind_ = TreeRow::Kind::Node;
    row->node_ = node;
    row->label_ = node->caption();
    rows.push_back(std::move(row));
  }
  attachChildren(top_, std::move(rows));
}

TreeRows::RowList TreeRows::makeChildren(const TreeRow& row, const ViewOptions& options) const {
  RowList children;
  auto add = [&](TreeRow::Kind kind, std::string label) -> TreeRow& {
    auto child = std::make_unique<TreeRow>();
    child->kind_ = kind;
    child->label_ = std::move(label);
    children.push_back(std::move(child));
    return *children.back();
  };
  switch (row.kind_) {
    case TreeRow::Kind::Branch: {
      if (row.branch_ == nullptr) break;
      for (model::Parameter* parameter : row.branch_->parameters()) {
        add(TreeRow::Kind::Parameter, parameter->GetDescription()).parameter_ = parameter;
      }
      for (const auto& child : row.branch_->children()) {
        if (isSingleParameterBranch(*child)) {
          // Shown as its parameter, labelled with the branch's name.
          TreeRow& shown = add(TreeRow::Kind::Parameter, child->name());
          shown.parameter_ = child->parameters().front();
          shown.branch_ = child.get();
        } else {
          add(TreeRow::Kind::Branch, {}).branch_ = child.get();
        }
      }
      break;
    }
    case TreeRow::Kind::Node:
      if (row.node_ == nullptr) break;
      for (model::Parameter* parameter : row.node_->parameters()) {
        add(TreeRow::Kind::Parameter, parameter->GetDescription()).parameter_ = parameter;
      }
      break;
    case TreeRow::Kind::Parameter:
      if (!isDiscreteInputMask(row.parameter_)) break;
      for (int i = 0; i < subItemCount(options); ++i) {
        add(TreeRow::Kind::SubItem, model::kDiscreteInputTexts[i]);
      }
      break;
    case TreeRow::Kind::SubItem: break;
  }
  return children;
}

void TreeRows::attachChildren(TreeRow& row, RowList children) {
  row.children_ = std::move(children);
  row.childrenBuilt_ = true;
  int number = 0;
  for (auto& child : row.children_) {
    child->parent_ = &row == &top_ ? nullptr : &row;
    child->rowInParent_ = number++;
    index(*child);
  }
}

size_t TreeRows::ensureChildren(TreeRow& row, const ViewOptions& options) {
  if (!row.childrenBuilt_) attachChildren(row, makeChildren(row, options));
  return row.children_.size();
}

void TreeRows::index(TreeRow& row) {
  if (row.parameter_ != nullptr) byParameter_[row.parameter_].push_back(&row);
  if (row.kind_ == TreeRow::Kind::Branch && row.branch_ != nullptr) {
    byBranch_.emplace(row.branch_, &row);
  }
}

const std::vector<TreeRow*>& TreeRows::rowsOf(const model::Parameter* parameter) const {
  static const std::vector<TreeRow*> kNone;
  const auto found = byParameter_.find(parameter);
  return found == byParameter_.end() ? kNone : found->second;
}

TreeRow* TreeRows::rowOf(const model::DescBranch* branch) const {
  const auto found = byBranch_.find(branch);
  return found == byBranch_.end() ? nullptr : found->second;
}

}  // namespace zelmot::app
