#include "archive/export_job.h"

#include <memory>
#include <system_error>

#include "archive/day_log_stream.h"
#include "archive/html_report.h"
#include "archive/xlsx_report.h"
#include "platform/ascii_text.h"
#include "platform/event.h"
#include "platform/paths.h"

namespace zelmot::archive {
namespace {

// Where the rows of the days go.
class ReportTarget {
public:
  virtual ~ReportTarget() = default;
  virtual bool beginDay(const std::string& title) = 0;
  virtual bool addRow(const ProtocolRow& row) = 0;
  virtual bool endDay(ExportResult& result) = 0;
  virtual bool finish(ExportResult& result) = 0;
};

void reportFailure(ExportResult& result, std::string message) {
  result.status = ExportStatus::ReportFailed;
  result.message = std::move(message);
  result.caption = kExportErrorCaption;
}

class HtmlTarget final : public ReportTarget {
public:
  HtmlTarget(std::filesystem::path folder, std::vector<ExportColumn> columns)
      : folder_(std::move(folder)), columns_(std::move(columns)) {}
  bool beginDay(const std::string& title) override {
    writer_ = std::make_unique<HtmlReportWriter>(folder_, title, columns_);
    return true;
  }
  bool addRow(const ProtocolRow& row) override { return writer_->addRow(row); }
  bool endDay(ExportResult& result) override {
    if (!writer_->finish()) return false;
    result.reports.push_back(writer_->pages().front());
    return true;
  }
  bool finish(ExportResult&) override { return true; }

private:
  std::filesystem::path folder_;
  std::vector<ExportColumn> columns_;
  std::unique_ptr<HtmlReportWriter> writer_;
};

class XlsxTarget final : public ReportTarget {
public:
  XlsxTarget(std::filesystem::path path, std::vector<ExportColumn> columns,
             const std::filesystem::path& scratch)
      : path_(std::move(path)), writer_(path_, std::move(columns), scratch) {}
  bool beginDay(const std::string& title) override {
    writer_.beginDay(title);
    return true;
  }
  bool addRow(const ProtocolRow& row) override {
    writer_.addRow(row);
    return true;
  }
  bool endDay(ExportResult&) override { return true; }
  bool finish(ExportResult& result) override {
    std::string error;
    if (!writer_.finish(error)) {
      reportFailure(result, path_.string() + "\n" + error);
      return false;
    }
    result.reports.push_back(path_);
    return true;
  }

private:
  std::filesystem::path path_;
  XlsxReportWriter writer_;
};

struct DayRun {
  const Event& cancel;
  ExportProgress* progress;
  size_t dayNumber;
  size_t dayCount;
};

void tellProgress(const DayRun& run, int dayPercent) {
  if (run.progress == nullptr) return;
  const auto total = static_cast<int>((run.dayNumber * 100 + static_cast<size_t>(dayPercent)) /
                                      run.dayCount);
  run.progress->progress(dayPercent, total);
}

// Reads one day into the target. False when the target failed.
bool exportDay(DayLogStream& stream, ProtocolTable& table, ReportTarget& target,
               const DayRun& run, const std::string& dayName, ExportResult& result) {
  LogRecord record;
  ProtocolRow row;
  int shown = -1;
  for (;;) {
    if (run.cancel.isSet()) {
      result.status = ExportStatus::Cancelled;
      break;
    }
    const LogReadStatus status = stream.next(record);
    if (status != LogReadStatus::Record) {
      if (status != LogReadStatus::End) result.damagedDays.push_back(dayName);
      break;
    }
    if (table.add(record, row) && !target.addRow(row)) return false;
    if (stream.percent() != shown) tellProgress(run, shown = stream.percent());
  }
  if (table.finish(row) && !target.addRow(row)) return false;
  tellProgress(run, 100);
  return true;
}

void removeOldPages(const std::filesystem::path& folder) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (equalsIgnoreCase(entry.path().extension().string(), ".html")) {
      std::filesystem::remove(entry.path(), error);
    }
  }
}

std::unique_ptr<ReportTarget> makeTarget(const ExportRequest& request,
                                         const ArchiveFolders& folders,
                                         std::vector<ExportColumn> columns) {
  if (request.target == ExportTarget::Html) {
    return std::make_unique<HtmlTarget>(request.output, std::move(columns));
  }
  return std::make_unique<XlsxTarget>(request.output, std::move(columns), folders.scratch);
}

}  // namespace

std::vector<std::string> exportDayNames(const ExportRequest& request) {
  if (request.mode == ExportMode::File) return {request.dayName};
  std::vector<std::string> names{dailyLogName(request.from)};
  for (DayDate day = request.from; isBefore(day, request.to);) {
    day = nextDay(day);
    names.push_back(dailyLogName(day));
  }
  return names;
}

ExportResult runExport(const ExportRequest& request, const ArchiveFolders& folders,
                       const std::vector<ExportColumn>& allColumns, const Event& cancel,
                       ExportProgress* progress, ArchiveSwitch* archive) {
  const ArchivePause pause(archive);
  ExportResult result;
  ensureDir(folders.scratch);
  const std::filesystem::path pageFolder =
      request.target == ExportTarget::Html ? request.output : request.output.parent_path();
  if (!pageFolder.empty()) ensureDir(pageFolder);
  if (request.target == ExportTarget::Html && request.clearOldPages) removeOldPages(pageFolder);

  const std::vector<ExportColumn> columns = columnsForFilter(allColumns, request.filter);
  const std::unique_ptr<ReportTarget> target = makeTarget(request, folders, columns);
  const std::vector<std::string> days = exportDayNames(request);
  std::filesystem::path firstMissing;
  size_t found = 0;
  for (size_t i = 0; i < days.size() && result.status == ExportStatus::Done; ++i) {
    std::filesystem::path tried;
    const std::optional<DayFile> file = locateDay(folders, days[i], tried);
    DayLogStream stream;
    if (!file || !stream.open(file->path)) {
      if (firstMissing.empty()) firstMissing = tried;
      continue;
    }
    ++found;
    ProtocolTable table(columns);
    target->beginDay(titleOfDayName(days[i]));
    const DayRun run{cancel, progress, i, days.size()};
    const bool written = exportDay(stream, table, *target, run, days[i], result) &&
                         target->endDay(result);
    if (file->unpacked) {
      std::error_code error;
      std::filesystem::remove(file->path, error);
    }
    if (!written) reportFailure(result, kReportOpenText);
  }
  if (result.status == ExportStatus::ReportFailed) return result;
  if (result.status == ExportStatus::Cancelled) {
    // The pages of the temporary folder are completed; a workbook is dropped, so the file
    // the user named keeps what it had.
    if (request.target == ExportTarget::Html) target->finish(result);
    result.reports.clear();  // nothing is opened
    return result;
  }
  if (found == 0) {
    result.status = ExportStatus::NoDay;
    result.message = firstMissing.string();
    result.caption = kExportErrorCaption;
    return result;
  }
  if (!target->finish(result)) return result;
  if (!result.damagedDays.empty() && result.message.empty()) {
    result.message = kDamagedDayText;
    for (const std::string& day : result.damagedDays) result.message += "\n" + day;
    result.caption = kExportErrorCaption;
  }
  return result;
}

}  // namespace zelmot::archive
