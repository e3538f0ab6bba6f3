#pragma once
// One export of the measurement protocol: the days of a period (or one chosen day file)
// read record by record, the filter's columns, and the report as HTML pages or one .xlsx
// workbook. The archive is paused while it runs; cancel is tested before every record.
#include <filesystem>
#include <string>
#include <vector>

#include "archive/archive_pause.h"
#include "archive/day_source.h"
#include "archive/export_columns.h"

namespace zelmot {
class Event;
}

namespace zelmot::archive {

inline constexpr const char* kExportErrorCaption = "Ошибка экспортирования отчета";
inline constexpr const char* kReportOpenText = "Возможно, что отчет уже открыт!";
inline constexpr const char* kDamagedDayText =
    "Файл данных поврежден; записи после места повреждения в отчет не вошли:";

enum class ExportMode { Period, File };
enum class ExportTarget { Html, Xlsx };

struct ExportRequest {
  ExportMode mode = ExportMode::Period;
  DayDate from;
  DayDate to;
  std::string dayName;  // by file: "06-12-2026.log"
  int filter = 0;
  ExportTarget target = ExportTarget::Html;
  std::filesystem::path output;  // HTML: the folder of the pages; .xlsx: the workbook
  bool clearOldPages = false;    // remove every .html page of the folder first
};

// The days an export reads: the period from..to (both included; a "to" before "from"
// means the one day) or the chosen file.
std::vector<std::string> exportDayNames(const ExportRequest& request);

class ExportProgress {
public:
  virtual ~ExportProgress() = default;
  // Percent of the current day file read, and of the whole export.
  virtual void progress(int dayPercent, int totalPercent) = 0;
};

enum class ExportStatus {
  Done,
  Cancelled,     // stopped by the cancel event; what was read is written, nothing opened
  NoDay,         // not one of the days exists
  ReportFailed,  // a page or the workbook could not be written
};

struct ExportResult {
  ExportStatus status = ExportStatus::Done;
  std::string message;  // for the user when not empty
  std::string caption;
  std::vector<std::filesystem::path> reports;  // first page of each day, or the workbook
  std::vector<std::string> damagedDays;        // days whose log ends in damage
};

ExportResult runExport(const ExportRequest& request, const ArchiveFolders& folders,
                       const std::vector<ExportColumn>& allColumns, const Event& cancel,
                       ExportProgress* progress, ArchiveSwitch* archive);

}  // namespace zelmot::archive
