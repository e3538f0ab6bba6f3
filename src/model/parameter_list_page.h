#pragma once
// The parameter list page: every distinct parameter of the main tree with its command code,
// description, type, index range, limits and attributes, grouped under the branch where it
// first occurs, then the list of operative parameters and a footer with the dates.
#include <string>
#include <vector>

#include "model/parameter_summary.h"

namespace zelmot::model {

struct PageFooter {
  std::string buildDateTime;  // "Apr 17 2009 13:49:33"
  std::string currentDate;    // "Tuesday, December 08, 2026", as the user's locale names them
};

// The page as UTF-8 text (its meta line declares windows-1251: convert before writing).
std::string parameterListPage(const std::vector<ParameterSummary>& summaries,
                              const PageFooter& footer);

// The cells of a summary's row as the page shows them.
std::string indexRangeText(const ParameterSummary& summary);
std::string valueRangeText(const ParameterSummary& summary);
std::string attributesText(int32_t attributeMultiplicity);

// The fixed fragment after the table: the operative (measured) parameters.
const std::string& operativeParametersFragment();

}  // namespace zelmot::model
