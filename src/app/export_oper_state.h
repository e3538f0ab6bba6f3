#pragma once
// What the protocol export dialog holds and decides, without a window: its texts, the
// choices, when an export may start (free space), the request it runs, which controls are
// enabled while it runs, and what the user is told and shown when it ends.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/export_job.h"
#include "platform/user_prompt.h"

namespace zelmot::app {

inline constexpr const char* kExportDialogTitle = "Экспорт протокола измерений";
inline constexpr const char* kExportByPeriodText = "Экспорт по периоду времени";
inline constexpr const char* kExportPeriodPrompt =
    "Укажите за какой период времени хотите просмотреть отчет измерений:";
inline constexpr const char* kExportFromText = "От";
inline constexpr const char* kExportToText = "До";
inline constexpr const char* kExportByFileText = "Экспорт по файлу";
inline constexpr const char* kExportFilePrompt = "Выберите файл данных для экспорта:";
inline constexpr const char* kExportFilterLabel = "Фильтр:";
inline constexpr const char* kExportToBrowserText = "Экспортировать отчет в browser";
inline constexpr const char* kExportToExcelText = "Экспортировать отчет в MS Excel";
inline constexpr const char* kExportOkText = "OK";
inline constexpr const char* kExportCancelText = "Отмена";
inline constexpr const char* kExportCleanupText = "Очистка";
inline constexpr const char* kExportOkTip = "Начать экспорт данных";
inline constexpr const char* kExportCancelTip = "Отменить экспорт данных";
inline constexpr const char* kExportCleanupTip = "Очистка архива данных";
inline constexpr int kExportTipWidth = 250;

// What the user sees when an export has ended; the dialog closes in every case.
struct ExportEnding {
  std::string message;  // shown first when not empty
  std::string caption;
  PromptIcon icon = PromptIcon::Exclamation;
  std::filesystem::path open;  // the report to open with the desktop's program, if any
};

class ExportOperState {
public:
  // `home`: the program home; `dayNames`: the day list; `today` starts both dates.
  ExportOperState(std::filesystem::path home, std::vector<std::string> dayNames,
                  archive::DayDate today);

  archive::ExportMode mode = archive::ExportMode::Period;
  archive::DayDate from;
  archive::DayDate to;
  int dayIndex = 0;  // in dayNames()
  int filter = 0;
  archive::ExportTarget target = archive::ExportTarget::Html;

  const std::vector<std::string>& dayNames() const { return dayNames_; }
  const archive::ArchiveFolders& folders() const { return folders_; }

  // OK can be pressed: not running, and by file only with a file to choose.
  bool canStart() const;
  // Starts when `availableBytes` on the home's file system are enough; otherwise `refusal`
  // holds the message and nothing else happens.
  bool start(uintmax_t availableBytes, ExportEnding& refusal);
  // The request of the running export (valid after start).
  const archive::ExportRequest& request() const { return request_; }

  bool running() const { return running_; }
  bool choicesEnabled() const { return !running_; }
  bool cancelEnabled() const { return !cancelRequested_; }
  // "Отмена": true when it stops a running export (signal the job), false when it closes.
  bool cancel();

  // The export has ended: what to show and open.
  ExportEnding finish(const archive::ExportResult& result);

private:
  archive::ArchiveFolders folders_;
  std::vector<std::string> dayNames_;
  archive::ExportRequest request_;
  bool running_ = false;
  bool cancelRequested_ = false;
};

}  // namespace zelmot::app
