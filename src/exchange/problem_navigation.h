#pragma once
// Stepping through the problem parameters of the tree (those with an error text), as the
// view's "next / previous problem parameter" commands do. The view maps the result onto its
// items; this is the walk itself.
#include <string>

namespace zelmot::model {
class DescBranch;
class Parameter;
}  // namespace zelmot::model

namespace zelmot::exchange {

enum class NavigationDirection { Next, Previous };

// A place in the tree: a parameter of `branch`, or the branch itself when parameter is null.
struct TreePlace {
  model::DescBranch* branch = nullptr;
  model::Parameter* parameter = nullptr;
};

struct NavigationResult {
  bool found = false;
  TreePlace place;      // when found
  std::string message;  // when not found: the notice the view shows
};

inline constexpr const char* kNoOtherProblemsText = "Нет других проблемных параметров";
inline constexpr const char* kNoMoreProblemsText = "Нет больше проблемных параметров";

bool isProblemParameter(const model::Parameter& parameter);

NavigationResult findProblemParameter(model::DescBranch& root, TreePlace from,
                                      NavigationDirection direction);

}  // namespace zelmot::exchange
