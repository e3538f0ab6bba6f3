// The little language of the model source: ranges, index expressions, text templates.
#include <gtest/gtest.h>

#include "template_text.h"

namespace zelmot::desc {
namespace {

struct ExpressionCase {
  const char* text;
  int expected;
};

TEST(TemplateTextTest, ExpressionsFollowArithmeticPrecedence) {
  const Bindings bindings = {{"p", 3}, {"s", 7}, {"i", 5}};
  const ExpressionCase cases[] = {{"p*10+s", 37}, {"(i+1)%4", 2}, {"i / 2 * 2 + 1", 5}, {"-i+1", -4},
                                  {"  42 ", 42},  {"p-s-1", -5},  {"((p))", 3},
                                  {"--p", 3},     {"- -p", 3}};
  for (const auto& c : cases) {
    int value = 0;
    std::string error;
    EXPECT_TRUE(evaluateExpression(c.text, bindings, value, error)) << c.text << ": " << error;
    EXPECT_EQ(value, c.expected) << c.text;
  }
}

TEST(TemplateTextTest, BadExpressionsAreRefusedWithAReason) {
  const char* bad[] = {"", "j", "i/0", "i%0", "(i", "i+", "2147483647+1", "99999999999", "i$", "i 2",
                       "-(-2147483647-1)"};
  for (const char* text : bad) {
    int value = 0;
    std::string error;
    EXPECT_FALSE(evaluateExpression(text, {{"i", 1}}, value, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(TemplateTextTest, DeepNestingIsRefusedNotRecursedForever) {
  std::string text(10000, '(');
  int value = 0;
  std::string error;
  EXPECT_FALSE(evaluateExpression(text, {}, value, error));
}

TEST(TemplateTextTest, LongRunOfMinusSignsIsNotRecursedInto) {
  const std::string text = std::string(1000000, '-') + "7";
  int value = 0;
  std::string error;
  ASSERT_TRUE(evaluateExpression(text, {}, value, error)) << error;
  EXPECT_EQ(value, 7);
}

TEST(TemplateTextTest, TemplatesExpandPlaceholdersAndDoubledBraces) {
  std::string out, error;
  ASSERT_TRUE(expandTemplate("Вход {i+1} из {{8}}", {{"i", 2}}, out, error)) << error;
  EXPECT_EQ(out, "Вход 3 из {8}");
  EXPECT_FALSE(expandTemplate("Вход {i", {{"i", 2}}, out, error));
  EXPECT_FALSE(expandTemplate("Вход }", {}, out, error));
}

TEST(TemplateTextTest, EscapedTextExpandsToItself) {
  const char* texts[] = {"{n}", "a}}b{{", "}{", "обычный текст", "{{{"};
  for (const char* text : texts) {
    std::string out, error;
    ASSERT_TRUE(expandTemplate(escapeTemplate(text), {{"n", 1}}, out, error)) << text;
    EXPECT_EQ(out, text);
  }
}

TEST(TemplateTextTest, RangesAreFirstDotDotLast) {
  int first = 0, last = 0;
  std::string error;
  ASSERT_TRUE(parseRange("0..7", first, last, error));
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, 7);
  ASSERT_TRUE(parseRange("10", first, last, error));
  EXPECT_EQ(first, 10);
  EXPECT_EQ(last, 10);
  for (const char* bad : {"7..0", "-1..3", "a..b", "1..", "..", "1...3", ""})
    EXPECT_FALSE(parseRange(bad, first, last, error)) << bad;
}

}  // namespace
}  // namespace zelmot::desc
