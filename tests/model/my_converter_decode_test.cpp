// Data field -> value text: the name-first conversions, the status tables and every type
// descriptor, including fields shorter than what their descriptor announces.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "model/my_converter.h"
#include "model/value_context.h"

namespace zelmot::model {
namespace {

struct Decoded {
  int result;
  std::string text;
};

Decoded decode(const std::string& name, const std::string& descriptor,
               const std::vector<uint8_t>& bytes, int decimals = 0,
               ValueContext* context = nullptr) {
  MyConverter converter;
  converter.setName(name);
  converter.setTypeDescriptor(descriptor);
  converter.setDecimals(decimals);
  converter.setContext(context);
  std::string text = "unchanged";
  // Exactly sized copy: the sanitizer catches any read past the given length.
  std::vector<uint8_t> data(bytes);
  const int result = converter.DataToText(data.empty() ? nullptr : data.data(),
                                          static_cast<int>(data.size()), text);
  return {result, text};
}

struct DecodeCase {
  std::string name;
  std::string descriptor;
  std::vector<uint8_t> bytes;
  int result;
  std::string text;
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name << "/" << c.descriptor; }

class DecodeTable : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTable, GivesResultAndText) {
  const DecodeCase& c = GetParam();
  const Decoded decoded = decode(c.name, c.descriptor, c.bytes);
  EXPECT_EQ(decoded.result, c.result);
  EXPECT_EQ(decoded.text, c.text);
}

const char* kEnum = "Выкл:Вкл:Авто_режим:Ручной";

INSTANTIATE_TEST_SUITE_P(
    ServiceNames, DecodeTable,
    testing::Values(
        DecodeCase{"APLY", "DEC_dot", {}, 1, ""},
        DecodeCase{"Addr", "DEC_dot", {}, 0, "unchanged"},
        DecodeCase{"dev", "ASCI", {'Z', 'L', '-', '1'}, 1, "ZL-1"},
        DecodeCase{"VER", "ASCI", {'2', '.', '0', 0xC0}, 1, "2.0А"},  // windows-1251
        DecodeCase{"exit", "DEC_dot", {0x0A, 0x1B, 0x2C}, 1, "0a 1b 2c"},
        DecodeCase{"exit", "DEC_dot", {0x0A, 0x1B}, 0, "unchanged"},
        DecodeCase{"bPS", "DEC_dot", {0}, 1, "2400"},
        DecodeCase{"bps", "DEC_dot", {8}, 1, "115200"},
        DecodeCase{"bPS", "DEC_dot", {9}, 0, "unchanged"},
        DecodeCase{"LEn", "DEC_dot", {1}, 1, "8"},
        DecodeCase{"LEn", "DEC_dot", {2}, 0, "unchanged"},
        DecodeCase{"PrtY", "DEC_dot", {0}, 1, "Отсутствует"},
        DecodeCase{"PrtY", "DEC_dot", {2}, 1, "Нечетность"},
        DecodeCase{"PrtY", "DEC_dot", {3}, 0, "unchanged"},
        DecodeCase{"Sbit", "DEC_dot", {1}, 1, "2"},
        DecodeCase{"A.Len", "DEC_dot", {1}, 1, "11"},
        DecodeCase{"A.LEN", "DEC_dot", {2}, 0, "unchanged"},
        DecodeCase{"Addr", "DEC_dot", {200}, 1, "200"},
        DecodeCase{"Addr", "DEC_dot", {0x07, 0xD0}, 1, "2000"},
        DecodeCase{"Addr", "DEC_dot", {1, 2, 3}, 0, "unchanged"}));

INSTANTIATE_TEST_SUITE_P(
    MeasuredValues, DecodeTable,
    testing::Values(
        DecodeCase{"r.oe", "STORED_DOT", {0x41, 0x48, 0x00, 0x00}, 1, "12.500"},
        DecodeCase{"rEAd", "STORED_DOT", {0xC2, 0xF6, 0xE9, 0x79}, 1, "-123.456"},
        DecodeCase{"r.CAL", "STORED_DOT", {0x7F, 0x80, 0x00, 0x00}, 1, "Переполнение"},
        DecodeCase{"rd.rg", "STORED_DOT", {0x7F}, 1, "Переполнение"},
        DecodeCase{"r.OUt", "STORED_DOT", {0xFD, 0x00, 0x00, 0x00}, 1, "Обрыв датчика."},
        DecodeCase{"r.oe", "STORED_DOT", {0xFD}, 1, "Обрыв датчика."},
        DecodeCase{"r.oe", "STORED_DOT", {0xF0}, 1, "Вычисленное значение заведомо неверно."},
        DecodeCase{"r.oe", "STORED_DOT", {0xF3}, 1, "Не могу преобразовать коэффициенты."},
        DecodeCase{"r.oe", "STORED_DOT", {0xF6}, 1, "Данные не готовы."},
        DecodeCase{"r.oe", "STORED_DOT", {0xF8}, 1, "Велика температура свободных концов ТП."},
        DecodeCase{"r.oe", "STORED_DOT", {0xFA}, 1, "Вычисленное значение слишком велико."},
        DecodeCase{"Set.P", "STORED_DOT", {0xFA}, 1,
                   "У регулятора отсутствует уставка или регулятор не работает."},
        DecodeCase{"set.p", "STORED_DOT", {0xFB}, 1, "У регулятора уставка типа “Мощность”."},
        DecodeCase{"r.oe", "STORED_DOT", {0xFB}, 1, "Вычисленное значение слишком мало."},
        DecodeCase{"r.oe", "STORED_DOT", {0xFC}, 1, "Короткое замыкание"},
        DecodeCase{"r.oe", "STORED_DOT", {0xFF}, 1, "Некорректный калибровочный коэффициент."},
        DecodeCase{"r.oe", "STORED_DOT", {0xF5, 0, 0, 0}, 1, "Неверное количество входов"},
        DecodeCase{"r.oe", "STORED_DOT", {0xF5, 0, 0, 11}, 1,
                   "На входе вычислителя корня отрицательное число"},
        DecodeCase{"r.oe", "STORED_DOT", {0xF5, 0, 0, 13}, 1,
                   "Неверно задан индекс сетевого фильтра"},
        DecodeCase{"r.oe", "STORED_DOT", {0xF5, 0, 0, 14}, 1, ""},
        // Too short for what the first byte announces: refused, nothing read past the end.
        DecodeCase{"r.oe", "STORED_DOT", {0xF5, 0, 0}, -1, "Ошибка; (Непонятная длина ответа:3)"},
        DecodeCase{"r.oe", "STORED_DOT", {0x41, 0x48}, -1,
                   "Ошибка; (Непонятная длина ответа:2)"}));

INSTANTIATE_TEST_SUITE_P(
    States, DecodeTable,
    testing::Values(
        DecodeCase{"r.St", kEnum, {0x00, 0x03}, 1, "Ручной"},
        DecodeCase{"r.kEY", kEnum, {0x02}, 1, "Авто режим"},
        DecodeCase{"r.PrG", kEnum, {0x00, 0x09}, 0, "unchanged"},
        DecodeCase{"r.StP", kEnum, {0xF4, 0x00}, 1, "Не могу преобразовать коэффициенты ."},
        DecodeCase{"r.St", kEnum, {0xF6}, 1, "Не могу преобразовать коэффициенты ."},
        DecodeCase{"r.St", kEnum, {0xF8}, 1, "Велика температура холодного спая."},
        DecodeCase{"r.St", kEnum, {0xFF}, 1, "Некорректный юстировочный коэффициент."},
        DecodeCase{"r.St", "DEC_dot", {0x01, 0x05}, 1, "5"}));

INSTANTIATE_TEST_SUITE_P(
    StoredDot, DecodeTable,
    testing::Values(
        DecodeCase{"x", "STORED_DOT", {0x10, 0x7D}, 1, "12.500"},
        DecodeCase{"x", "stored_dot", {0x10, 0x7D, 0x00, 0x05}, 1, "12.500"},
        DecodeCase{"x", "STORED_DOT", {0xA0, 0x19}, 1, "-0.250"},
        DecodeCase{"x", "STORED_DOT", {0x13, 0xED}, 1, "100.500"},
        DecodeCase{"x", "STORED_DOT", {0x30, 0x12, 0xD6, 0x88, 0x00, 0x00}, 1, "1234.568"},
        DecodeCase{"x", "STORED_DOT", {0x80, 0x00}, 1, "0.000"},
        DecodeCase{"x", "STORED_DOT", {0xF0, 0x01}, 1, "0.000"},  // -0.0000001
        DecodeCase{"x", "STORED_DOT", {0x4F, 0xFF, 0xFF, 0x00, 0x00}, 1, "104.857"},
        DecodeCase{"x", "STORED_DOT", {0x07}, 1, "7.000"},
        // Eight value bytes are the most the format holds; nine are refused.
        DecodeCase{"x", "STORED_DOT", {0x00, 0, 0, 0, 0, 0, 0, 0x01, 0, 0}, 1, "1.000"},
        DecodeCase{"x", "STORED_DOT", {0x00, 0, 0, 0, 0, 0, 0, 0, 0x01, 0, 0}, -1,
                   "Ошибка; (Непонятная длина ответа:11)"}));

INSTANTIATE_TEST_SUITE_P(
    Integers, DecodeTable,
    testing::Values(
        DecodeCase{"x", "DEC_dot", {0xFF}, 1, "255"},
        DecodeCase{"x", "DEC_dot", {0x12, 0x34}, 1, "4660"},
        DecodeCase{"x", "DEC_dot", {0x12, 0xAA, 0xBB}, 1, "18"},
        DecodeCase{"x", "DEC_dot", {0x12, 0x34, 0xAA, 0xBB}, 1, "4660"},
        DecodeCase{"x", "DEC_dot", {1, 2, 3, 4, 5}, -1, "Ошибка; (Непонятная длина ответа:5)"},
        DecodeCase{"x", "CLK_frm", {0x02, 0xF2}, 1, "12:34"},
        DecodeCase{"x", "CLK_frm", {0x05}, 1, "00:05"},
        DecodeCase{"x", "CLK_frm", {0xFF, 0xFF}, 1, "1092:15"},
        DecodeCase{"x", "CLK_frm", {1, 2, 3, 4, 5}, -1, "Ошибка; (Непонятная длина ответа:5)"}));

INSTANTIATE_TEST_SUITE_P(
    Texts, DecodeTable,
    testing::Values(
        DecodeCase{"x", "string", {'c', 'b', 'a'}, 1, "abc"},
        DecodeCase{"x", "ASCI", {0xE9, 0xC0}, 1, "Ай"},
        DecodeCase{"x", "name", {78, 2, 23, 20}, 1, "AB.1 "},
        DecodeCase{"x", "name", {72, 74, 76, 79, 0xAA, 0xBB}, 1, " ./_-"},
        DecodeCase{"x", "name", {78, 2, 80, 20}, -1, "Недопустимый код символа в сетевом имени"},
        DecodeCase{"x", "name", {78, 2, 20}, -1, "Ошибка; (Непонятная длина ответа:3)"},
        DecodeCase{"x", kEnum, {0x00}, 1, "Выкл"},
        DecodeCase{"x", kEnum, {0x02, 0x55}, 1, "Авто режим"},
        DecodeCase{"x", kEnum, {0x04}, 0, "unchanged"},
        DecodeCase{"x", "неизвестен", {0x00}, 1, "неизвестен"}));

TEST(RealTimeClockDecode, ReadsFieldsAndStoresThemInTheDocumentContext) {
  ValueContext context;
  const Decoded decoded =
      decode("r.tim", "Real_Time_Clock", {9, 3, 14, 10, 5, 7, 0x61}, 0, &context);
  EXPECT_EQ(decoded.result, 1);
  EXPECT_EQ(decoded.text, "15.04.2009 10:05:07");
  EXPECT_EQ(context.clock(), (ClockFields{-1, 7, 5, 10, 15, 4, 9}));
}

TEST(RealTimeClockDecode, PrintsOnlyTheFieldsPresent) {
  // Hours, minutes, seconds and the fraction: first index 0, four fields.
  EXPECT_EQ(decode("t", "Real_Time_Clock", {23, 59, 58, 4, 0x40}).text, "23:59:58.4");
  // Day and month only (indexes 4 and 5), counted from 0 on the wire.
  EXPECT_EQ(decode("t", "Real_Time_Clock", {11, 30, 0x24}).text, "31.12.");
  EXPECT_EQ(decode("t", "Real_Time_Clock", {0x00}).text, "");
}

TEST(RealTimeClockDecode, RefusesADescriptorCountingMoreFieldsThanSent) {
  ValueContext context;
  const Decoded decoded = decode("t", "Real_Time_Clock", {9, 3, 0x61}, 0, &context);
  EXPECT_EQ(decoded.result, -1);
  EXPECT_EQ(decoded.text, "Ошибка; (Непонятная длина ответа:3)");
  EXPECT_EQ(context.clock(), (ClockFields{-1, -1, -1, -1, -1, -1, -1}));
}

TEST(RealTimeClockDecode, SkipsFieldsBeyondTheYear) {
  // First index 5, three fields: month, year and a non-existent index 7.
  EXPECT_EQ(decode("t", "Real_Time_Clock", {99, 9, 3, 0x35}).text, "04.2009 ");
}

TEST(RealTimeClockDecode, EachDocumentKeepsItsOwnClock) {
  ValueContext first;
  ValueContext second;
  decode("t", "Real_Time_Clock", {9, 3, 14, 10, 5, 7, 0x61}, 0, &first);
  decode("t", "Real_Time_Clock", {30, 0x11}, 0, &second);
  EXPECT_EQ(first.clock()[1], 7);
  EXPECT_EQ(second.clock()[1], 30);
  EXPECT_EQ(second.clock()[6], -1);
}

TEST(ApplyData, StoresTheTextUnlessNotConverted) {
  MyConverter converter;
  converter.setName("bPS");
  converter.setRawValueText("Нет данных");
  const uint8_t unknown[] = {42};
  EXPECT_EQ(converter.applyData(unknown, 1), 0);
  EXPECT_EQ(converter.valueText(), "Нет данных");

  converter.setName("r.oe");
  const uint8_t brokenSensor[] = {0xFD, 0, 0, 0};
  EXPECT_EQ(converter.applyData(brokenSensor, 4), 1);
  EXPECT_EQ(converter.valueText(), "Обрыв датчика.");

  converter.setName("x");
  converter.setTypeDescriptor("DEC_dot");
  const uint8_t tooLong[] = {1, 2, 3, 4, 5};
  EXPECT_EQ(converter.applyData(tooLong, 5), -1);
  EXPECT_EQ(converter.valueText(), "Ошибка; (Непонятная длина ответа:5)");
}

TEST(RawData, KeepsAtMostTheBufferSize) {
  MyConverter converter;
  std::vector<uint8_t> big(200, 0xAB);
  converter.setRawData(big.data(), big.size());
  EXPECT_EQ(converter.rawData().size(), MyConverter::kRawDataSize);
  const uint8_t reply[] = {1, 2, 3};
  converter.setRawData(reply, 3);
  EXPECT_EQ(converter.rawData(), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(FreshConverter, HasTheDefaultsOfAnUnknownType) {
  MyConverter converter;
  EXPECT_EQ(converter.name(), "");
  EXPECT_EQ(converter.valueText(), "");
  EXPECT_EQ(converter.typeDescriptor(), "неизвестен");
  EXPECT_EQ(converter.decimals(), 0);
  EXPECT_FALSE(converter.hasLimits());
}

}  // namespace
}  // namespace zelmot::model
