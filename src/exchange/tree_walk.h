#pragma once
// Walks over the parameters of a branch and all its sub-branches in tree order: the
// branch's own parameters first, then each child branch in list order.
#include <functional>
#include <vector>

namespace zelmot::model {
class DescBranch;
class Parameter;
}  // namespace zelmot::model

namespace zelmot::exchange {

void forEachParameter(const model::DescBranch& branch,
                      const std::function<void(model::Parameter&)>& visit);

// Parameters with at least one change flag set (what a changed-only write will try).
int countChangedParameters(const model::DescBranch& branch);

// Every parameter whose error text reports a problem, that is not empty and not the
// refusal of a value that was never set; each parameter once, in tree order.
std::vector<model::Parameter*> collectErroneousParameters(const model::DescBranch& branch);

}  // namespace zelmot::exchange
