#include "model/parameter_summary.h"

#include <unordered_map>

#include "model/desc_branch.h"
#include "model/parameter.h"
#include "platform/ascii_text.h"

namespace zelmot::model {

namespace {

using SummaryIndex = std::unordered_map<std::string, size_t>;

ParameterSummary firstSummary(const Parameter& parameter, const std::string& path) {
  ParameterSummary summary;
  summary.path = path;
  summary.name = parameter.name();
  summary.description = parameter.GetDescription();
  summary.typeDescription = parameter.typeDescription();
  summary.attributeMultiplicity = parameter.attributeMultiplicity();
  summary.lowestIndex = summary.highestIndex = parameter.linearIndex();
  summary.decimals = parameter.decimals();
  summary.maximum = parameter.maximum();
  summary.minimum = parameter.minimum();
  return summary;
}

void collect(const DescBranch& branch, const std::string& path,
             std::vector<ParameterSummary>& summaries, SummaryIndex& index) {
  for (const Parameter* parameter : branch.parameters()) {
    const auto [found, added] = index.try_emplace(toLowerAscii(parameter->name()), summaries.size());
    if (added) {
      summaries.push_back(firstSummary(*parameter, path));
    } else {
      summaries[found->second].widen(parameter->linearIndex());
    }
  }
  for (const auto& child : branch.children()) {
    collect(*child, path.empty() ? child->name() : path + " \\ " + child->name(), summaries, index);
  }
}

}  // namespace

void ParameterSummary::widen(int32_t linearIndex) {
  int64_t below = int64_t{linearIndex} - lowestIndex;
  if (below < 0) {
    lowestIndex = linearIndex;
    below = -below;
  }
  int64_t above = int64_t{highestIndex} - linearIndex;
  if (above < 0) {
    highestIndex = linearIndex;
    above = -above;
  }
  for (const int64_t distance : {below, above}) {
    if (distance != 0 && distance < step) step = static_cast<int32_t>(distance);
  }
}

std::vector<ParameterSummary> collectParameterSummaries(const DescBranch& root) {
  std::vector<ParameterSummary> summaries;
  SummaryIndex index;
  collect(root, std::string(), summaries, index);
  return summaries;
}

}  // namespace zelmot::model
