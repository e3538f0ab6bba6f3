#pragma once
// The state of a parameter that the configuration file stores after its name, value and
// description, in the file's order. Parameter keeps it in one piece, so that storing,
// loading and snapshots copy it whole instead of field by field.
#include <cstdint>
#include <string>

namespace zelmot::model {

// Protection attributes, pending changes and the last exchange result: what a reset of
// the values clears and the parameter table carries.
struct ExchangeState {
  std::string errorText;
  bool valueChanged = false;
  bool editAttributeChanged = false;
  bool ownerAttributeChanged = false;
  bool editable = true;
  bool factoryOwned = false;

  bool anyChange() const { return valueChanged || editAttributeChanged || ownerAttributeChanged; }
  void clearChanges() { valueChanged = editAttributeChanged = ownerAttributeChanged = false; }
};

struct ParameterState {
  bool hasLinearIndex = false;
  int32_t linearIndex = 0;
  int32_t requestIndex = 0;  // added to the base address; -1 = address 255
  bool writableByCatalogue = true;
  bool writableHere = true;
  ExchangeState exchange;
  int32_t privacy = 0;
  bool catalogueFlag = false;
};

// Calls `visit` on every field in the order of the configuration file; the one list that
// both reading and writing a record follow.
template <typename State, typename Visit>
void forEachStoredField(State& state, Visit&& visit) {
  visit(state.hasLinearIndex);
  visit(state.linearIndex);
  visit(state.requestIndex);
  visit(state.writableByCatalogue);
  visit(state.writableHere);
  visit(state.exchange.errorText);
  visit(state.exchange.valueChanged);
  visit(state.exchange.editAttributeChanged);
  visit(state.exchange.ownerAttributeChanged);
  visit(state.exchange.editable);
  visit(state.exchange.factoryOwned);
  visit(state.privacy);
  visit(state.catalogueFlag);
}

}  // namespace zelmot::model
