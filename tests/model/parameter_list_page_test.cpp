// The parameter list page: one row per distinct name with its widened index range, and
// the page's markup byte for byte.
#include <gtest/gtest.h>

#include "model/desc_branch.h"
#include "model/html_text.h"
#include "model/parameter_list_page.h"
#include "model/parameter_summary.h"
#include "tree_support.h"

namespace zelmot::model {
namespace {

using testing::makeParameter;

struct ListTree {
  std::vector<std::unique_ptr<Parameter>> store;
  DescBranch root;

  Parameter& add(DescBranch& branch, const std::string& name, int32_t index,
                 const std::string& caption = {}) {
    store.push_back(makeParameter(name, index, caption));
    branch.addParameter(store.back().get());
    return *store.back();
  }
  DescBranch& child(DescBranch& parent, const std::string& title) {
    auto made = std::make_unique<DescBranch>();
    made->setTitle(title);
    DescBranch& kept = *made;
    parent.addChild(std::move(made));
    return kept;
  }
};

TEST(ParameterSummaries, NamesListedOnceUnderTheirFirstBranchWithWidenedIndexes) {
  ListTree t;
  t.add(t.root, "dev", -1, "Тип прибора");
  DescBranch& inputs = t.child(t.root, "Входы");
  DescBranch& first = t.child(inputs, "Вход 1");
  t.add(first, "rEAd", 0, "Значение входа №1");
  DescBranch& regulators = t.child(t.root, "Регуляторы");
  for (int i = 0; i < 8; ++i) t.add(regulators, "Set.P", i);
  t.add(regulators, "READ", 1);  // the same name in other letter case
  t.add(regulators, "r.oe", 4);
  t.add(regulators, "r.oe", 0);

  const std::vector<ParameterSummary> list = collectParameterSummaries(t.root);
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].path, "");
  EXPECT_EQ(list[1].name, "rEAd");
  EXPECT_EQ(list[1].path, "Входы \\ Вход 1");
  EXPECT_EQ(indexRangeText(list[1]), "0, 1");
  EXPECT_EQ(list[2].path, "Регуляторы");
  EXPECT_EQ(indexRangeText(list[2]), "0, 1 .. 7");
  EXPECT_EQ(indexRangeText(list[3]), "0, 4");
  EXPECT_EQ(list[3].lowestIndex, 0);
  EXPECT_EQ(indexRangeText(list[0]), "нет индекса");
}

TEST(ParameterSummaries, StepIsTheSmallestDistanceSeen) {
  ParameterSummary s;
  s.lowestIndex = s.highestIndex = 10;
  for (int32_t index : {30, 20, 10, 25}) s.widen(index);
  EXPECT_EQ(s.lowestIndex, 10);
  EXPECT_EQ(s.highestIndex, 30);
  EXPECT_EQ(s.step, 5);
  EXPECT_EQ(indexRangeText(s), "10, 15 .. 30");
}

TEST(ParameterListCells, LimitsAttributesAndEscaping) {
  ParameterSummary s;
  EXPECT_EQ(valueRangeText(s), "нет ограничений");
  s.minimum = 5;
  s.maximum = 5;
  EXPECT_EQ(valueRangeText(s), "нет ограничений");
  s.minimum = -0.5;
  s.maximum = 1234567;
  EXPECT_EQ(valueRangeText(s), "-0.5 .. 1.23457e+06");
  EXPECT_EQ(attributesText(1), "обычн. атрибуты");
  EXPECT_EQ(attributesText(0), "нет атрибутов");
  EXPECT_EQ(attributesText(4), "дерево атр-ов обрезано (кратность индекcов 4)");
  EXPECT_EQ(escapeListText("Вход №1"), "Вход №...");
  EXPECT_EQ(escapeListText("№1 и №12, a<b>c & d"), "№... и №12, a&lt;b&gt;c &amp; d");
}

TEST(ParameterListPage, MarkupOfTheWholePage) {
  ListTree t;
  Parameter& read = t.add(t.root, "rEAd", 0, "Вход №1");
  read.setTypeDescriptor("STORED_DOT");
  read.setDecimals(1);
  read.setLimits(-50, 150);
  read.setAttributeMultiplicity(1);
  t.add(t.root, "rEAd", 1);
  DescBranch& regulators = t.child(t.root, "Регуляторы <1>");
  Parameter& mode = t.add(regulators, "Set.P", -1, "Режим");
  mode.setTypeDescriptor("Выкл:Вкл");

  const std::string page = parameterListPage(collectParameterSummaries(t.root),
                                             {"Apr 17 2009 13:49:33", "Friday, April 17, 2009"});
  const std::string header =
      "<tr>\n<td><strong><b>№</b></strong></td>\n<td><strong><b>Имя</b></strong></td>\n"
      "<td><strong><b>Hash</b></strong></td>\n<td><strong><b>Название</b></strong></td>\n"
      "<td><strong><b>Тип</b></strong></td>\n<td><strong><b>Индекс</b></strong></td>\n"
      "<td><strong><b>Диапазон значений</b></strong></td>\n"
      "<td><strong><b>Атрибуты</b></strong></td>\n</tr>\n";
  const std::string expected =
      "<html>\n<head>\n"
      "<meta HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1251\">\n"
      "\t<title>Список параметров прибора ZELMOT</title>\n</head>\n\n<body>\n"
      "<h4>Список параметров</h4>\n<table border=1 style=\"font-size=12px\">\n" +
      header +  // the root's own parameters: a header row without a section row
      "<tr>\n\t<td>1\t</td>\n\t<td>rEAd\t</td>\n\t<td>8784\t</td>\n\t<td>Вход №...\t</td>\n"
      "\t<td>Знаковое число с односторонней десятичной точкой\t</td>\n\t<td>0, 1\t</td>\n"
      "\t<td>-50 .. 150\t</td>\n\t<td>обычн. атрибуты\t</td>\n</tr>\n"
      "<tr><td colspan=8><b>Регуляторы &lt;1&gt;</b></td></tr>\n" + header +
      "<tr>\n\t<td>2\t</td>\n\t<td>Set.P\t</td>\n\t<td>33EC\t</td>\n\t<td>Режим\t</td>\n"
      "\t<td>&nbsp;&nbsp;0:&nbsp;&nbsp;Выкл<br>&nbsp;&nbsp;1:&nbsp;&nbsp;Вкл\t</td>\n"
      "\t<td>нет индекса\t</td>\n\t<td>нет ограничений\t</td>\n\t<td>нет атрибутов\t</td>\n</tr>\n"
      "</table>\n\n<br>\n" + operativeParametersFragment() + "\n"
      "<hr>Список сгенерирован автоматически программой-конфигуратором"
      " (Дата и время сборки программы Apr 17 2009 13:49:33)\n<br>Friday, April 17, 2009\n"
      "</body>\n</html>\n";
  EXPECT_EQ(page, expected);
}

TEST(ParameterListPage, OperativeFragmentListsTheMeasuredParameters) {
  const std::string& fragment = operativeParametersFragment();
  EXPECT_NE(fragment.find("Список оперативных параметров"), std::string::npos);
  for (const char* cell : {"Название (смысл)", "Тип значения", "Возможность записи", "rEAd",
                           "8784", "r.CAL", "CF57", "r.Out", "9946", "r.StP", "BAAB", "Set.P",
                           "33EC", "r.oe", "E894", "r.Cn", "2D26", "rtC", "FA30"}) {
    EXPECT_NE(fragment.find(cell), std::string::npos) << cell;
  }
}

}  // namespace
}  // namespace zelmot::model
