#include "exchange/compare_texts.h"

#include <gtest/gtest.h>

namespace zelmot::exchange {
namespace {

TEST(CompareTexts, DifferenceIsValueBytesOrEitherAttribute) {
  const CompareSide base{"1.5", true, false};
  EXPECT_FALSE(sidesDiffer(base, base));
  EXPECT_TRUE(sidesDiffer(base, {"1.50", true, false}));
  EXPECT_TRUE(sidesDiffer({"Вкл", true, false}, {"вкл", true, false}));  // case matters
  EXPECT_TRUE(sidesDiffer(base, {"1.5", false, false}));
  EXPECT_TRUE(sidesDiffer(base, {"1.5", true, true}));
}

TEST(CompareTexts, DescriptionNamesBothSides) {
  EXPECT_EQ(differenceDescription(3, "Set.P", "Уставка", {"10", true, false}, {"12", false, true}),
            "\n3) Параметер 'Set.P (Уставка) в конфигурации: значение=10,Редактируемый,"
            "принадлежит пользователю; в приборе: значение=12,Не редактируемый,принадлежит "
            "фирме.\n");
}

TEST(CompareTexts, MarkGoesBeforeAnEarlierError) {
  EXPECT_EQ(markedErrorText("", {"12", true, false}), "Знач-е в приборе: '12',Ред-ый,польз.");
  EXPECT_EQ(markedErrorText("Старая", {"7", false, true}),
            "Знач-е в приборе: '7',Не ред-ый,фирм.; Старая");
}

TEST(CompareTexts, SummaryCountsTheDifferencesAndSaysWhenOnlyTenAreShown) {
  EXPECT_EQ(compareSummary(0, ""), "Отличий не обнаружено");
  EXPECT_EQ(compareSummary(2, "\n1) a\n"), "Обнаружены отличия (2):\n\n1) a\n");
  EXPECT_EQ(compareSummary(10, "t"), "Обнаружены отличия (10):\nt");
  EXPECT_EQ(compareSummary(12, "t"), "Обнаружены отличия (12) (показанны только первые 10):\nt");
}

}  // namespace
}  // namespace zelmot::exchange
