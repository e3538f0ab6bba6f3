#include "archive/xlsx_report.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace zelmot::archive {
namespace {

constexpr unsigned kLastSheetRow = 1048575;
constexpr double kMinimumWidth = 8;
constexpr double kMaximumWidth = 60;
constexpr int kTimeFormat = 100;  // the "decimals" key of the time format

size_t codePoints(const std::string& text) {
  return static_cast<size_t>(std::count_if(
      text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The widest line of a text, in characters.
size_t widestLine(const std::string& text) {
  size_t widest = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    widest = std::max(widest, codePoints(text.substr(start, end - start)));
    start = end + 1;
  }
  return widest;
}

bool numericKind(const ExportColumn& column) {
  if (column.converter == nullptr || isChannelStateName(column.name)) return false;
  const model::ValueKind kind = column.converter->valueKind();
  return kind == model::ValueKind::StoredDot || kind == model::ValueKind::DecDot;
}

lxw_datetime spreadsheetTime(int64_t timeStamp) {
  const std::tm local = localTimeOfStamp(timeStamp);
  return lxw_datetime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                      local.tm_hour,        local.tm_min,     static_cast<double>(local.tm_sec)};
}

}  // namespace

bool numericCellValue(const std::string& text, double& value, int& decimals) {
  const char* start = text.c_str();
  while (*start == ' ') ++start;
  if (*start == '\0') return false;
  char* end = nullptr;
  value = std::strtod(start, &end);
  if (end == start || *end != '\0') return false;
  const char* point = std::strchr(start, '.');
  decimals = point == nullptr ? 0 : static_cast<int>(end - point - 1);
  return true;
}

XlsxReportWriter::XlsxReportWriter(const std::filesystem::path& path,
                                   std::vector<ExportColumn> columns,
                                   const std::filesystem::path& scratch)
    : target_(path),
      partial_(path.parent_path() / ("." + path.filename().string() + ".partial")),
      scratch_(scratch.string()),
      columns_(std::move(columns)) {
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = scratch_.empty() ? nullptr : scratch_.data();
  options.use_zip64 = LXW_TRUE;
  // Written beside the target and renamed over it only when whole: a cancelled or failed
  // export never replaces the user's file.
  workbook_ = workbook_new_opt(partial_.c_str(), &options);
  for (const ExportColumn& column : columns_) numeric_.push_back(numericKind(column));
}

XlsxReportWriter::~XlsxReportWriter() {
  if (workbook_ != nullptr) workbook_close(workbook_);
  std::error_code ignored;
  std::filesystem::remove(partial_, ignored);
}

lxw_format* XlsxReportWriter::format(Fill fill, int decimals) {
  const int key = static_cast<int>(fill) * 1000 + decimals + 1;
  auto found = formats_.find(key);
  if (found != formats_.end()) return found->second;
  static constexpr uint32_t kColours[] = {0xCCFFFF, 0xFFFFCC, 0xFFBFBF, 0x33CC99};
  lxw_format* made = workbook_add_format(workbook_);
  format_set_bg_color(made, kColours[static_cast<int>(fill)]);
  format_set_pattern(made, LXW_PATTERN_SOLID);
  format_set_border(made, LXW_BORDER_THIN);
  if (fill == Fill::Header) {
    format_set_bold(made);
    format_set_text_wrap(made);
    format_set_align(made, LXW_ALIGN_CENTER);
    format_set_align(made, LXW_ALIGN_VERTICAL_CENTER);
  } else if (decimals == kTimeFormat) {
    format_set_num_format(made, "hh:mm:ss");
  } else if (decimals >= 0) {
    format_set_num_format(made, decimals == 0 ? "0" : ("0." + std::string(static_cast<size_t>(std::min(decimals, 12)), '0')).c_str());
  }
  formats_.emplace(key, made);
  return made;
}

void XlsxReportWriter::widen(int column, const std::string& text) {
  double& width = widths_[static_cast<size_t>(column)];
  width = std::max(width, static_cast<double>(widestLine(text)) + 2);
}

void XlsxReportWriter::startSheet(const std::string& name) {
  closeSheet();
  sheet_ = workbook_add_worksheet(workbook_, name.c_str());
  widths_.assign(columns_.size() + 1, kMinimumWidth);
  row_ = 0;
  if (sheet_ == nullptr) return;
  worksheet_freeze_panes(sheet_, 1, 0);
  lxw_format* header = format(Fill::Header, -1);
  worksheet_write_string(sheet_, 0, 0, kTimeHeaderText, header);
  widen(0, "00:00:00");
  for (size_t i = 0; i < columns_.size(); ++i) {
    std::string text = columns_[i].name;
    if (isChannelStateName(text)) text += std::string("\n") + kChannelOrderNote;
    worksheet_write_string(sheet_, 0, static_cast<lxw_col_t>(i + 1), text.c_str(), header);
    widen(static_cast<int>(i + 1), text);
  }
}

void XlsxReportWriter::closeSheet() {
  if (sheet_ == nullptr) return;
  for (size_t i = 0; i < widths_.size(); ++i) {
    const auto column = static_cast<lxw_col_t>(i);
    worksheet_set_column(sheet_, column, column, std::min(widths_[i], kMaximumWidth), nullptr);
  }
  sheet_ = nullptr;
}

void XlsxReportWriter::beginDay(const std::string& dayTitle) {
  if (workbook_ == nullptr) return;
  dayTitle_ = dayTitle;
  sheetPart_ = 0;
  startSheet(dayTitle);
}

void XlsxReportWriter::writeCell(int column, const ProtocolCell& cell, Fill fill, bool numeric) {
  const auto row = static_cast<lxw_row_t>(row_);
  const auto col = static_cast<lxw_col_t>(column);
  double value = 0;
  int decimals = -1;
  if (numeric && !cell.error && numericCellValue(cell.text, value, decimals)) {
    worksheet_write_number(sheet_, row, col, value, format(fill, decimals));
  } else {
    worksheet_write_string(sheet_, row, col, cell.text.c_str(), format(fill, -1));
  }
  widen(column, cell.text);
}

void XlsxReportWriter::addRow(const ProtocolRow& row) {
  if (workbook_ == nullptr) return;
  if (sheet_ == nullptr || row_ == kLastSheetRow) {
    startSheet(dayTitle_ + "(" + std::to_string(++sheetPart_) + ")");
    if (sheet_ == nullptr) return;
  }
  ++row_;
  const Fill fill = row_ % 2 == 1 ? Fill::Odd : Fill::Even;
  lxw_datetime time = spreadsheetTime(row.timeStamp);
  worksheet_write_datetime(sheet_, static_cast<lxw_row_t>(row_), 0, &time,
                           format(fill, kTimeFormat));
  for (size_t i = 0; i < row.cells.size() && i < columns_.size(); ++i) {
    const ProtocolCell& cell = row.cells[i];
    writeCell(static_cast<int>(i + 1), cell, cell.error ? Fill::Error : fill, numeric_[i]);
  }
}

bool XlsxReportWriter::finish(std::string& error) {
  if (workbook_ == nullptr) {
    error = "не удалось создать книгу";
    return false;
  }
  closeSheet();
  const lxw_error result = workbook_close(workbook_);
  workbook_ = nullptr;
  if (result != LXW_NO_ERROR) {
    error = lxw_strerror(result);
    return false;
  }
  std::error_code renamed;
  std::filesystem::rename(partial_, target_, renamed);
  if (!renamed) return true;
  error = renamed.message();
  return false;
}

}  // namespace zelmot::archive
