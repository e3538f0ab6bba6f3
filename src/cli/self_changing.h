#pragma once
// Parameters that change by themselves in a running device (the clock, the error counter,
// measured values): a compare against a live device lists them but does not count them as
// differences of the configuration.
#include <string>
#include <vector>

namespace zelmot::model {
class DescBranch;
class Parameter;
}  // namespace zelmot::model

namespace zelmot::cli {

bool changesByItself(const model::Parameter& parameter);

struct SelfChangingDifferences {
  std::vector<std::string> names;  // marked as different, in tree order
  bool otherDifferences = false;   // some difference is not one of them
};

// From the marks a compare left in `branch` and its count of differences. Only the first
// differences are marked: when more were found, the unmarked self-changing parameters are
// assumed to be among them, and only what they cannot explain counts.
SelfChangingDifferences selfChangingDifferences(const model::DescBranch& branch,
                                                int differenceCount);

// "Изменяются сами по себе (не считаются отличием): rtC, n.Err"
std::string selfChangingNote(const SelfChangingDifferences& differences);

}  // namespace zelmot::cli
