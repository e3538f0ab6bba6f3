#include "archive/html_report.h"

#include <gtest/gtest.h>

#include "export_fixtures.h"
#include "platform/code_page.h"
#include "support/file_text.h"
#include "support/temp_folder.h"

namespace zelmot::archive {
namespace {

using test::column;
using test::floatReply;
using test::stampAt;

ProtocolRow rowOf(const std::vector<ExportColumn>& columns, const std::vector<LogRecord>& records) {
  ProtocolTable table(columns);
  ProtocolRow row;
  for (const LogRecord& record : records) EXPECT_FALSE(table.add(record, row));
  EXPECT_TRUE(table.finish(row));
  return row;
}

TEST(ProtocolCell, DecodesByTypeAndShowsErrorsAndChannelBits) {
  const ExportColumn input = column("rEAd", 0, "STORED_DOT");
  EXPECT_EQ(protocolCell(input, {0, "rEAd", 0, false, floatReply(12.5F)}).text, "12.500");
  EXPECT_EQ(protocolCell(input, {0, "rEAd", 0, false, {0xFD}}).text, "Обрыв датчика.");

  const ProtocolCell timeout = protocolCell(input, {0, "rEAd", 0, true, {}});
  EXPECT_TRUE(timeout.error);
  EXPECT_EQ(timeout.text, "Таймаут при передаче данных");
  EXPECT_EQ(protocolCell(input, {0, "rEAd", 0, true, {0x27, 0x01}}).text,
            "Неверная контрольная сумма кадра");

  const ExportColumn channels = column("r.Cn", 0, "DEC_dot");
  EXPECT_EQ(protocolCell(channels, {0, "r.Cn", 0, false, {5}}).text, "'000101'");
  EXPECT_EQ(protocolCell(channels, {0, "r.Cn", 0, false, {0x3F}}).text, "'111111'");
  // Only the exact name gets the bits; other spellings stay plain numbers.
  EXPECT_EQ(protocolCell(column("R.CN", 0, "DEC_dot"), {0, "R.CN", 0, false, {5}}).text, "5");
}

TEST(ProtocolTable, RecordsOfOneSecondShareARowAndUnknownOnesAreSkipped) {
  ProtocolTable table(test::sampleColumns());
  ProtocolRow row;
  EXPECT_FALSE(table.add({stampAt(10, 0, 0), "READ", 1, false, floatReply(1)}, row));
  EXPECT_FALSE(table.add({stampAt(10, 0, 0), "rEAd", 7, false, floatReply(2)}, row));  // no column
  EXPECT_FALSE(table.add({stampAt(10, 0, 0), "r.cn", 0, false, {1}}, row));
  EXPECT_FALSE(table.add({stampAt(10, 0, 0), "rEAd", 1, false, floatReply(3)}, row));  // first kept
  ASSERT_TRUE(table.add({stampAt(10, 0, 1), "rEAd", 0, false, floatReply(4)}, row));
  EXPECT_EQ(row.timeStamp, stampAt(10, 0, 0));
  ASSERT_EQ(row.cells.size(), 4u);
  EXPECT_FALSE(row.cells[0].present);
  EXPECT_EQ(row.cells[1].text, "1.000");
  EXPECT_FALSE(row.cells[2].present);
  EXPECT_EQ(row.cells[3].text, "'000001'");
  ASSERT_TRUE(table.finish(row));
  EXPECT_EQ(row.cells[0].text, "4.000");
  EXPECT_FALSE(table.finish(row));
}

// Rows hand their cells back and forth to save allocations: no cell of an earlier row may
// show up in a later one.
TEST(ProtocolTable, ALaterRowKeepsNothingOfAnEarlierOne) {
  ProtocolTable table(test::sampleColumns());
  ProtocolRow row;
  EXPECT_FALSE(table.add({stampAt(10, 0, 0), "rEAd", 1, false, floatReply(1)}, row));
  EXPECT_FALSE(table.add({stampAt(10, 0, 0), "r.Cn", 0, true, {}}, row));
  ASSERT_TRUE(table.add({stampAt(10, 0, 1), "rEAd", 0, false, floatReply(2)}, row));
  EXPECT_EQ(row.cells[1].text, "1.000");
  EXPECT_TRUE(row.cells[3].error);
  ASSERT_TRUE(table.add({stampAt(10, 0, 2), "rEAd", 0, false, floatReply(3)}, row));
  EXPECT_EQ(row.cells[0].text, "2.000");
  ASSERT_TRUE(table.finish(row));
  EXPECT_EQ(row.timeStamp, stampAt(10, 0, 2));
  EXPECT_EQ(row.cells[0].text, "3.000");
  for (size_t i = 1; i < row.cells.size(); ++i) {
    EXPECT_FALSE(row.cells[i].present);
    EXPECT_FALSE(row.cells[i].error);
    EXPECT_EQ(row.cells[i].text, "");
  }
}

TEST(HtmlReport, HeaderAndRowsUseTheFixedMarkup) {
  const std::vector<ExportColumn> columns = {column("rEAd", 0, "STORED_DOT"),
                                             column("r.Cn", 0, "DEC_dot")};
  EXPECT_EQ(htmlHeaderRow(columns),
            "<TR>\n"
            "<TD bgColor=\"#33cc99\" 0 align=\"center\"><STRONG>Время</STRONG></TD>"
            "<TD bgColor=\"#33cc99\" 1 align=\"center\"><STRONG>rEAd</STRONG></TD>"
            "<TD bgColor=\"#33cc99\" 2 align=\"center\"><STRONG>r.Cn (порядок: 6-5-4-3-2-1)"
            "</STRONG></TD></TR>\n");
  const ProtocolRow row =
      rowOf(columns, {{stampAt(9, 5, 7), "rEAd", 0, true, {}}});
  EXPECT_EQ(htmlDataRow(row, 1),
            "<TR>\n<TD bgColor=\"#ccffff\">09:05:07</TD><TD bgColor=\"#ffbfbf\">Таймаут при "
            "передаче данных</TD><TD bgColor=\"#ccffff\">&nbsp;</TD></TR>\n");
  EXPECT_EQ(htmlDataRow(row, 2).substr(0, 35), "<TR>\n<TD bgColor=\"#ffffcc\">09:05:07");
}

TEST(HtmlReport, NavigationLinksEveryPageButItself) {
  EXPECT_EQ(htmlNavigationLine("06-12-2026", {9, 10, 13}, 1),
            "<P>Часы:&nbsp;<A href=\"06-12-2026.html\">09</A>"
            "&nbsp;<FONT color=\"#006600\"><STRONG>10</STRONG></FONT>"
            "&nbsp;<A href=\"06-12-2026(2).html\">13</A></P>\n");
}

TEST(HtmlReport, CellTextCannotBreakTheMarkup) {
  EXPECT_EQ(htmlCellText("a<b>&c"), "a&lt;b&gt;&amp;c");
}

TEST(HtmlReport, OnePagePerHourInWindows1251WithTheHoursLine) {
  test_support::TempFolder folder;
  const std::vector<ExportColumn> columns = {column("rEAd", 0, "STORED_DOT")};
  HtmlReportWriter writer(folder.path(), "06-12-2026", columns);
  for (const auto& [hour, second] : std::vector<std::pair<int, int>>{{10, 0}, {10, 1}, {11, 0}}) {
    ASSERT_TRUE(writer.addRow(rowOf(columns, {{stampAt(hour, 0, second), "rEAd", 0, false,
                                              floatReply(1.5F)}})));
  }
  ASSERT_TRUE(writer.finish());
  ASSERT_EQ(writer.pages().size(), 2u);
  EXPECT_EQ(writer.pages()[1].filename(), "06-12-2026(1).html");

  const std::string cell = "<TD bgColor=\"#ccffff\">";
  const std::string expected =
      "<html><head>\n<title>Протокол измерений</title>\n"
      "<meta http-equiv=Content-Type content=\"text/html; charset=windows-1251\">\n"
      "</head><body>\n"
      "<TABLE cellSpacing=\"0\" cellPadding=\"1\" width=\"100%\" border=\"1\">\n" +
      htmlHeaderRow(columns) + "<TR>\n" + cell + "10:00:00</TD>" + cell + "1.500</TD></TR>\n" +
      "<TR>\n<TD bgColor=\"#ffffcc\">10:00:01</TD><TD bgColor=\"#ffffcc\">1.500</TD></TR>\n" +
      "</TABLE>\n<P>Часы:&nbsp;<FONT color=\"#006600\"><STRONG>10</STRONG></FONT>"
      "&nbsp;<A href=\"06-12-2026(1).html\">11</A></P>\n</body>\n</html>";
  EXPECT_EQ(test_support::readWholeFile(writer.pages()[0]), utf8ToCp1251(expected));
  const std::string second = test_support::readWholeFile(writer.pages()[1]);
  EXPECT_NE(second.find(utf8ToCp1251(cell + "11:00:00</TD>")), std::string::npos);
  EXPECT_NE(second.find("<A href=\"06-12-2026.html\">10</A>&nbsp;<FONT color=\"#006600\">"
                        "<STRONG>11</STRONG></FONT></P>\n</body>\n</html>"),
            std::string::npos);
}

TEST(HtmlReport, ADayWithoutRowsHasTheHeaderAndNoHoursLine) {
  test_support::TempFolder folder;
  const std::vector<ExportColumn> columns = {column("rEAd", 0, "STORED_DOT")};
  HtmlReportWriter writer(folder.path(), "07-12-2026", columns);
  ASSERT_TRUE(writer.finish());
  ASSERT_EQ(writer.pages().size(), 1u);
  const std::string page = test_support::readWholeFile(writer.pages()[0]);
  EXPECT_EQ(page, utf8ToCp1251(htmlPageHead() + htmlHeaderRow(columns) +
                               "</TABLE>\n</body>\n</html>"));
}

TEST(HtmlReport, APageThatCannotBeCreatedIsNamed) {
  test_support::TempFolder folder;
  const std::vector<ExportColumn> columns = {column("rEAd", 0, "STORED_DOT")};
  HtmlReportWriter writer(folder / "missing", "06-12-2026", columns);
  EXPECT_FALSE(writer.addRow(rowOf(columns, {{stampAt(10, 0, 0), "rEAd", 0, false, {}}})));
  EXPECT_EQ(writer.failedPath(), folder / "missing" / "06-12-2026.html");
}

}  // namespace
}  // namespace zelmot::archive
