#pragma once
// The protocol as an .xlsx workbook: the same table as the HTML pages, one worksheet per
// day (a day longer than a sheet goes on in "<day>(1)"), the header row frozen, the time
// as a spreadsheet date-time shown "hh:mm:ss", decoded numbers as numbers, error cells
// pink, columns as wide as their longest text.
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "archive/protocol_table.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace zelmot::archive {

// The number a cell text stands for when its column's type is numeric: the digits after
// the point in `decimals` (-1 when the text is no plain number, e.g. a status message).
bool numericCellValue(const std::string& text, double& value, int& decimals);

class XlsxReportWriter {
public:
  // `scratch`: folder for the library's temporary files.
  XlsxReportWriter(const std::filesystem::path& path, std::vector<ExportColumn> columns,
                   const std::filesystem::path& scratch);
  ~XlsxReportWriter();
  XlsxReportWriter(const XlsxReportWriter&) = delete;
  XlsxReportWriter& operator=(const XlsxReportWriter&) = delete;

  // Starts the worksheet of a day.
  void beginDay(const std::string& dayTitle);
  void addRow(const ProtocolRow& row);
  // Writes the file. False with the reason in `error` (a bad path shows only here).
  bool finish(std::string& error);

private:
  enum class Fill { Odd, Even, Error, Header };
  void startSheet(const std::string& name);
  void closeSheet();
  void writeCell(int column, const ProtocolCell& cell, Fill fill, bool numeric);
  lxw_format* format(Fill fill, int decimals);
  void widen(int column, const std::string& text);

  std::filesystem::path target_;
  std::filesystem::path partial_;  // the workbook until it is whole
  lxw_workbook* workbook_ = nullptr;
  lxw_worksheet* sheet_ = nullptr;
  std::string scratch_;
  std::vector<ExportColumn> columns_;
  std::vector<bool> numeric_;
  std::vector<double> widths_;
  std::map<int, lxw_format*> formats_;
  std::string dayTitle_;
  int sheetPart_ = 0;
  unsigned row_ = 0;
};

}  // namespace zelmot::archive
