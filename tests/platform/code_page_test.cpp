#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace zelmot {
namespace {

std::string allBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  return bytes;
}

TEST(CodePage, EveryByteOfBothPagesSurvivesARoundTrip) {
  const std::string bytes = allBytes();
  EXPECT_EQ(utf8ToCp1251(cp1251ToUtf8(bytes)), bytes);
  EXPECT_EQ(utf8ToCp866(cp866ToUtf8(bytes)), bytes);
  EXPECT_TRUE(fitsCp1251(cp1251ToUtf8(bytes)));
}

TEST(CodePage, NoTwoBytesOfAPageDecodeToTheSameCharacter) {
  for (auto decode : {&cp1251ToUtf8, &cp866ToUtf8}) {
    for (int a = 128; a < 256; ++a) {
      for (int b = a + 1; b < 256; ++b) {
        ASSERT_NE(decode(std::string(1, static_cast<char>(a))), decode(std::string(1, static_cast<char>(b))))
            << a << " " << b;
      }
    }
  }
}

struct CharCase {
  const char* utf8;
  const char* cp1251;  // "?" when the page lacks the character
  const char* cp866;
};

// Known positions of both real tables, including the characters that differ most between them.
const CharCase kCharCases[] = {
    {"А", "\xC0", "\x80"},      {"я", "\xFF", "\xEF"},      {"Ё", "\xA8", "\xF0"},
    {"ё", "\xB8", "\xF1"},      {"№", "\xB9", "\xFC"},      {"«", "\xAB", "?"},
    {"»", "\xBB", "?"},         {"€", "\x88", "?"},         {"—", "\x97", "?"},
    {"°", "\xB0", "\xF8"},      {"\u00A0", "\xA0", "\xFF"}, {"Ґ", "\xA5", "?"},
    {"Ў", "\xA1", "\xF6"},      {"═", "?", "\xCD"},         {"░", "?", "\xB0"},
    {"█", "?", "\xDB"},         {"√", "?", "\xFB"},         {"р", "\xF0", "\xE0"},
    {"\u0098", "\x98", "?"},    {"Z", "Z", "Z"},
};

TEST(CodePage, KnownCharactersMapToTheirBytes) {
  for (const auto& c : kCharCases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(utf8ToCp1251(c.utf8), c.cp1251);
    EXPECT_EQ(utf8ToCp866(c.utf8), c.cp866);
    if (std::string(c.cp1251) != "?") {
      EXPECT_EQ(cp1251ToUtf8(c.cp1251), c.utf8);
    }
    if (std::string(c.cp866) != "?") {
      EXPECT_EQ(cp866ToUtf8(c.cp866), c.utf8);
    }
  }
}

TEST(CodePage, RussianTextsRoundTrip) {
  const char* texts[] = {
      "Задание выполнено. Окно будет закрыто автоматически.",
      "Таймаут при передаче данных (нет связи)",
      "Знач-е в приборе: «Ёлка» № 5 — ёмкость",
      "Не_редактируемо,Блокировано:Редактируемо,Разблокировано",
  };
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    const std::string cp1251 = utf8ToCp1251(text);
    EXPECT_EQ(cp1251.find('?'), std::string::npos);
    EXPECT_EQ(cp1251ToUtf8(cp1251), text);
    EXPECT_TRUE(fitsCp1251(text));
  }
  EXPECT_EQ(utf8ToCp1251("Привет"), "\xCF\xF0\xE8\xE2\xE5\xF2");
  EXPECT_EQ(utf8ToCp866("Привет"), "\x8F\xE0\xA8\xA2\xA5\xE2");
  EXPECT_EQ(cp866ToUtf8(utf8ToCp866("Таймаут при передаче данных")), "Таймаут при передаче данных");
}

TEST(CodePage, CharactersOutsideThePageBecomeOneQuestionMarkEach) {
  EXPECT_EQ(utf8ToCp1251("a€ü中😀b"), "a\x88??" "?b");
  EXPECT_EQ(utf8ToCp866("Ж«ü»😀"), "\x86????");
  EXPECT_FALSE(fitsCp1251("ü"));
  EXPECT_FALSE(fitsCp1251("Ж😀"));
  EXPECT_TRUE(fitsCp1251(""));
  EXPECT_TRUE(fitsCp1251("?"));
}

struct InvalidCase {
  const char* name;
  std::string utf8;
  std::string expected;
};

TEST(CodePage, InvalidUtf8BecomesQuestionMarksWithoutSwallowingGoodText) {
  const InvalidCase cases[] = {
      {"stray continuation", "a\x80" "b", "a?b"},
      {"lead byte at end", "a\xD0", "a?"},
      {"lead byte before ASCII", "\xD0" "A", "?A"},
      {"lead byte before a valid character", "\xD0Ж", "?\xC6"},
      {"overlong slash", "\xC0\xAF", "??"},
      {"overlong three-byte", "\xE0\x80\xAF", "???"},
      {"surrogate", "\xED\xA0\x80", "???"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", "????"},
      {"largest code point", "\xF4\x8F\xBF\xBF", "?"},
      {"truncated three-byte before ASCII", "\xE2\x82" "x", "?x"},
      {"invalid lead F5", "\xF5" "x", "?x"},
      {"truncated four-byte", "\xF0\x9F\x98", "?"},
      {"embedded NUL kept", std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(utf8ToCp1251(c.utf8), c.expected);
    EXPECT_EQ(fitsCp1251(c.utf8), c.expected.find('?') == std::string::npos);
  }
}

}  // namespace
}  // namespace zelmot
