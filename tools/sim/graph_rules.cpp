#include "graph_rules.h"

#include "value_codec.h"

namespace zelmot::sim {
namespace {

bool isNode(const StoredParameter& parameter) {
  return sameName(parameter.name, "absc") || sameName(parameter.name, "ordn");
}

// Node count of the graph that holds linear index `index`; -1 when unknown.
int nodeCount(ParameterStore& store, int32_t index) {
  StoredParameter* count = store.findByName("Node", (index / kGraphNodes) * kGraphNodes);
  double value = 0;
  if (count == nullptr || !numericValue(*count, value)) return -1;
  return static_cast<int>(value);
}

bool xOf(ParameterStore& store, int32_t index, double& x) {
  StoredParameter* node = store.findByName("absc", index);
  return node != nullptr && numericValue(*node, x);
}

DeviceError checkNodeCount(ParameterStore& store, const StoredParameter& parameter,
                           const std::string& newText) {
  double count = 0;
  if (!numericValue(parameter, newText, count)) return DeviceError::None;
  if (count > kGraphNodes) return DeviceError::MantissaBeyondLimits;
  const int32_t first = parameter.index < 0 ? 0 : parameter.index;
  double previous = 0;
  for (int k = 0; k < static_cast<int>(count); ++k) {
    double x = 0;
    if (!xOf(store, first + k, x)) continue;
    if (k > 0 && x <= previous) return DeviceError::GraphNotAscending;
    previous = x;
  }
  return DeviceError::None;
}

}  // namespace

DeviceError checkGraphWrite(ParameterStore& store, const StoredParameter& parameter,
                            const std::string& newText) {
  if (sameName(parameter.name, "Node")) return checkNodeCount(store, parameter, newText);
  if (!sameName(parameter.name, "absc") || parameter.index < 0) return DeviceError::None;
  if (nodeCount(store, parameter.index) > 0) return DeviceError::GraphHasNodes;
  if (parameter.index % kGraphNodes == 0) return DeviceError::None;
  double x = 0;
  double previous = 0;
  if (numericValue(parameter, newText, x) && xOf(store, parameter.index - 1, previous) &&
      x <= previous) {
    return DeviceError::GraphNotAscending;
  }
  return DeviceError::None;
}

DeviceError checkGraphRead(ParameterStore& store, const StoredParameter& parameter) {
  if (!isNode(parameter) || parameter.index < 0) return DeviceError::None;
  const int count = nodeCount(store, parameter.index);
  if (count >= 0 && parameter.index % kGraphNodes >= count) return DeviceError::IndexBeyondLimit;
  return DeviceError::None;
}

}  // namespace zelmot::sim
