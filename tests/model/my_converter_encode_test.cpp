// Value text -> data field for every type, the special names, the access-level rule and
// the refusals of values that the layouts cannot carry; type descriptions; rounding.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "model/my_converter.h"
#include "model/value_context.h"

namespace zelmot::model {
namespace {

using Bytes = std::vector<uint8_t>;

struct Encoded {
  int result;
  Bytes data;
  std::string message;
};

Encoded encode(const std::string& name, const std::string& descriptor, const std::string& text,
               int decimals = 0, ValueContext* context = nullptr) {
  MyConverter converter;
  converter.setName(name);
  converter.setTypeDescriptor(descriptor);
  converter.setDecimals(decimals);
  converter.setContext(context);
  Encoded encoded{0, {0xEE}, ""};
  encoded.result = converter.TextToData(text, encoded.data, encoded.message);
  return encoded;
}

struct EncodeCase {
  std::string descriptor;
  int decimals;
  std::string text;
  int result;
  Bytes data;
};

void PrintTo(const EncodeCase& c, std::ostream* os) {
  *os << c.descriptor << " dec " << c.decimals << " '" << c.text << "'";
}

class EncodeTable : public testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeTable, GivesResultAndBytes) {
  const EncodeCase& c = GetParam();
  const Encoded encoded = encode("x", c.descriptor, c.text, c.decimals);
  EXPECT_EQ(encoded.result, c.result);
  if (c.result == 1) {
    EXPECT_EQ(encoded.data, c.data);
  }
  if (c.result != 1) {
    EXPECT_TRUE(encoded.data.empty()) << "nothing to send on refusal";
  }
}

INSTANTIATE_TEST_SUITE_P(
    StoredDot, EncodeTable,
    testing::Values(
        EncodeCase{"STORED_DOT", 1, "12.5", 1, {0x10, 0x7D}},
        EncodeCase{"STORED_DOT", 0, "12.5", 1, {0x10, 0x7D}},
        EncodeCase{"STORED_DOT", 0, "-0.25", 1, {0xA0, 0x19}},
        EncodeCase{"STORED_DOT", 0, "1234.5678", 1, {0x30, 0x12, 0xD6, 0x88}},
        EncodeCase{"STORED_DOT", 0, "100.5", 1, {0x13, 0xED}},
        // Single precision reads 2232.9609375: the third decimal must survive.
        EncodeCase{"STORED_DOT", 0, "2232.961", 1, {0x30, 0x22, 0x12, 0x81}},
        EncodeCase{"STORED_DOT", 0, "-0.0", 1, {0x00, 0x00}},
        EncodeCase{"STORED_DOT", 0, "-0.0001", 1, {0x00, 0x00}},
        EncodeCase{"STORED_DOT", 0, "0", 1, {0x00, 0x00}},
        EncodeCase{"STORED_DOT", 0, "12.500 \r\n", 1, {0x10, 0x7D}},
        // Fixed decimals: the value is scaled and rounded to them, at most 3.
        EncodeCase{"STORED_DOT", 2, "1", 1, {0x20, 0x64}},
        EncodeCase{"STORED_DOT", 2, "1.006", 1, {0x20, 0x65}},
        EncodeCase{"STORED_DOT", 7, "1.5", 1, {0x35, 0xDC}},
        // Mantissa size boundaries: 12 bits, 20 bits, 28 bits.
        EncodeCase{"STORED_DOT", 0, "4095", 1, {0x0F, 0xFF}},
        EncodeCase{"STORED_DOT", 0, "4096", 1, {0x00, 0x10, 0x00}},
        EncodeCase{"STORED_DOT", 0, "1048575", 1, {0x0F, 0xFF, 0xFF}},
        EncodeCase{"STORED_DOT", 0, "1048576", 1, {0x00, 0x10, 0x00, 0x00}},
        EncodeCase{"STORED_DOT", 0, "-268435440", 1, {0x8F, 0xFF, 0xFF, 0xF0}},
        EncodeCase{"STORED_DOT", 0, "268435456", -1, {}},
        EncodeCase{"STORED_DOT", 3, "300000", -1, {}},
        // Chosen decimals give way before the value is refused: 300000.1 reads as
        // 300000.09375 in single precision, which fits at 2 decimals (M = 30000009).
        EncodeCase{"STORED_DOT", 0, "300000.1", 1, {0x21, 0xC9, 0xC3, 0x89}},
        EncodeCase{"STORED_DOT", 0, "abc", 0, {}},
        EncodeCase{"STORED_DOT", 0, "", 0, {}},
        EncodeCase{"STORED_DOT", 0, "Нет данных", 0, {}},
        EncodeCase{"STORED_DOT", 0, "1e3", 0, {}}));

INSTANTIATE_TEST_SUITE_P(
    Integers, EncodeTable,
    testing::Values(
        EncodeCase{"DEC_dot", 0, "5", 1, {0x05}},
        EncodeCase{"DEC_dot", 0, "255", 1, {0xFF}},
        EncodeCase{"DEC_dot", 0, "256", 1, {0x01, 0x00}},
        EncodeCase{"DEC_dot", 0, "65535", 1, {0xFF, 0xFF}},
        EncodeCase{"DEC_dot", 0, "65536", -1, {}},
        EncodeCase{"DEC_dot", 0, "  42xyz", 1, {0x2A}},
        EncodeCase{"DEC_dot", 0, "-1", 1, {0xFF, 0xFF}},
        EncodeCase{"DEC_dot", 0, "Нет данных", 0, {}},
        EncodeCase{"CLK_frm", 0, "12:34", 1, {0x02, 0xF2}},
        EncodeCase{"CLK_frm", 0, "5", 1, {0x05}},
        EncodeCase{"CLK_frm", 0, "1:2:3", 1, {51}},
        EncodeCase{"CLK_frm", 0, "1:02:03", 1, {0x0E, 0x8B}},
        EncodeCase{"CLK_frm", 0, "1092:15", 1, {0xFF, 0xFF}},
        EncodeCase{"CLK_frm", 0, "1092:16", -1, {}},
        EncodeCase{"CLK_frm", 0, "12.34", -1, {}},
        EncodeCase{"CLK_frm", 0, "", 0, {}},
        EncodeCase{"Real_Time_Clock", 0, "9|3|14|10|5|7|97", 1, {9, 3, 14, 10, 5, 7, 0x61}},
        EncodeCase{"Real_Time_Clock", 0, "255", 1, {0xFF}},
        EncodeCase{"Real_Time_Clock", 0, "256", -1, {}},
        EncodeCase{"Real_Time_Clock", 0, "1||2", -1, {}},
        EncodeCase{"Real_Time_Clock", 0, "", 0, {}},
        // The text the decoder shows goes back into the device's fields.
        EncodeCase{"Real_Time_Clock", 0, "15.04.2009 10:05:07", 1, {9, 3, 14, 10, 5, 7, 0x61}},
        EncodeCase{"Real_Time_Clock", 0, "07.05.2009 14:30:05.0", 1, {9, 4, 6, 14, 30, 5, 0, 0x70}},
        EncodeCase{"Real_Time_Clock", 0, "15.04.2009 ", 1, {9, 3, 14, 0x34}},
        EncodeCase{"Real_Time_Clock", 0, "15.04.2009 10:05", 1, {9, 3, 14, 10, 5, 0x52}},
        EncodeCase{"Real_Time_Clock", 0, "10:05:07", 1, {10, 5, 7, 0x31}},
        EncodeCase{"Real_Time_Clock", 0, "32.04.2009 10:05:07", -1, {}},
        EncodeCase{"Real_Time_Clock", 0, "15.13.2009 10:05:07", -1, {}},
        EncodeCase{"Real_Time_Clock", 0, "15.04.1999 10:05:07", -1, {}},
        EncodeCase{"Real_Time_Clock", 0, "15.04.2009 24:05:07", -1, {}},
        EncodeCase{"Real_Time_Clock", 0, "вчера", -1, {}}));

INSTANTIATE_TEST_SUITE_P(
    Texts, EncodeTable,
    testing::Values(
        EncodeCase{"string", 0, "abc", 0, {}},
        EncodeCase{"ASCI", 0, "abc", 0, {}},
        EncodeCase{"name", 0, "AB.1", 1, {78, 2, 23, 20}},
        EncodeCase{"name", 0, "ab.1", 1, {78, 2, 23, 20}},
        EncodeCase{"name", 0, "-_ 9.", 1, {19, 78, 74, 72}},
        EncodeCase{"name", 0, "A.B.C.D.", 1, {27, 25, 23, 21}},
        EncodeCase{"name", 0, "ABCDEF", 1, {26, 24, 22, 20}},
        EncodeCase{"name", 0, "ABCD.x", 1, {27, 24, 22, 20}},
        EncodeCase{"name", 0, "", -1, {}},
        EncodeCase{"name", 0, "ABCDEFGHI", -1, {}},
        EncodeCase{"name", 0, ".A", -1, {}},
        EncodeCase{"name", 0, "A..", -1, {}},
        EncodeCase{"name", 0, "A/", -1, {}},
        EncodeCase{"name", 0, "Я", -1, {}},
        EncodeCase{"Выкл:Вкл:Авто_режим", 0, "Вкл", 1, {0x01}},
        EncodeCase{"Off:On:Auto_mode", 0, "AUTO MODE", 1, {0x02}},
        EncodeCase{"Off:On:On", 0, "On", 1, {0x01}},
        EncodeCase{"Выкл:Вкл", 0, "Авто", 0, {}}));

TEST(EncodeMessages, NameRefusalsExplainThemselves) {
  EXPECT_EQ(encode("x", "name", "").message, "Сетевое имя пусто");
  EXPECT_EQ(encode("x", "name", "АБВГДЕЖЗИ").message, "Сетевое имя слишком длинное");
  EXPECT_EQ(encode("x", "name", "АБВГДЕЖЗ").message, "Недопустимый символ в сетевом имени");
  EXPECT_EQ(encode("x", "name", ".A").message, "Недопустимый символ в сетевом имени");
}

TEST(EncodeMessages, OversizedNumbersAreRefusedWithAReason) {
  EXPECT_EQ(encode("x", "STORED_DOT", "268435456").message,
            "Значение слишком велико для формата параметра");
  EXPECT_EQ(encode("x", "DEC_dot", "70000").message,
            "Значение слишком велико для формата параметра");
  // An invalid clock character is refused without a message.
  EXPECT_EQ(encode("x", "CLK_frm", "1a").message, "");
}

TEST(EncodeSpecialNames, ServiceParametersCannotBeWritten) {
  for (const char* name : {"dev", "VER", "exit"}) {
    const Encoded encoded = encode(name, "DEC_dot", "1");
    EXPECT_EQ(encoded.result, -1) << name;
    EXPECT_FALSE(encoded.message.empty()) << name;
  }
  const Encoded aply = encode("aply", "DEC_dot", "whatever");
  EXPECT_EQ(aply.result, 1);
  EXPECT_TRUE(aply.data.empty());
}

TEST(EncodeEnumeration, AttributeCombinationsShiftAtTheMaximalAccessLevel) {
  const std::string descriptor =
      "Не_редактируемо,Блокировано:Редактируемо,Блокировано:"
      "Не_редактируемо,Разблокировано:Редактируемо,Разблокировано";
  const char* items[] = {"Не редактируемо,Блокировано", "Редактируемо,Блокировано",
                         "Не редактируемо,Разблокировано", "Редактируемо,Разблокировано"};
  ValueContext context;
  for (int level : {0, 1, 2}) {
    context.setAccessLevel(level);
    for (int position = 0; position < 4; ++position) {
      const Encoded encoded = encode("x", descriptor, items[position], 0, &context);
      ASSERT_EQ(encoded.result, 1);
      const int expected = level == 2 ? 172 + position : position;
      EXPECT_EQ(encoded.data, Bytes{static_cast<uint8_t>(expected)}) << level << " " << position;
    }
  }
  // Another descriptor never shifts.
  context.setAccessLevel(2);
  EXPECT_EQ(encode("x", "Выкл:Вкл", "Вкл", 0, &context).data, Bytes{0x01});
}

TEST(EncodeEnumeration, OnlyTheFirst127ItemsCount) {
  std::string descriptor;
  for (int i = 0; i < 130; ++i) descriptor += (i ? ":i" : "i") + std::to_string(i);
  EXPECT_EQ(encode("x", descriptor, "i126").data, Bytes{126});
  EXPECT_EQ(encode("x", descriptor, "i127").result, 0);
}

MyConverter& configured(MyConverter& converter, const std::string& descriptor, int decimals) {
  converter.setTypeDescriptor(descriptor);
  converter.setDecimals(decimals);
  return converter;
}

TEST(TypeDescription, NamesEachType) {
  MyConverter c;
  EXPECT_EQ(configured(c, "STORED_DOT", 0).typeDescription(), "Число с плавающей точкой");
  EXPECT_EQ(configured(c, "STORED_DOT", 2).typeDescription(),
            "Знаковое число с односторонней десятичной точкой");
  EXPECT_EQ(configured(c, "DEC_dot", 0).typeDescription(), "Знаковое целое число");
  EXPECT_EQ(configured(c, "CLK_frm", 0).typeDescription(),
            "Составной тип данных с информацией о времени");
  EXPECT_EQ(configured(c, "Real_Time_Clock", 0).typeDescription(), "");
  EXPECT_EQ(configured(c, "ASCI", 0).typeDescription(), "Строковый тип");
  EXPECT_EQ(configured(c, "name", 0).typeDescription(), "Нетипизированный набор битов");
  EXPECT_EQ(configured(c, "string", 0).typeDescription(), "&nbsp;&nbsp;0:&nbsp;&nbsp;string");
}

TEST(TypeDescription, ListsEnumerationItemsAndHidesMarkedOnes) {
  MyConverter c;
  EXPECT_EQ(configured(c, "Выкл:<hide>резерв:Авто_режим:a<b", 0).typeDescription(),
            "&nbsp;&nbsp;0:&nbsp;&nbsp;Выкл"
            "<br>&nbsp;&nbsp;1:&nbsp;&nbsp;---"
            "<br>&nbsp;&nbsp;2:&nbsp;&nbsp;Авто режим"
            "<br>&nbsp;&nbsp;3:&nbsp;&nbsp;a&lt;b");
}

struct RoundCase {
  int decimals;
  double minimum;
  double maximum;
  std::string text;
  int result;
  std::string rounded;
};

void PrintTo(const RoundCase& c, std::ostream* os) {
  *os << "dec " << c.decimals << " [" << c.minimum << "," << c.maximum << "] '" << c.text << "'";
}

class RoundTable : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundTable, ShortensToThePrecision) {
  const RoundCase& c = GetParam();
  MyConverter converter;
  converter.setTypeDescriptor("STORED_DOT");
  converter.setDecimals(c.decimals);
  converter.setLimits(c.minimum, c.maximum);
  std::string rounded = "unchanged";
  EXPECT_EQ(converter.RoundToPrecision(c.text, rounded), c.result);
  if (c.result == 1) {
    EXPECT_EQ(rounded, c.rounded);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoundTable,
    testing::Values(
        RoundCase{2, 0, 0, "12.3456", 1, "12.34"},
        RoundCase{2, 0, 0, "12.999", 1, "12.99"},
        RoundCase{2, 0, 0, "12.3", 1, "12.3"},
        RoundCase{1, 0, 0, "123", 1, "123"},
        RoundCase{0, -999.9, 9999.9, "12.3456", 1, "12.34"},
        RoundCase{0, -999.9, 9999.9, "-12.3456", 1, "-12.3"},
        RoundCase{0, -999.9, 9999.9, "12.3", 1, "12.3"},
        RoundCase{0, -999.9, 9999.9, "1234.", 1, "1234"},
        RoundCase{0, 0, 100, "5.55555555555555555555", 1, "5.5"},
        RoundCase{0, 0, 100, "1.2.3", -1, ""},
        RoundCase{0, 0, 100, "", -1, ""},
        RoundCase{0, 0, 100, "-", -1, ""},
        // Without limits there is no range to fit: the value keeps its digits unless the
        // mantissa would not fit the layout, and integer digits are never dropped.
        RoundCase{0, 0, 0, "12.3456", 1, "12.3456"},
        RoundCase{0, 0, 0, "1234567.891", 1, "1234567.89"},
        RoundCase{0, 0, 0, "987654321", 1, "987654321"},
        RoundCase{0, 0, 0, "987654321.5", 1, "987654321"}));

}  // namespace
}  // namespace zelmot::model
