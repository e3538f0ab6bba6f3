#include "structure_rules.h"

#include <algorithm>
#include <cmath>

#include "link/frame_codec.h"
#include "value_codec.h"

namespace zelmot::sim {
namespace {

double numberOf(ParameterStore& store, const char* name, int32_t index, double fallback) {
  StoredParameter* parameter = store.findByName(name, index);
  double value = 0;
  return parameter != nullptr && numericValue(*parameter, value) ? value : fallback;
}

void assign(StoredParameter& parameter, double value) {
  const model::MyConverter& limits = *parameter.value;
  if (limits.hasLimits()) value = std::clamp(value, limits.minimum(), limits.maximum());
  setNumericValue(parameter, value);
}

// Every element of `name` (the parameter itself when it has no index).
template <typename Action>
void forEachElement(ParameterStore& store, const char* name, Action action) {
  const uint16_t command = link::name_hash(name);
  auto& all = store.all();
  for (auto it = all.lower_bound({command, INT32_MIN});
       it != all.end() && it->first.first == command; ++it) {
    action(it->second);
  }
}

void assignAll(ParameterStore& store, const char* name, double value) {
  forEachElement(store, name, [value](StoredParameter& parameter) { assign(parameter, value); });
}

void assignAt(ParameterStore& store, const char* name, int32_t index, double value) {
  if (StoredParameter* parameter = store.findByName(name, index)) assign(*parameter, value);
}

void recomputeStructure(ParameterStore& store) {
  forEachElement(store, "n.Ch", [](StoredParameter& parameter) {
    double value = 0;
    if (numericValue(parameter, value)) assign(parameter, value);
  });
  const double objects = numberOf(store, "n.Obj", -1, 1);
  const double channels = numberOf(store, "n.Ch", -1, 1);
  assignAll(store, "S.idx", objects * channels);
}

void recomputeOutputElement(ParameterStore& store, int32_t index) {
  int set = 0;
  for (const char* name : {"OP", "al.re", "n.rel"}) {
    if (numberOf(store, name, index, 0) != 0) ++set;
  }
  assignAt(store, "S.OE", index, set);
}

}  // namespace

DeviceError checkStructureWrite(ParameterStore& store, const StoredParameter& parameter,
                                const std::string& newText) {
  (void)store;
  if (!sameName(parameter.name, "n.Obj") && !sameName(parameter.name, "n.Ch")) {
    return DeviceError::None;
  }
  double current = 0;
  double wanted = 0;
  if (!numericValue(parameter, current) || !numericValue(parameter, newText, wanted)) {
    return DeviceError::None;
  }
  return std::fabs(wanted - current) > 1.0 ? DeviceError::InvalidCombination : DeviceError::None;
}

void recomputeDependents(ParameterStore& store, const StoredParameter& written) {
  const std::string& name = written.name;
  const int32_t index = written.index;
  if (sameName(name, "n.Obj")) {
    recomputeStructure(store);
  } else if (sameName(name, "n.Ch")) {
    recomputeStructure(store);
    assignAll(store, "S.SAU", numberOf(store, "n.Ch", -1, 1));
  } else if (sameName(name, "OD.tP")) {
    assignAll(store, "r.OD.i", 0);
    double type = 0;
    if (numericValue(written, type)) assignAt(store, "S.OD", index, type);
  } else if (sameName(name, "nPC")) {
    assignAll(store, "S.MD", 0);
    assignAll(store, "PCP.i", 0);
  } else if (sameName(name, "OP") || sameName(name, "al.re") || sameName(name, "n.rel")) {
    recomputeOutputElement(store, index);
  } else if (sameName(name, "A.i.j") && index >= 0) {
    double value = 0;
    if (numericValue(written, value)) assignAt(store, "A.i.j", index ^ 1, value);
  }
}

}  // namespace zelmot::sim
