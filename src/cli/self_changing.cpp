#include "cli/self_changing.h"

#include "exchange/compare_texts.h"
#include "exchange/exchange_texts.h"
#include "exchange/tree_walk.h"
#include "model/parameter.h"
#include "model/service_values.h"
#include "platform/ascii_text.h"

namespace zelmot::cli {

bool changesByItself(const model::Parameter& parameter) {
  const std::string& name = parameter.name();
  return equalsIgnoreCase(name, "rtC") || equalsIgnoreCase(name, "n.Err") ||
         model::isMeasuredValueName(name);
}

SelfChangingDifferences selfChangingDifferences(const model::DescBranch& branch,
                                                int differenceCount) {
  SelfChangingDifferences result;
  int unmarked = 0;
  exchange::forEachParameter(branch, [&](model::Parameter& parameter) {
    if (!changesByItself(parameter)) return;
    if (parameter.errorText().rfind(exchange::kMismatchPrefix, 0) == 0) {
      std::string name = parameter.name();
      if (parameter.hasLinearIndex()) name += ":" + std::to_string(parameter.linearIndex());
      result.names.push_back(name);
    } else {
      ++unmarked;
    }
  });
  int unexplained = differenceCount - static_cast<int>(result.names.size());
  if (differenceCount > exchange::kDescribedDifferences) unexplained -= unmarked;
  result.otherDifferences = unexplained > 0;
  return result;
}

std::string selfChangingNote(const SelfChangingDifferences& differences) {
  std::string text = "Изменяются сами по себе (не считаются отличием):";
  for (size_t i = 0; i < differences.names.size(); ++i) {
    text += (i == 0 ? " " : ", ") + differences.names[i];
  }
  return text;
}

}  // namespace zelmot::cli
