// The simulator serving the compiled device model of the build: every catalogue element
// answers a read through the program's link, and what was read can be written back.
#include <gtest/gtest.h>

#include <filesystem>
#include <variant>

#include "model/description_files.h"
#include "model/enumeration_codec.h"
#include "model/value_context.h"
#include "parameter_store.h"
#include "sim_harness.h"

namespace zelmot::sim::testing {
namespace {

const std::string kDataDir = ZELMOT_BIN_DIR;

class RealModelTest : public ::testing::Test {
protected:
  void SetUp() override {
    const std::string catalogue = kDataDir + "/" + model::kCatalogueFileName;
    // The build makes the model before the tests; without it this suite would prove nothing.
    ASSERT_TRUE(std::filesystem::exists(catalogue)) << "no compiled model in " << kDataDir;
    std::string error;
    ASSERT_TRUE(model::readCatalogueFile(catalogue, records, error)) << error;
    std::vector<model::TreeRecord> tree;
    ASSERT_TRUE(model::readTreeFile(kDataDir + "/" + model::kMeasurementTreeFileName, tree, error))
        << error;
    for (const auto& record : tree) {
      if (const auto* reference = std::get_if<model::ReferenceRecord>(&record)) {
        operative.insert(reference->catalogueIndex);
      }
    }
  }

  bool isGraphNode(const model::CatalogueRecord& r) const {
    return r.name == "absc" || r.name == "ordn";
  }

  std::vector<model::CatalogueRecord> records;
  std::set<int32_t> operative;
};

TEST_F(RealModelTest, LoadsFromTheDataDirectory) {
  ParameterStore store;
  std::string error;
  ASSERT_TRUE(loadParameterStore(kDataDir, store, error)) << error;
  EXPECT_GT(store.all().size(), 100u);
  EXPECT_TRUE(store.operative(link::name_hash("rEAd")));
  EXPECT_FALSE(store.operative(link::name_hash("SP")));
}

TEST_F(RealModelTest, EveryElementAnswersARead) {
  SimHarness sim(SimOptions{}, records, operative);
  size_t read = 0;
  for (const model::CatalogueRecord& r : records) {
    if (r.name == "APLY") continue;  // a command, not a value
    auto p = sim.parameter(r.name, r.linearIndex);
    const int result = sim.read(*p);
    if (isGraphNode(r)) {
      EXPECT_EQ(p->errorText(), "") << r.name << ":" << r.linearIndex;  // nodes beyond the count
      continue;
    }
    EXPECT_EQ(result, 0) << r.name << ":" << r.linearIndex << " " << p->errorText();
    EXPECT_NE(p->valueText(), "Нет данных") << r.name << ":" << r.linearIndex;
    ++read;
  }
  EXPECT_GT(read, 100u);
}

TEST_F(RealModelTest, ReadValuesCanBeWrittenBack) {
  SimHarness sim(SimOptions{}, records, operative);
  // As the program writes: at the full access level (the protection setting goes shifted).
  model::ValueContext fullLevel;
  fullLevel.setAccessLevel(model::kMaximalAccessLevel);
  for (const model::CatalogueRecord& r : records) {
    if (r.readOnly || r.name == "APLY" || isGraphNode(r) || r.name == "rtC") continue;
    if (r.attributeMultiplicity != 0 && !r.editable) continue;
    auto p = sim.parameter(r.name, r.linearIndex);
    p->setContext(&fullLevel);
    ASSERT_EQ(sim.read(*p), 0) << r.name;
    const std::string value = p->valueText();
    EXPECT_EQ(sim.write(*p, value), 0) << r.name << ":" << r.linearIndex << " = " << value
                                       << ": " << p->errorText();
    EXPECT_EQ(p->valueText(), value) << r.name << ":" << r.linearIndex;
  }
}

}  // namespace
}  // namespace zelmot::sim::testing
