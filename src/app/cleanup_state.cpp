#include "app/cleanup_state.h"

#include "archive/archive_cleanup.h"

namespace zelmot::app {

CleanupState::CleanupState(std::filesystem::path protocolDir, const std::tm& today)
    : protocolDir_(std::move(protocolDir)), month_(today.tm_mon + 1), year_(today.tm_year + 1900) {}

void CleanupState::choose(int month, int year) {
  if (month < 1 || month > 12) return;
  month_ = month;
  year_ = year;
}

std::string CleanupState::accept() {
  return archive::deletedCountText(archive::deleteMonthlyFilesUpTo(protocolDir_, month_, year_));
}

}  // namespace zelmot::app
