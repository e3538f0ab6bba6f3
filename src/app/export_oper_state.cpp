#include "app/export_oper_state.h"

#include "archive/export_space.h"

namespace zelmot::app {
namespace {

std::string workbookName(const archive::ExportRequest& request) {
  if (request.mode == archive::ExportMode::File) {
    return archive::titleOfDayName(request.dayName) + ".xlsx";
  }
  if (request.from == request.to) return archive::dayTitle(request.from) + ".xlsx";
  return archive::dayTitle(request.from) + "_" + archive::dayTitle(request.to) + ".xlsx";
}

}  // namespace

ExportOperState::ExportOperState(std::filesystem::path home, std::vector<std::string> dayNames,
                                 archive::DayDate today)
    : from(today), to(today), folders_(archive::archiveFoldersIn(home)),
      dayNames_(std::move(dayNames)) {}

bool ExportOperState::canStart() const {
  if (running_) return false;
  return mode == archive::ExportMode::Period ||
         (dayIndex >= 0 && static_cast<size_t>(dayIndex) < dayNames_.size());
}

bool ExportOperState::start(uintmax_t availableBytes, ExportEnding& refusal) {
  if (!canStart()) return false;
  if (!archive::enoughSpaceForExport(availableBytes)) {
    refusal = ExportEnding{archive::kNoSpaceText, archive::kNoSpaceCaption, PromptIcon::Stop, {}};
    return false;
  }
  request_ = archive::ExportRequest{};
  request_.mode = mode;
  request_.from = from;
  request_.to = to;
  if (mode == archive::ExportMode::File) request_.dayName = dayNames_[static_cast<size_t>(dayIndex)];
  request_.filter = filter;
  request_.target = target;
  if (target == archive::ExportTarget::Html) {
    request_.output = folders_.scratch;
    request_.clearOldPages = true;
  } else {
    request_.output = folders_.scratch / workbookName(request_);
  }
  running_ = true;
  cancelRequested_ = false;
  return true;
}

bool ExportOperState::cancel() {
  if (!running_) return false;
  cancelRequested_ = true;
  return true;
}

ExportEnding ExportOperState::finish(const archive::ExportResult& result) {
  running_ = false;
  ExportEnding ending;
  ending.message = result.message;
  ending.caption = result.caption;
  ending.icon = PromptIcon::Exclamation;
  if (result.status == archive::ExportStatus::Done && !result.reports.empty()) {
    ending.open = result.reports.front();
  }
  return ending;
}

}  // namespace zelmot::app
