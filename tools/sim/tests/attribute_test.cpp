// The attribute command M.s.t.r.: one editable/owner pair per attribute group, read and
// written through exchange_parameter, and the factory's ownership respected.
#include <gtest/gtest.h>

#include "link/frame_codec.h"
#include "sim_harness.h"

namespace zelmot::sim::testing {
namespace {

std::vector<uint8_t> codeBytes(const char* name) {
  const uint16_t code = link::name_hash(name);
  return {static_cast<uint8_t>(code >> 8), static_cast<uint8_t>(code & 0xFF)};
}

TEST(Attributes, ReadWithTheValueEndsUpInTheParameter) {
  SimHarness sim;
  auto p = sim.parameter("Prot");
  p->setEditable(true);
  p->setFactoryOwned(false);
  ASSERT_EQ(sim.read(*p), 0) << p->errorText();
  EXPECT_FALSE(p->editable());
  EXPECT_TRUE(p->factoryOwned());
}

TEST(Attributes, FirstElementOfEachGroupCarriesThem) {
  SimHarness sim;
  auto groupOne = sim.parameter("Mode", 2);
  ASSERT_EQ(sim.read(*groupOne), 0) << groupOne->errorText();
  EXPECT_FALSE(groupOne->editable());
  // The reply echoes the index byte and the command code after the attribute byte.
  std::vector<uint8_t> request{0x00, 0x03};
  const auto code = codeBytes("Mode");
  request.insert(request.end(), code.begin(), code.end());
  const auto raw = sim.transact(1, "M.s.t.r.", request);
  ASSERT_EQ(raw.result, 1) << raw.errorText;
  const std::vector<uint8_t> expected{0x02, 0x00, 0x03, code[0], code[1]};
  EXPECT_EQ(raw.data(), expected) << "index 3 belongs to the locked group of index 2";
}

TEST(Attributes, UserOwnedAttributesCanBeWritten) {
  SimHarness sim;
  sim.link().setAttributeWritePermission(true);
  auto lock = sim.parameter("Own");
  lock->setEditable(false);
  // The attributes go first, so the value that follows is already refused.
  EXPECT_EQ(sim.write(*lock, "5"), 1);
  EXPECT_EQ(lock->errorText(), "Редактирование параметра запрещено атрибутами доступа");
  auto reader = sim.parameter("Own");
  ASSERT_EQ(sim.read(*reader), 0);
  EXPECT_FALSE(reader->editable());
  EXPECT_EQ(reader->valueText(), "4");

  auto unlock = sim.parameter("Own");
  unlock->setEditable(true);
  ASSERT_EQ(sim.write(*unlock, "6"), 0) << unlock->errorText();
  EXPECT_EQ(unlock->valueText(), "6");
}

TEST(Attributes, FactoryOwnedAttributesAreRefusedToTheUser) {
  SimHarness sim;
  sim.link().setAttributeWritePermission(true);
  auto p = sim.parameter("Prot");
  p->setEditable(true);
  p->setFactoryOwned(false);
  EXPECT_EQ(sim.write(*p, "3"), 200);
  EXPECT_EQ(p->errorText(),
            "Несанкционированная попытка редактирования Атрибутов (попытка изменить атрибут "
            "пользователем, когда он не является хозяином параметра)");
}

TEST(Attributes, FactoryRightsMayChangeThem) {
  SimOptions options;
  options.factoryRights = true;
  SimHarness sim(options);
  sim.link().setAttributeWritePermission(true);
  auto p = sim.parameter("Prot");
  p->setEditable(true);
  p->setFactoryOwned(true);
  ASSERT_EQ(sim.write(*p, "9"), 0) << p->errorText();
  EXPECT_EQ(p->valueText(), "9");
}

TEST(Attributes, UnchangedFactoryAttributesPassWithAWrite) {
  SimHarness sim;
  sim.link().setAttributeWritePermission(true);
  auto p = sim.parameter("Prot");  // catalogue: not editable, factory owned
  EXPECT_EQ(sim.write(*p, "3"), 1);
  EXPECT_EQ(p->errorText(), "Редактирование параметра запрещено атрибутами доступа");
}

struct AttributeRefusal {
  const char* name;
  std::vector<uint8_t> indexBytes;
  const char* errorText;
};

class AttributeRefusalTest : public ::testing::TestWithParam<AttributeRefusal> {};

TEST_P(AttributeRefusalTest, Refused) {
  const AttributeRefusal& c = GetParam();
  SimHarness sim;
  std::vector<uint8_t> request = c.indexBytes;
  const auto code = codeBytes(c.name);
  request.insert(request.end(), code.begin(), code.end());
  const auto raw = sim.transact(1, "M.s.t.r.", request);
  EXPECT_EQ(raw.result, 0);
  EXPECT_EQ(raw.errorText, c.errorText);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, AttributeRefusalTest,
    ::testing::Values(AttributeRefusal{"SP", {}, "У запрошенного параметра отсутствуют признаки"},
                      AttributeRefusal{"NoSuch", {}, "Не найден дескриптор"},
                      AttributeRefusal{"Mode", {0x00, 0x09}, "Недопустимо большой линейный индекс"}));

}  // namespace
}  // namespace zelmot::sim::testing
