#include "parameter_store.h"

#include <algorithm>
#include <cstdio>
#include <variant>

#include "link/frame_codec.h"
#include "model/description_files.h"
#include "model/enumeration_codec.h"

namespace zelmot::sim {
namespace {

constexpr const char* kNoData = "Нет данных";

bool hasLinearIndex(const model::CatalogueRecord& record) {
  return record.indexMode != 0 ? record.linearIndex != -1 : record.linearIndex >= 0;
}

bool encodes(const model::MyConverter& value, const std::string& text) {
  std::vector<uint8_t> data;
  std::string message;
  return value.TextToData(text, data, message) == 1 && !data.empty();
}

// The catalogue's initial text when the device could send it ("Нет данных" it cannot);
// otherwise the device's own default: zero, or the limit nearest to it, or the first item.
std::string initialValueText(const model::MyConverter& value, ValueKind kind,
                             const std::string& initial) {
  if (kind == ValueKind::RealTimeClock) return initial;
  if (isTextKind(kind)) return initial == kNoData ? std::string() : initial;
  if (encodes(value, initial)) return initial;
  double zero = 0.0;
  if (value.hasLimits()) zero = std::clamp(zero, value.minimum(), value.maximum());
  char number[32];
  std::snprintf(number, sizeof number, kind == ValueKind::StoredDot ? "%.3f" : "%.0f", zero);
  const std::vector<std::string> items = model::enumerationItems(value.typeDescriptor());
  for (const std::string& candidate : {std::string(number), std::string("00:00"), items.front()}) {
    if (encodes(value, candidate)) return candidate;
  }
  return initial;
}

}  // namespace

void ParameterStore::build(const std::vector<model::CatalogueRecord>& records,
                           const std::set<int32_t>& operativeRecords) {
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i].name.empty()) continue;
    add(records[i], operativeRecords.count(static_cast<int32_t>(i)) != 0);
  }
}

StoredParameter& ParameterStore::add(const model::CatalogueRecord& record, bool operative) {
  StoredParameter parameter;
  parameter.name = record.name;
  parameter.command = link::name_hash(record.name);
  parameter.hasIndex = hasLinearIndex(record);
  parameter.index = parameter.hasIndex ? record.linearIndex : -1;
  parameter.readOnly = record.readOnly != 0;
  parameter.operative = operative;
  parameter.attributeMultiplicity = record.attributeMultiplicity;
  parameter.kind = valueKindOf(record.typeDescriptor);
  parameter.value = std::make_unique<model::MyConverter>();
  parameter.value->setName(record.name);
  parameter.value->setTypeDescriptor(record.typeDescriptor);
  parameter.value->setDecimals(record.decimals);
  parameter.value->setLimits(record.minimum, record.maximum);
  parameter.value->setRawValueText(
      initialValueText(*parameter.value, parameter.kind, record.initialValue));

  names_.emplace(parameter.command, record.name);  // the first name of a code counts
  const Key key{parameter.command, parameter.index};
  if (parameter.attributeMultiplicity != 0) {
    groups_.emplace(groupKey(parameter, parameter.index),
                    AttributePair{record.editable != 0, record.factoryOwned != 0});
  }
  auto [it, inserted] = parameters_.insert_or_assign(key, std::move(parameter));
  (void)inserted;
  return it->second;
}

std::string ParameterStore::nameOf(uint16_t command) const {
  auto it = names_.find(command);
  return it == names_.end() ? std::string() : it->second;
}

bool ParameterStore::indexed(uint16_t command) const {
  auto it = parameters_.lower_bound({command, INT32_MIN});
  return it != parameters_.end() && it->first.first == command && it->second.hasIndex;
}

bool ParameterStore::operative(uint16_t command) const {
  auto it = parameters_.lower_bound({command, INT32_MIN});
  return it != parameters_.end() && it->first.first == command && it->second.operative;
}

int32_t ParameterStore::highestIndex(uint16_t command) const {
  auto it = parameters_.upper_bound({command, INT32_MAX});
  if (it == parameters_.begin()) return -1;
  --it;
  return it->first.first == command ? it->first.second : -1;
}

StoredParameter* ParameterStore::find(uint16_t command, int32_t index) {
  auto it = parameters_.find({command, index});
  return it == parameters_.end() ? nullptr : &it->second;
}

const StoredParameter* ParameterStore::find(uint16_t command, int32_t index) const {
  auto it = parameters_.find({command, index});
  return it == parameters_.end() ? nullptr : &it->second;
}

StoredParameter* ParameterStore::findByName(const std::string& name, int32_t index) {
  const uint16_t command = link::name_hash(name);
  if (StoredParameter* parameter = find(command, index)) return parameter;
  if (index == 0) return find(command, -1);
  if (index == -1) {
    auto it = parameters_.lower_bound({command, INT32_MIN});
    if (it != parameters_.end() && it->first.first == command) return &it->second;
  }
  return nullptr;
}

ParameterStore::Key ParameterStore::groupKey(const StoredParameter& parameter,
                                             int32_t index) const {
  if (!parameter.hasIndex || parameter.attributeMultiplicity <= 0) {
    return {parameter.command, -1};
  }
  return {parameter.command, index / parameter.attributeMultiplicity};
}

AttributePair* ParameterStore::attributes(uint16_t command, int32_t index) {
  const StoredParameter* parameter = find(command, index);
  if (parameter == nullptr || parameter->attributeMultiplicity == 0) return nullptr;
  auto it = groups_.find(groupKey(*parameter, index));
  return it == groups_.end() ? nullptr : &it->second;
}

bool loadParameterStore(const std::string& dataDir, ParameterStore& store, std::string& error) {
  std::vector<model::CatalogueRecord> records;
  if (!model::readCatalogueFile(dataDir + "/" + model::kCatalogueFileName, records, error)) {
    return false;
  }
  std::set<int32_t> operative;
  std::vector<model::TreeRecord> tree;
  std::string treeError;
  if (model::readTreeFile(dataDir + "/" + model::kMeasurementTreeFileName, tree, treeError)) {
    for (const model::TreeRecord& record : tree) {
      if (const auto* reference = std::get_if<model::ReferenceRecord>(&record)) {
        operative.insert(reference->catalogueIndex);
      }
    }
  }
  store.build(records, operative);
  return true;
}

}  // namespace zelmot::sim
