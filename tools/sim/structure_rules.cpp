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

constexpr int kChannelsPerObject = 8;

void recomputeStructure(ParameterStore& store) {
  const double objects = numberOf(store, "n.Obj", -1, 1);
  const double channels = std::max(numberOf(store, "n.Ch", -1, 1), objects);
  assignAll(store, "n.Ch", channels);
  assignAll(store, "S.idx", (objects - 1) * kChannelsPerObject + channels);
  assignAll(store, "S.SAU", 100 + numberOf(store, "n.Ch", -1, 1));
}

void recomputeObject(ParameterStore& store, int32_t object) {
  const double type = numberOf(store, "OD.tP", object, 0);
  assignAt(store, "S.OD", object, type == 0 ? 0 : 1);
  int connected = 0;
  for (int32_t k = 0; k < kChannelsPerObject; ++k) {
    if (numberOf(store, "A.i.j", object * kChannelsPerObject + k, 0) != 0) ++connected;
  }
  assignAt(store, "r.OD.i", object, type == 0 ? 0 : connected);
}

void recomputeProgram(ParameterStore& store) {
  const bool running = numberOf(store, "nPC", -1, 0) != 0;
  assignAll(store, "S.MD", running ? 1 : 0);
  assignAll(store, "PCP.i", running ? 1 : 0);
}

void recomputeOutputElement(ParameterStore& store, int32_t index) {
  const double relays = numberOf(store, "n.rel", -1, 0);
  int state = 0;
  if (numberOf(store, "OP", index, 0) != 0) state |= 1;
  if (numberOf(store, "al.re", index, 0) != 0) state |= 2;
  if (index < relays) state |= 4;
  assignAt(store, "S.OE", index, state);
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
  if (sameName(name, "n.Obj") || sameName(name, "n.Ch")) {
    recomputeStructure(store);
  } else if (sameName(name, "OD.tP")) {
    recomputeObject(store, index < 0 ? 0 : index);
  } else if (sameName(name, "nPC")) {
    recomputeProgram(store);
  } else if (sameName(name, "OP") || sameName(name, "al.re")) {
    recomputeOutputElement(store, index < 0 ? 0 : index);
  } else if (sameName(name, "n.rel")) {
    forEachElement(store, "S.OE", [&store](StoredParameter& state) {
      recomputeOutputElement(store, state.index < 0 ? 0 : state.index);
    });
  } else if (sameName(name, "A.i.j") && index >= 0) {
    double value = 0;
    if (numericValue(written, value)) assignAt(store, "A.i.j", index ^ 1, value);
  }
}

void recomputeAll(ParameterStore& store) {
  recomputeStructure(store);
  forEachElement(store, "OD.tP", [&store](StoredParameter& type) {
    recomputeObject(store, type.index < 0 ? 0 : type.index);
  });
  recomputeProgram(store);
  forEachElement(store, "S.OE", [&store](StoredParameter& state) {
    recomputeOutputElement(store, state.index < 0 ? 0 : state.index);
  });
}

}  // namespace zelmot::sim
