#include "exchange/tree_walk.h"

#include <unordered_set>

#include "exchange/exchange_texts.h"
#include "model/desc_branch.h"
#include "model/parameter.h"

namespace zelmot::exchange {

void forEachParameter(const model::DescBranch& branch,
                      const std::function<void(model::Parameter&)>& visit) {
  for (model::Parameter* parameter : branch.parameters()) {
    if (parameter != nullptr) visit(*parameter);
  }
  for (const auto& child : branch.children()) forEachParameter(*child, visit);
}

int countChangedParameters(const model::DescBranch& branch) {
  int count = 0;
  forEachParameter(branch, [&](model::Parameter& parameter) {
    if (parameter.anyChangeFlag()) ++count;
  });
  return count;
}

std::vector<model::Parameter*> collectErroneousParameters(const model::DescBranch& branch) {
  std::vector<model::Parameter*> list;
  std::unordered_set<const model::Parameter*> seen;
  forEachParameter(branch, [&](model::Parameter& parameter) {
    const std::string error = parameter.errorText();
    if (error.empty() || error == kNotInitialisedText) return;
    if (seen.insert(&parameter).second) list.push_back(&parameter);
  });
  return list;
}

}  // namespace zelmot::exchange
