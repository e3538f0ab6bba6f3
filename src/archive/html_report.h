#pragma once
// The protocol as HTML pages in windows-1251: one page per clock hour that has rows, named
// "<day>.html", "<day>(1).html", ... in the order the hours appear, each ending with a
// line of links to all pages of the day. The markup is fixed byte for byte because other
// tools read these pages as they are.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/protocol_table.h"

namespace zelmot::archive {

// The pieces of a page, as UTF-8 (converted to windows-1251 when written).
std::string htmlPageHead();
std::string htmlHeaderRow(const std::vector<ExportColumn>& columns);
// `rowNumber` counts the rows of the page from 1 (odd and even rows differ in colour).
std::string htmlDataRow(const ProtocolRow& row, int rowNumber);
void appendHtmlDataRow(std::string& text, const ProtocolRow& row, int rowNumber);
// The file name of a page: page 0 "<day>.html", page n "<day>(n).html".
std::string htmlPageFileName(const std::string& dayTitle, size_t page);
// "<P>Часы:" with one entry per page (the hours, two digits), the current page in green.
std::string htmlNavigationLine(const std::string& dayTitle, const std::vector<int>& pageHours,
                               size_t currentPage);
// Cell text with the characters that would break the markup replaced.
std::string htmlCellText(const std::string& text);

class HtmlReportWriter {
public:
  HtmlReportWriter(std::filesystem::path folder, std::string dayTitle,
                   std::vector<ExportColumn> columns);
  ~HtmlReportWriter();
  HtmlReportWriter(const HtmlReportWriter&) = delete;
  HtmlReportWriter& operator=(const HtmlReportWriter&) = delete;

  // Writes a row, starting a new page when its hour differs from the page's first row.
  // False when a page cannot be created or written (see failedPath).
  bool addRow(const ProtocolRow& row);
  // Closes the last page and writes the navigation line into every page; a day without
  // rows still gets one page with the table header.
  bool finish();

  const std::vector<std::filesystem::path>& pages() const { return pages_; }
  const std::filesystem::path& failedPath() const { return failedPath_; }

private:
  bool startPage(int hour);
  bool closePage();
  bool write(const std::string& utf8);
  bool appendEnding(size_t page);

  std::filesystem::path folder_;
  std::string dayTitle_;
  std::vector<ExportColumn> columns_;
  std::vector<std::filesystem::path> pages_;
  std::vector<int> pageHours_;
  std::filesystem::path failedPath_;
  std::FILE* file_ = nullptr;
  int pageHour_ = -1;
  int rowNumber_ = 0;
  std::string rowText_;
};

}  // namespace zelmot::archive
