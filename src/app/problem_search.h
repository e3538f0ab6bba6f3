#pragma once
// The window's side of the search for problem parameters: where a search starts from the
// row selected in the view, and which branch holds a parameter that is to be shown.
#include "exchange/problem_navigation.h"

namespace zelmot::app {

class TreeRow;

// From the top of `root` when no row is given (or a row outside the tree), else from the
// selected branch or parameter; a sub-item searches from its parameter.
exchange::TreePlace searchStartAt(model::DescBranch& root, const TreeRow* row);

// The branch that holds `parameter` as its own, searched below `branch`; null when none.
const model::DescBranch* owningBranchOf(const model::DescBranch& branch,
                                        const model::Parameter* parameter);

}  // namespace zelmot::app
