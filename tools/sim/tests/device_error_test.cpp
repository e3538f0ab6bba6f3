// The device refuses what a real one refuses, and the program sees the catalogue text.
#include <gtest/gtest.h>

#include "sim_harness.h"

namespace zelmot::sim::testing {
namespace {

struct RefusedWrite {
  const char* name;
  int32_t index;
  const char* value;
  const char* errorText;
};

class RefusedWriteTest : public ::testing::TestWithParam<RefusedWrite> {};

TEST_P(RefusedWriteTest, ErrorTextAndValueKept) {
  const RefusedWrite& c = GetParam();
  SimHarness sim;
  auto before = sim.parameter(c.name, c.index);
  const int readResult = sim.read(*before);
  auto p = sim.parameter(c.name, c.index);
  EXPECT_EQ(sim.write(*p, c.value), 1);
  EXPECT_EQ(p->errorText(), c.errorText);
  if (readResult == 0) {
    auto after = sim.parameter(c.name, c.index);
    ASSERT_EQ(sim.read(*after), 0);
    EXPECT_EQ(after->valueText(), before->valueText()) << "a refused write changes nothing";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, RefusedWriteTest,
    ::testing::Values(
        RefusedWrite{"NoSuch", -1, "1", "Не найден дескриптор"},
        RefusedWrite{"Lock", -1, "5", "Попытка модификации ROM-параметра"},
        RefusedWrite{"Ident", -1, "X", "Попытка модификации ROM-параметра"},
        RefusedWrite{"Set.P", 2, "1.0", "Попытка модификации ROM-параметра"},
        RefusedWrite{"SP", -1, "501", "Значение мантиссы превышает ограничения дескриптора"},
        RefusedWrite{"SP", -1, "-50.1", "Значение мантиссы превышает ограничения дескриптора"},
        RefusedWrite{"Ti", -1, "61:00", "Значение мантиссы превышает ограничения дескриптора"},
        RefusedWrite{"Mode", 3, "Авто", "Редактирование параметра запрещено атрибутами доступа"},
        RefusedWrite{"Prot", -1, "1", "Редактирование параметра запрещено атрибутами доступа"},
        RefusedWrite{"Shift", 9, "1", "Недопустимо большой линейный индекс"},
        RefusedWrite{"LEn", -1, "7",
                     "Недопустимое сочетание значений параметров (Изменение параметра было "
                     "запрещено функцией Valid)"},
        RefusedWrite{"Addr", -1, "20",
                     "Недопустимое сочетание значений параметров (Изменение параметра было "
                     "запрещено функцией Valid)"},
        RefusedWrite{"Addr", -1, "256",
                     "Недопустимое сочетание значений параметров (Изменение параметра было "
                     "запрещено функцией Valid)"}));

TEST(DeviceErrors, ReadOfIndexBeyondTheLastElement) {
  SimHarness sim;
  auto p = sim.parameter("Shift", 8);
  EXPECT_EQ(sim.read(*p), 1);
  EXPECT_EQ(p->errorText(), "Недопустимо большой линейный индекс");
}

// Frames the program never builds, sent raw: each reaches its own check.
struct RawRefusal {
  int requestFlag;
  const char* name;
  std::vector<uint8_t> data;
  const char* errorText;
};

class RawRefusalTest : public ::testing::TestWithParam<RawRefusal> {};

TEST_P(RawRefusalTest, ErrorReplyCarriesTheCode) {
  const RawRefusal& c = GetParam();
  SimHarness sim;
  const auto raw = sim.transact(c.requestFlag, c.name, c.data);
  EXPECT_EQ(raw.result, 0);
  EXPECT_EQ(raw.errorText, c.errorText);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, RawRefusalTest,
    ::testing::Values(
        // STORED_DOT with four decimals, and with two where the parameter has one fixed.
        RawRefusal{0, "SP", {0x40, 0x10}, "Задано положение точки, превышающее 3"},
        RawRefusal{0, "SP", {0x20, 0x10}, "Неверно задано положение точки (при фиксированной точке)"},
        RawRefusal{0, "SP", {0x10, 0x10, 0x10, 0x10, 0x10}, "Размер поля данных не соответствует ожидаемому"},
        RawRefusal{1, "SP", {0x01}, "Размер поля данных не соответствует ожидаемому"},
        RawRefusal{0, "Shift", {0x01}, "Размер поля данных не соответствует ожидаемому"},
        RawRefusal{0, "Mode", {0x07, 0x00, 0x00}, "Значение мантиссы превышает ограничения дескриптора"},
        RawRefusal{0, "NetN", {0x50, 0x00, 0x00, 0x00}, "Принят недопустимый символ"},
        RawRefusal{0, "CLB.S", {}, "Значение бита запроса не соответствует ожидаемому"},
        RawRefusal{1, "CLB.T", {}, "задача еще не запущена(Сегмент COMMON свободен)"},
        RawRefusal{1, "M.s.t.r.", {0x00}, "Размер поля данных не соответствует ожидаемому"}));

TEST(DeviceErrors, GroupedAttributesLockWholeGroup) {
  SimHarness sim;
  auto unlocked = sim.parameter("Mode", 1);
  auto locked = sim.parameter("Mode", 2);
  EXPECT_EQ(sim.write(*unlocked, "Авто"), 0) << unlocked->errorText();
  EXPECT_EQ(sim.write(*locked, "Авто"), 1);
  EXPECT_EQ(locked->errorText(), "Редактирование параметра запрещено атрибутами доступа");
}

}  // namespace
}  // namespace zelmot::sim::testing
