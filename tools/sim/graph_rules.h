#pragma once
// The device's rules for its setpoint-correction graphs. Graph g (0 or 1) keeps its node
// count in Node at index 10*g and node k in absc/ordn at index 10*g + k. X values may only
// be written while the node count is 0, each X must lie above the X of the node before it,
// and a node count is taken only when its nodes ascend. Nodes beyond the count do not
// exist for a reader.
#include <string>

#include "device_errors.h"
#include "parameter_store.h"

namespace zelmot::sim {

inline constexpr int kGraphNodes = 10;

DeviceError checkGraphWrite(ParameterStore& store, const StoredParameter& parameter,
                            const std::string& newText);

DeviceError checkGraphRead(ParameterStore& store, const StoredParameter& parameter);

}  // namespace zelmot::sim
