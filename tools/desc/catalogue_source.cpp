#include "model_source.h"
#include "template_text.h"
#include "yaml_reader.h"

namespace zelmot::desc {
namespace {

constexpr const char* kNoData = "Нет данных";
// Guards against a mistyped range filling the memory.
constexpr int kMaxElements = 100000;

// Fields common to every element of one catalogue entry.
bool readEntryFields(YamlReader& reader, const YAML::Node& entry, model::CatalogueRecord& r) {
  bool ok = reader.onlyKeys(entry, {"name", "indexes", "linear_index", "index_mode", "kind", "caption",
                                    "hint", "error", "type", "items", "decimals", "min", "max", "readonly",
                                    "flag", "changed", "multiplicity", "editable", "factory", "initial"});
  r.initialValue = kNoData;
  ok = reader.text(entry, "name", r.name) && ok;
  ok = reader.byte(entry, "index_mode", r.indexMode) && ok;
  ok = reader.integer(entry, "kind", r.kind) && ok;
  ok = reader.text(entry, "caption", r.caption) && ok;
  ok = reader.text(entry, "hint", r.hint) && ok;
  ok = reader.text(entry, "error", r.errorText) && ok;
  ok = reader.text(entry, "type", r.typeDescriptor) && ok;
  ok = reader.integer(entry, "decimals", r.decimals) && ok;
  ok = reader.real(entry, "min", r.minimum) && ok;
  ok = reader.real(entry, "max", r.maximum) && ok;
  ok = reader.byte(entry, "readonly", r.readOnly) && ok;
  ok = reader.byte(entry, "flag", r.flag) && ok;
  ok = reader.byte(entry, "changed", r.valueChanged) && ok;
  ok = reader.integer(entry, "multiplicity", r.attributeMultiplicity) && ok;
  ok = reader.byte(entry, "editable", r.editable) && ok;
  ok = reader.byte(entry, "factory", r.factoryOwned) && ok;
  ok = reader.text(entry, "initial", r.initialValue) && ok;
  if (!entry["name"]) {
    reader.error(entry, "у параметра нет имени ('name')");
    ok = false;
  }
  return ok;
}

// `items` is the readable form of an enumeration: the items joined with ":" make the type.
bool readItems(YamlReader& reader, const YAML::Node& entry, model::CatalogueRecord& r) {
  const YAML::Node& items = entry["items"];
  if (items && entry["type"]) {
    reader.error(items, "заданы и 'type', и 'items'");
    return false;
  }
  if (!items) {
    if (entry["type"]) return true;
    reader.error(entry, "у параметра '" + r.name + "' нет типа ('type' или 'items')");
    return false;
  }
  if (!reader.isSequence(items, "items")) return false;
  std::string descriptor;
  for (size_t i = 0; i < items.size(); ++i) {
    if (!items[i].IsScalar()) {
      reader.error(items[i], "значение перечисления должно быть текстом");
      return false;
    }
    if (i > 0) descriptor += ':';
    descriptor += items[i].Scalar();
  }
  r.typeDescriptor = descriptor;
  return true;
}

bool expandTexts(YamlReader& reader, const YAML::Node& entry, const Bindings& bindings,
                 model::CatalogueRecord& r) {
  std::string error;
  for (std::string* text : {&r.caption, &r.hint, &r.errorText, &r.initialValue}) {
    std::string expanded;
    if (!expandTemplate(*text, bindings, expanded, error)) {
      reader.error(entry, error);
      return false;
    }
    *text = expanded;
  }
  return true;
}

bool readEntry(YamlReader& reader, const YAML::Node& entry, SourceCatalogue& catalogue) {
  if (!reader.isMap(entry, "параметр")) return false;
  model::CatalogueRecord base;
  bool ok = readEntryFields(reader, entry, base) && readItems(reader, entry, base);
  if (!ok) return false;
  const YAML::Node& indexes = entry["indexes"];
  if (indexes && entry["linear_index"]) {
    reader.error(indexes, "заданы и 'indexes', и 'linear_index'");
    return false;
  }
  int first = -1;
  int last = -1;
  if (indexes) {
    std::string error;
    if (!indexes.IsScalar() || !parseRange(indexes.Scalar(), first, last, error)) {
      reader.error(indexes, error.empty() ? "'indexes': ожидается диапазон 'первый..последний'" : error);
      return false;
    }
  } else if (!reader.integer(entry, "linear_index", base.linearIndex)) {
    return false;
  }
  if (last - first >= kMaxElements) {
    reader.error(indexes, "слишком много элементов в диапазоне индексов");
    return false;
  }
  const int line = reader.line(entry);
  for (long long index = first; index <= last; ++index) {
    model::CatalogueRecord record = base;
    if (indexes) record.linearIndex = static_cast<int32_t>(index);
    Bindings bindings = {{"i", static_cast<int>(index)}, {"n", static_cast<int>(index - first + 1)}};
    if (!expandTexts(reader, entry, bindings, record)) return false;
    catalogue.records.push_back(std::move(record));
    catalogue.places.push_back({reader.file(), line});
  }
  return true;
}

}  // namespace

// parameters:
//   - name: in-t
//     indexes: 0..7
//     ...
bool readCatalogueSource(const std::filesystem::path& file, SourceCatalogue& catalogue,
                         SourceErrors& errors) {
  size_t before = errors.size();
  YamlReader reader(file.string(), errors);
  YAML::Node root;
  if (!reader.load(root)) return false;
  if (!reader.isMap(root, "файл каталога") || !reader.onlyKeys(root, {"parameters"})) return false;
  const YAML::Node& entries = root["parameters"];
  if (!entries || !reader.isSequence(entries, "parameters")) {
    if (!entries) reader.error(root, "нет списка 'parameters'");
    return false;
  }
  for (const auto& entry : entries) readEntry(reader, entry, catalogue);
  return errors.size() == before;
}

}  // namespace zelmot::desc
