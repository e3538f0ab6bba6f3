#include "link/error_catalogue.h"

#include <gtest/gtest.h>

#include <string>

namespace zelmot::link {
namespace {

TEST(ErrorCatalogue, KnownCodesHaveTheirTexts) {
  std::string text;
  ASSERT_TRUE(error_text_for_code(0x27, text));
  EXPECT_EQ(text, "Неверная контрольная сумма кадра");
  ASSERT_TRUE(error_text_for_code(0x00, text));
  EXPECT_EQ(text, "Безошибочный прием кадра");
  ASSERT_TRUE(error_text_for_code(0x4B, text));
  EXPECT_EQ(text, "Ошибка выполнения функции PrevWriteActions()");
}

TEST(ErrorCatalogue, TwoCodesShareTheIndexLimitText) {
  std::string a, b;
  ASSERT_TRUE(error_text_for_code(0x35, a));
  ASSERT_TRUE(error_text_for_code(0x36, b));
  EXPECT_EQ(a, b);
  // Graph-node reads look for this fragment to tell a missing node from an error.
  EXPECT_NE(a.find("ндекс параметр"), std::string::npos);
}

TEST(ErrorCatalogue, NetworkFunctionTextKeepsItsTabsAndBlanks) {
  std::string text;
  ASSERT_TRUE(error_text_for_code(0x29, text));
  EXPECT_EQ(text,
            "Не найдена сетевая функция, хотя дескриптор найден!!!"
            "\t\t\t\t\t\t\t  "
            "В нормальном приборе эта ошибка встречаться НЕ ДОЛЖНА!!!");
}

TEST(ErrorCatalogue, GapsHaveNoText) {
  int withText = 0;
  for (int code = 0; code < 256; ++code) {
    std::string text = "untouched";
    const bool found = error_text_for_code(static_cast<uint8_t>(code), text);
    const bool gap = code == 0x01 || (code >= 0x09 && code <= 0x20) ||
                     (code >= 0x2A && code <= 0x2F) || code == 0x40 || code > 0x4B;
    EXPECT_EQ(found, !gap) << std::hex << code;
    if (found) {
      ++withText;
      EXPECT_FALSE(text.empty());
    } else {
      EXPECT_EQ(text, "untouched");
    }
  }
  EXPECT_EQ(withText, 44);
}

TEST(ErrorCatalogue, ReplyLookupUsesTheFirstByteOnly) {
  const uint8_t data[] = {0x03, 0x27};
  std::string text = "old";
  describe_error_reply(data, 0, text);
  EXPECT_EQ(text, "old");
  describe_error_reply(data, 2, text);
  EXPECT_EQ(text, "Попытка модификации ROM-параметра");
  const uint8_t unknown[] = {0x15};
  describe_error_reply(unknown, 1, text);
  EXPECT_EQ(text, "Попытка модификации ROM-параметра");
}

}  // namespace
}  // namespace zelmot::link
