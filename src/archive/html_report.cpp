#include "archive/html_report.h"

#include <algorithm>
#include <cstdio>

#include "platform/code_page.h"

namespace zelmot::archive {
namespace {

constexpr const char* kHeaderColour = "\"#33cc99\"";
constexpr const char* kOddRowColour = "\"#ccffff\"";
constexpr const char* kEvenRowColour = "\"#ffffcc\"";
constexpr const char* kErrorColour = "\"#ffbfbf\"";
constexpr const char* kEmptyCellText = "&nbsp;";
constexpr size_t kPageBuffer = 1 << 18;

std::string headerCell(int number, const std::string& text) {
  return "<TD bgColor=" + std::string(kHeaderColour) + " " + std::to_string(number) +
         " align=\"center\"><STRONG>" + (text.empty() ? kEmptyCellText : text) +
         "</STRONG></TD>";
}

void appendDataCell(std::string& out, const char* colour, const std::string& text) {
  out += "<TD bgColor=";
  out += colour;
  out += '>';
  if (text.empty()) {
    out += kEmptyCellText;
  } else if (text.find_first_of("&<>") == std::string::npos) {
    out += text;
  } else {
    out += htmlCellText(text);
  }
  out += "</TD>";
}

std::string clockText(int64_t timeStamp, const char* format) {
  const std::tm local = localTimeOfStamp(timeStamp);
  char text[16] = {};
  std::strftime(text, sizeof text, format, &local);
  return text;
}

int hourOf(int64_t timeStamp) { return localTimeOfStamp(timeStamp).tm_hour; }

std::string twoDigits(int value) {
  char text[8] = {};
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

}  // namespace

std::string htmlCellText(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      default: escaped.push_back(c);
    }
  }
  return escaped;
}

std::string htmlPageHead() {
  return "<html><head>\n<title>Протокол измерений</title>\n"
         "<meta http-equiv=Content-Type content=\"text/html; charset=windows-1251\">\n"
         "</head><body>\n"
         "<TABLE cellSpacing=\"0\" cellPadding=\"1\" width=\"100%\" border=\"1\">\n";
}

std::string htmlHeaderRow(const std::vector<ExportColumn>& columns) {
  std::string row = "<TR>\n" + headerCell(0, kTimeHeaderText);
  for (size_t i = 0; i < columns.size(); ++i) {
    std::string text = columns[i].name;
    if (isChannelStateName(text)) text += std::string(" ") + kChannelOrderNote;
    row += headerCell(static_cast<int>(i + 1), text);
  }
  return row + "</TR>\n";
}

std::string htmlDataRow(const ProtocolRow& row, int rowNumber) {
  std::string text;
  appendHtmlDataRow(text, row, rowNumber);
  return text;
}

void appendHtmlDataRow(std::string& text, const ProtocolRow& row, int rowNumber) {
  const char* colour = rowNumber % 2 == 1 ? kOddRowColour : kEvenRowColour;
  text.reserve(text.size() + 32 * (row.cells.size() + 2));
  text += "<TR>\n";
  appendDataCell(text, colour, clockText(row.timeStamp, "%H:%M:%S"));
  for (const ProtocolCell& cell : row.cells) {
    appendDataCell(text, cell.error ? kErrorColour : colour, cell.text);
  }
  text += "</TR>\n";
}

std::string htmlPageFileName(const std::string& dayTitle, size_t page) {
  const std::string suffix = page == 0 ? "" : "(" + std::to_string(page) + ")";
  return dayTitle + suffix + ".html";
}

std::string htmlNavigationLine(const std::string& dayTitle, const std::vector<int>& pageHours,
                               size_t currentPage) {
  std::string line = "<P>Часы:";
  for (size_t page = 0; page < pageHours.size(); ++page) {
    const std::string hour = twoDigits(pageHours[page]);
    if (page == currentPage) {
      line += "&nbsp;<FONT color=\"#006600\"><STRONG>" + hour + "</STRONG></FONT>";
    } else {
      line += "&nbsp;<A href=\"" + htmlPageFileName(dayTitle, page) + "\">" + hour + "</A>";
    }
  }
  return line + "</P>\n";
}

HtmlReportWriter::HtmlReportWriter(std::filesystem::path folder, std::string dayTitle,
                                   std::vector<ExportColumn> columns)
    : folder_(std::move(folder)), dayTitle_(std::move(dayTitle)), columns_(std::move(columns)) {}

HtmlReportWriter::~HtmlReportWriter() {
  if (file_ != nullptr) std::fclose(file_);
}

bool HtmlReportWriter::write(const std::string& utf8) {
  // Most rows are digits and markup only; those need no conversion.
  const bool ascii = std::all_of(utf8.begin(), utf8.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  const std::string converted = ascii ? std::string() : utf8ToCp1251(utf8);
  const std::string& bytes = ascii ? utf8 : converted;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size()) return true;
  failedPath_ = pages_.back();
  return false;
}

bool HtmlReportWriter::startPage(int hour) {
  if (file_ != nullptr && !closePage()) return false;
  const std::filesystem::path path = folder_ / htmlPageFileName(dayTitle_, pages_.size());
  pages_.push_back(path);
  pageHours_.push_back(hour);
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) {
    failedPath_ = path;
    return false;
  }
  std::setvbuf(file_, nullptr, _IOFBF, kPageBuffer);
  pageHour_ = hour;
  rowNumber_ = 0;
  return write(htmlPageHead()) && write(htmlHeaderRow(columns_));
}

bool HtmlReportWriter::closePage() {
  const bool written = write("</TABLE>\n");
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (written && !closed) failedPath_ = pages_.back();
  return written && closed;
}

bool HtmlReportWriter::addRow(const ProtocolRow& row) {
  const int hour = hourOf(row.timeStamp);
  if ((file_ == nullptr || hour != pageHour_) && !startPage(hour)) return false;
  rowText_.clear();  // one buffer for all rows: no allocation per row
  appendHtmlDataRow(rowText_, row, ++rowNumber_);
  return write(rowText_);
}

bool HtmlReportWriter::appendEnding(size_t page) {
  std::FILE* file = std::fopen(pages_[page].c_str(), "ab");
  if (file == nullptr) {
    failedPath_ = pages_[page];
    return false;
  }
  std::string ending;
  if (!pageHours_.empty() && pageHours_[page] >= 0) {
    ending = htmlNavigationLine(dayTitle_, pageHours_, page);
  }
  ending = utf8ToCp1251(ending + "</body>\n</html>");
  const bool written = std::fwrite(ending.data(), 1, ending.size(), file) == ending.size();
  if (std::fclose(file) != 0 || !written) {
    failedPath_ = pages_[page];
    return false;
  }
  return true;
}

bool HtmlReportWriter::finish() {
  if (file_ == nullptr && pages_.empty()) {
    if (!startPage(-1)) return false;  // a day without rows: header only, no hours line
    pageHours_.clear();
  }
  if (file_ != nullptr && !closePage()) return false;
  for (size_t page = 0; page < pages_.size(); ++page) {
    if (!appendEnding(page)) return false;
  }
  return true;
}

}  // namespace zelmot::archive
