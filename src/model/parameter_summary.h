#pragma once
// One line of the parameter list page per distinct parameter name: the first parameter of
// that name met in a walk of the tree, with its range of linear indexes widened by every
// later one.
#include <cstdint>
#include <string>
#include <vector>

namespace zelmot::model {

class DescBranch;

struct ParameterSummary {
  static constexpr int32_t kNoStep = 9999999;

  std::string path;  // branch names below the root joined by " \ "; empty for the root
  std::string name;
  std::string description;
  std::string typeDescription;  // as the page lists it (HTML), of the first occurrence
  int32_t attributeMultiplicity = 0;
  int32_t lowestIndex = 0;
  int32_t step = kNoStep;  // smallest non-zero distance between indexes seen
  int32_t highestIndex = 0;
  int32_t decimals = 0;
  double maximum = 0.0;
  double minimum = 0.0;

  // Takes in another element of the same name.
  void widen(int32_t linearIndex);
};

// The root's own parameters first, then each child branch depth-first; names compared
// without regard to ASCII case. In order of first occurrence.
std::vector<ParameterSummary> collectParameterSummaries(const DescBranch& root);

}  // namespace zelmot::model
