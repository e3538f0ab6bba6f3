#pragma once
// The device's parameters, built from the catalogue of the description files and keyed the
// way requests name them: command code of the name and linear index (-1 for a parameter
// without one). Each parameter keeps its value as a value text in a core converter, which
// also knows its type, decimals and limits. Attribute pairs are kept per attribute group.
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/description_records.h"
#include "model/my_converter.h"
#include "value_kind.h"

namespace zelmot::sim {

struct StoredParameter {
  std::string name;
  uint16_t command = 0;
  bool hasIndex = false;
  int32_t index = -1;
  bool readOnly = false;
  bool operative = false;  // index travels in the address (parameters of the measurement tree)
  int32_t attributeMultiplicity = 0;
  ValueKind kind = ValueKind::Enumeration;
  std::unique_ptr<model::MyConverter> value;  // type, decimals, limits and the value text
};

struct AttributePair {
  bool editable = true;
  bool factoryOwned = false;
};

class ParameterStore {
public:
  using Key = std::pair<uint16_t, int32_t>;

  // `operativeRecords` are the catalogue record numbers that the measurement tree names.
  void build(const std::vector<model::CatalogueRecord>& records,
             const std::set<int32_t>& operativeRecords);
  // A parameter added by hand (tests, service parameters the catalogue lacks).
  StoredParameter& add(const model::CatalogueRecord& record, bool operative = false);

  bool knows(uint16_t command) const { return names_.count(command) != 0; }
  std::string nameOf(uint16_t command) const;
  bool indexed(uint16_t command) const;      // the name has elements with linear indexes
  bool operative(uint16_t command) const;
  int32_t highestIndex(uint16_t command) const;

  StoredParameter* find(uint16_t command, int32_t index);
  const StoredParameter* find(uint16_t command, int32_t index) const;
  // By name; index 0 also finds a parameter without index, and -1 the first element.
  StoredParameter* findByName(const std::string& name, int32_t index);

  // The attribute pair of the group that holds `index` (the whole parameter when it has no
  // index); null when the parameter has no attributes.
  AttributePair* attributes(uint16_t command, int32_t index);

  std::map<Key, StoredParameter>& all() { return parameters_; }
  const std::map<Key, StoredParameter>& all() const { return parameters_; }
  std::map<Key, AttributePair>& attributeGroups() { return groups_; }

private:
  Key groupKey(const StoredParameter& parameter, int32_t index) const;

  std::map<Key, StoredParameter> parameters_;
  std::map<uint16_t, std::string> names_;
  std::map<Key, AttributePair> groups_;
};

// Loads the catalogue and the measurement tree from a data directory. False with `error`
// naming the file when the catalogue cannot be read; a missing measurement tree only means
// that no parameter takes its index from the address.
bool loadParameterStore(const std::string& dataDir, ParameterStore& store, std::string& error);

}  // namespace zelmot::sim
