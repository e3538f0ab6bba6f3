#pragma once
// The menu command that shows a past day of the measurement archive in the trend panel.
#include <string>

#include "archive/day_source.h"

namespace zelmot {
class UserPrompt;
}
namespace zelmot::model {
class DescBranch;
}

namespace zelmot::ui {

class TrendPanel;

inline constexpr const char* kTrendNoDaysText = "В архиве нет ни одного дня";

// Reads the day ("06-12-2026.log") into the panel and shows it; a missing day is told
// and false returned.
bool showTrendDay(TrendPanel& panel, const archive::ArchiveFolders& folders,
                  const std::string& dayName, const model::DescBranch& measurementTree,
                  UserPrompt& prompt);

// Asks for one of the archived days, the newest first, and shows it.
void chooseTrendDay(TrendPanel& panel, const archive::ArchiveFolders& folders,
                    const model::DescBranch& measurementTree, UserPrompt& prompt);

}  // namespace zelmot::ui
