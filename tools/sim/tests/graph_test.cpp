// The setpoint-correction graphs: X only while the graph has no nodes, X ascending, node
// counts that cover ascending nodes only, and nodes beyond the count absent.
#include <gtest/gtest.h>

#include "sim_harness.h"

namespace zelmot::sim::testing {
namespace {

const char* const kHasNodes = "Попытка записи X при ненулевом числе узлов графика";
const char* const kNotAscending = "Нарушена упорядоченность узлов X по возрастанию";

class GraphTest : public ::testing::Test {
protected:
  int write(const char* name, int32_t index, const char* value) {
    auto p = sim.parameter(name, index);
    const int result = sim.write(*p, value);
    lastError = p->errorText();
    return result;
  }
  std::string read(const char* name, int32_t index) {
    auto p = sim.parameter(name, index);
    sim.read(*p);
    lastError = p->errorText();
    return p->valueText();
  }

  SimHarness sim;
  std::string lastError;
};

TEST_F(GraphTest, EditorSequenceIsAccepted) {
  // As the graph editor writes: count 0, the nodes in order, then the count.
  ASSERT_EQ(write("Node", 10, "0"), 0) << lastError;
  const char* xs[] = {"-10", "0", "12.5"};
  for (int k = 0; k < 3; ++k) {
    ASSERT_EQ(write("absc", 10 + k, xs[k]), 0) << k << ": " << lastError;
    ASSERT_EQ(write("ordn", 10 + k, "1"), 0) << lastError;
  }
  ASSERT_EQ(write("Node", 10, "3"), 0) << lastError;
  EXPECT_EQ(read("absc", 12), "12.500");
  EXPECT_EQ(read("Node", 10), "3");
}

TEST_F(GraphTest, XWhileTheGraphHasNodesIsRefused) {
  ASSERT_EQ(write("absc", 0, "1"), 0);
  ASSERT_EQ(write("absc", 1, "2"), 0);
  ASSERT_EQ(write("Node", 0, "2"), 0) << lastError;
  EXPECT_EQ(write("absc", 0, "0.5"), 1);
  EXPECT_EQ(lastError, kHasNodes);
  EXPECT_EQ(write("ordn", 0, "7"), 0) << "Y may change at any time: " << lastError;
  EXPECT_EQ(write("absc", 10, "5"), 0) << "the other graph has no nodes: " << lastError;
}

TEST_F(GraphTest, XNotAboveThePreviousNodeIsRefused) {
  ASSERT_EQ(write("absc", 0, "5"), 0);
  EXPECT_EQ(write("absc", 1, "5"), 1);
  EXPECT_EQ(lastError, kNotAscending);
  EXPECT_EQ(write("absc", 1, "4.9"), 1);
  EXPECT_EQ(lastError, kNotAscending);
  EXPECT_EQ(write("absc", 1, "5.1"), 0) << lastError;
}

TEST_F(GraphTest, CountOverNodesOutOfOrderIsRefused) {
  ASSERT_EQ(write("absc", 0, "1"), 0);
  ASSERT_EQ(write("absc", 1, "2"), 0);
  // Node 2 keeps the value of an older graph that lies below node 1.
  ASSERT_EQ(write("absc", 3, "9"), 0);
  ASSERT_EQ(write("absc", 2, "3"), 0);
  ASSERT_EQ(write("absc", 3, "0"), 1);
  EXPECT_EQ(write("Node", 0, "4"), 0) << "3 < 9 ascends: " << lastError;
  ASSERT_EQ(write("Node", 0, "0"), 0);
  ASSERT_EQ(write("absc", 2, "1.5"), 1) << "below node 1";
  EXPECT_EQ(write("Node", 0, "11"), 1);
  EXPECT_EQ(lastError, "Значение мантиссы превышает ограничения дескриптора");
}

TEST_F(GraphTest, NodesBeyondTheCountDoNotExist) {
  ASSERT_EQ(write("ordn", 4, "3"), 0);
  auto p = sim.parameter("ordn", 4);
  EXPECT_EQ(sim.read(*p), 1);
  EXPECT_EQ(p->errorText(), "") << "the program takes a missing node for no error";
  const auto raw = sim.transact(1, "ordn", {0x00, 0x04});
  EXPECT_EQ(raw.errorText, "Индекс параметра превышает ограничитель индекса");
}

}  // namespace
}  // namespace zelmot::sim::testing
