// The protection enumeration on the line: a host at the full access level sends its
// positions shifted to 172..175; a plain position may change the setting only while the
// user owns it.
#include <gtest/gtest.h>

#include "model/enumeration_codec.h"
#include "model/value_context.h"
#include "sim_harness.h"
#include "support/catalogue_records.h"

namespace zelmot::sim::testing {
namespace {

constexpr const char* kUnlockedEditable = "Редактируемо,Разблокировано";

// The test catalogue with two protection settings: one the factory owns, one the user owns.
std::vector<model::CatalogueRecord> protectionCatalogue() {
  std::vector<model::CatalogueRecord> records = testCatalogue();
  for (const auto& [name, factory] : {std::pair{"LoCK", true}, std::pair{"uLoC", false}}) {
    model::CatalogueRecord r = test_support::catalogueRecord(
        name, model::kAttributeCombinationsDescriptor, "Не редактируемо,Блокировано");
    records.push_back(test_support::attributed(r, 1, true, factory));
  }
  return records;
}

class Protection : public ::testing::Test {
protected:
  Protection() : sim({}, protectionCatalogue(), {}) {}
  SimHarness sim;
  model::ValueContext fullLevel;
  void SetUp() override { fullLevel.setAccessLevel(model::kMaximalAccessLevel); }
};

TEST_F(Protection, ShiftedByteOfTheFullLevelIsTakenAndReadsBackPlain) {
  auto lock = sim.parameter("LoCK");
  lock->setContext(&fullLevel);
  ASSERT_EQ(sim.write(*lock, kUnlockedEditable), 0) << lock->errorText();
  const auto raw = sim.transact(1, "LoCK", {});
  ASSERT_EQ(raw.result, 1) << raw.errorText;
  EXPECT_EQ(raw.data(), std::vector<uint8_t>{0x03});
  auto reader = sim.parameter("LoCK");
  ASSERT_EQ(sim.read(*reader), 0);
  EXPECT_EQ(reader->valueText(), kUnlockedEditable);
}

TEST_F(Protection, PlainByteIsRefusedWhileTheFactoryOwnsTheSetting) {
  auto lock = sim.parameter("LoCK");  // no context: the lowest level, plain positions
  EXPECT_EQ(sim.write(*lock, kUnlockedEditable), 1);
  EXPECT_EQ(lock->errorText(),
            "Несанкционированная попытка редактирования Атрибутов (попытка изменить атрибут "
            "пользователем, когда он не является хозяином параметра)");
  auto reader = sim.parameter("LoCK");
  ASSERT_EQ(sim.read(*reader), 0);
  EXPECT_EQ(reader->valueText(), "Не редактируемо,Блокировано");
}

TEST_F(Protection, PlainByteChangesASettingTheUserOwns) {
  auto lock = sim.parameter("uLoC");
  ASSERT_EQ(sim.write(*lock, kUnlockedEditable), 0) << lock->errorText();
  EXPECT_EQ(lock->valueText(), kUnlockedEditable);
}

TEST(ProtectionRights, FactoryRightsTakeThePlainByteToo) {
  SimOptions options;
  options.factoryRights = true;
  SimHarness sim(options, protectionCatalogue(), {});
  auto lock = sim.parameter("LoCK");
  ASSERT_EQ(sim.write(*lock, kUnlockedEditable), 0) << lock->errorText();
}

TEST_F(Protection, BytesBetweenThePlainAndShiftedRangesAreRefused) {
  for (uint8_t byte : {uint8_t{4}, uint8_t{171}, uint8_t{176}}) {
    const auto raw = sim.transact(0, "uLoC", {byte});
    EXPECT_EQ(raw.result, 0) << int(byte);
  }
}

}  // namespace
}  // namespace zelmot::sim::testing
