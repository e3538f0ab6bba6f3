#include "app/problem_search.h"

#include "app/tree_rows.h"
#include "model/desc_branch.h"

namespace zelmot::app {

exchange::TreePlace searchStartAt(model::DescBranch& root, const TreeRow* row) {
  if (row != nullptr && row->kind() == TreeRow::Kind::SubItem) row = row->parent();
  if (row != nullptr && row->kind() == TreeRow::Kind::Branch) return {row->branch(), nullptr};
  if (row != nullptr && row->kind() == TreeRow::Kind::Parameter) {
    model::DescBranch* owner = row->branch();
    if (owner == nullptr && row->parent() != nullptr) owner = row->parent()->owningBranch();
    if (owner != nullptr) return {owner, row->parameter()};
  }
  return {&root, nullptr};
}

const model::DescBranch* owningBranchOf(const model::DescBranch& branch,
                                        const model::Parameter* parameter) {
  for (const model::Parameter* own : branch.parameters()) {
    if (own == parameter) return &branch;
  }
  for (const auto& child : branch.children()) {
    if (const model::DescBranch* found = owningBranchOf(*child, parameter)) return found;
  }
  return nullptr;
}

}  // namespace zelmot::app
