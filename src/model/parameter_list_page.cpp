#include "model/parameter_list_page.h"

#include <charconv>

#include "link/frame_codec.h"
#include "model/html_text.h"
#include "model/text_util.h"
#include "platform/ascii_text.h"

namespace zelmot::model {

namespace {

constexpr const char* kPageStart =
    "<html>\n<head>\n"
    "<meta HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1251\">\n"
    "\t<title>Список параметров прибора ZELMOT</title>\n"
    "</head>\n\n<body>\n"
    "<h4>Список параметров</h4>\n"
    "<table border=1 style=\"font-size=12px\">\n";

constexpr const char* kHeaderCells[] = {"№", "Имя", "Hash", "Название", "Тип", "Индекс",
                                        "Диапазон значений", "Атрибуты"};

std::string headerRow() {
  std::string row = "<tr>\n";
  for (const char* cell : kHeaderCells) row += std::string("<td><strong><b>") + cell + "</b></strong></td>\n";
  return row + "</tr>\n";
}

std::string sectionRow(const std::string& path) {
  return "<tr><td colspan=8><b>" + escapeListText(path) + "</b></td></tr>\n";
}

// %g: six significant digits, whatever the process's numeric locale.
std::string generalNumber(double value) {
  char text[64];
  const std::to_chars_result written =
      std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6);
  return std::string(text, written.ptr);
}

std::string summaryRow(const ParameterSummary& summary, int number) {
  const std::string cells[] = {
      std::to_string(number),
      escapeHtml(summary.name),
      formatText("%04X", link::name_hash(summary.name)),
      escapeListText(summary.description),
      summary.typeDescription,
      indexRangeText(summary),
      valueRangeText(summary),
      attributesText(summary.attributeMultiplicity),
  };
  std::string row = "<tr>\n";
  for (const std::string& cell : cells) row += "\t<td>" + cell + "\t</td>\n";
  return row + "</tr>\n";
}

}  // namespace

std::string indexRangeText(const ParameterSummary& summary) {
  if (summary.lowestIndex == summary.highestIndex) return "нет индекса";
  const int64_t second = int64_t{summary.lowestIndex} + summary.step;
  std::string text = std::to_string(summary.lowestIndex) + ", " + std::to_string(second);
  if (second < summary.highestIndex) text += " .. " + std::to_string(summary.highestIndex);
  return text;
}

std::string valueRangeText(const ParameterSummary& summary) {
  if (!(summary.maximum > summary.minimum)) return "нет ограничений";
  return generalNumber(summary.minimum) + " .. " + generalNumber(summary.maximum);
}

std::string attributesText(int32_t attributeMultiplicity) {
  if (attributeMultiplicity == 1) return "обычн. атрибуты";
  if (attributeMultiplicity == 0) return "нет атрибутов";
  return "дерево атр-ов обрезано (кратность индекcов " + std::to_string(attributeMultiplicity) + ")";
}

std::string parameterListPage(const std::vector<ParameterSummary>& summaries,
                              const PageFooter& footer) {
  std::string page = kPageStart;
  std::string previousPath = "корень";
  int number = 0;
  for (const ParameterSummary& summary : summaries) {
    if (!equalsIgnoreCase(summary.path, previousPath)) {
      if (!summary.path.empty()) page += sectionRow(summary.path);
      page += headerRow();
      previousPath = summary.path;
    }
    page += summaryRow(summary, ++number);
  }
  page += "</table>\n\n<br>\n";
  page += operativeParametersFragment() + "\n";
  page += "<hr>Список сгенерирован автоматически программой-конфигуратором";
  page += " (Дата и время сборки программы " + footer.buildDateTime + ")\n<br>";
  page += footer.currentDate + "\n";
  page += "</body>\n</html>\n";
  return page;
}

}  // namespace zelmot::model
