#include "exchange/problem_navigation.h"

#include <algorithm>
#include <vector>

#include "model/desc_branch.h"
#include "model/parameter.h"

namespace zelmot::exchange {
namespace {

// All branches in tree order (each before its sub-branches).
void listBranches(model::DescBranch& branch, std::vector<model::DescBranch*>& list) {
  list.push_back(&branch);
  for (const auto& child : branch.children()) listBranches(*child, list);
}

// From a selected branch down its first children to the first parameter; null when a
// branch on the way has nothing under it.
TreePlace descendToParameter(model::DescBranch* branch) {
  while (branch != nullptr) {
    if (!branch->parameters().empty()) return {branch, branch->parameters().front()};
    if (branch->children().empty()) return {branch, nullptr};
    branch = branch->children().front().get();
  }
  return {};
}

model::Parameter* problemAmongSiblings(const model::DescBranch& branch,
                                       const model::Parameter* current,
                                       NavigationDirection direction) {
  const auto& parameters = branch.parameters();
  const auto position = std::find(parameters.begin(), parameters.end(), current);
  if (position == parameters.end()) return nullptr;
  if (direction == NavigationDirection::Next) {
    for (auto it = position + 1; it != parameters.end(); ++it) {
      if (isProblemParameter(**it)) return *it;
    }
  } else {
    for (auto it = position; it != parameters.begin();) {
      --it;
      if (isProblemParameter(**it)) return *it;
    }
  }
  return nullptr;
}

model::Parameter* problemInBranch(const model::DescBranch& branch, NavigationDirection direction) {
  const auto& parameters = branch.parameters();
  if (direction == NavigationDirection::Next) {
    for (model::Parameter* parameter : parameters) {
      if (isProblemParameter(*parameter)) return parameter;
    }
  } else {
    for (auto it = parameters.rbegin(); it != parameters.rend(); ++it) {
      if (isProblemParameter(**it)) return *it;
    }
  }
  return nullptr;
}

}  // namespace

bool isProblemParameter(const model::Parameter& parameter) {
  return !parameter.errorText().empty();
}

NavigationResult findProblemParameter(model::DescBranch& root, TreePlace from,
                                      NavigationDirection direction) {
  NavigationResult result;
  if (from.branch == nullptr) from.branch = &root;
  if (from.parameter == nullptr) {
    from = descendToParameter(from.branch);
    if (from.parameter == nullptr) {
      result.message = kNoOtherProblemsText;
      return result;
    }
    if (isProblemParameter(*from.parameter)) return {true, from, {}};
  }
  if (model::Parameter* sibling = problemAmongSiblings(*from.branch, from.parameter, direction)) {
    return {true, {from.branch, sibling}, {}};
  }
  std::vector<model::DescBranch*> branches;
  listBranches(root, branches);
  const auto position = std::find(branches.begin(), branches.end(), from.branch);
  if (position != branches.end()) {
    const auto search = [&](auto first, auto last) -> NavigationResult {
      for (auto it = first; it != last; ++it) {
        if (model::Parameter* found = problemInBranch(**it, direction)) {
          return {true, {*it, found}, {}};
        }
      }
      return {};
    };
    NavigationResult found;
    if (direction == NavigationDirection::Next) {
      found = search(position + 1, branches.end());
    } else {
      found = search(std::make_reverse_iterator(position), branches.rend());
    }
    if (found.found) return found;
  }
  result.message = kNoMoreProblemsText;
  return result;
}

}  // namespace zelmot::exchange
