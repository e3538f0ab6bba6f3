#include <cstring>
#include <functional>

#include "model_dumper.h"
#include "model_rules.h"
#include "model_rules.h"
#include "template_text.h"
#include "yaml_writer.h"

namespace zelmot::desc {
namespace {

using model::CatalogueRecord;
using TextField = std::string CatalogueRecord::*;

constexpr TextField kTemplatedFields[] = {&CatalogueRecord::caption, &CatalogueRecord::hint,
                                          &CatalogueRecord::errorText, &CatalogueRecord::initialValue};
constexpr const char* kTemplatedKeys[] = {"caption", "hint", "error", "initial"};

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool sameFixedFields(const CatalogueRecord& a, const CatalogueRecord& b) {
  return a.name == b.name && a.indexMode == b.indexMode && a.readOnly == b.readOnly && a.flag == b.flag &&
         a.kind == b.kind && a.valueChanged == b.valueChanged &&
         a.attributeMultiplicity == b.attributeMultiplicity && a.editable == b.editable &&
         a.factoryOwned == b.factoryOwned && a.typeDescriptor == b.typeDescriptor && a.decimals == b.decimals &&
         sameBits(a.minimum, b.minimum) && sameBits(a.maximum, b.maximum);
}

bool groupable(const CatalogueRecord& r) { return recordHasIndex(r) && r.linearIndex >= 0; }

// Templates that give back the text of the first element of a run: the text itself, or
// the text with one occurrence of the element number ({n}) or linear index ({i}) in it.
std::vector<std::string> candidateTemplates(const std::string& text, int32_t index) {
  std::vector<std::string> candidates = {escapeTemplate(text)};
  auto addAll = [&](const std::string& number, const char* placeholder) {
    for (size_t p = text.find(number); p != std::string::npos; p = text.find(number, p + 1))
      candidates.push_back(escapeTemplate(text.substr(0, p)) + placeholder +
                           escapeTemplate(text.substr(p + number.size())));
  };
  addAll("1", "{n}");
  addAll(std::to_string(index), "{i}");
  return candidates;
}

bool templateFits(const std::string& pattern, const CatalogueRecord& r, int n, const std::string& text) {
  std::string expanded;
  std::string error;
  return expandTemplate(pattern, {{"i", r.linearIndex}, {"n", n}}, expanded, error) && expanded == text;
}

struct Run {
  size_t first = 0;
  size_t last = 0;
  std::vector<std::string> templates;  // one per templated field
};

// The longest run from `start` whose elements share every fixed field, follow each other
// by index, and whose texts one template per field describes.
Run longestRun(const std::vector<CatalogueRecord>& records, size_t start) {
  const CatalogueRecord& head = records[start];
  std::vector<std::vector<std::string>> candidates;
  for (TextField field : kTemplatedFields) candidates.push_back(candidateTemplates(head.*field, head.linearIndex));
  size_t last = start;
  if (groupable(head)) {
    for (size_t j = start + 1; j < records.size(); ++j) {
      const CatalogueRecord& r = records[j];
      if (!groupable(r) || !sameFixedFields(head, r) ||
          static_cast<long long>(r.linearIndex) != head.linearIndex + static_cast<long long>(j - start))
        break;
      auto narrowed = candidates;
      bool fits = true;
      for (size_t f = 0; f < narrowed.size() && fits; ++f) {
        std::erase_if(narrowed[f], [&](const std::string& pattern) {
          return !templateFits(pattern, r, static_cast<int>(j - start + 1), r.*kTemplatedFields[f]);
        });
        fits = !narrowed[f].empty();
      }
      if (!fits) break;
      candidates = std::move(narrowed);
      last = j;
    }
  }
  Run run{start, last, {}};
  for (auto& list : candidates) run.templates.push_back(list.front());
  return run;
}

void writeRun(const std::vector<CatalogueRecord>& records, const Run& run, std::string& yaml) {
  const CatalogueRecord& r = records[run.first];
  yaml += "  - name: " + yamlQuoted(r.name) + "\n";
  auto line = [&](const char* key, const std::string& value) { yaml += std::string("    ") + key + ": " + value + "\n"; };
  if (groupable(r)) {
    line("indexes", std::to_string(r.linearIndex) + ".." + std::to_string(records[run.last].linearIndex));
  } else if (r.linearIndex != -1) {
    line("linear_index", std::to_string(r.linearIndex));
  }
  if (r.indexMode != 1) line("index_mode", std::to_string(r.indexMode));
  if (r.kind != 0) line("kind", std::to_string(r.kind));
  const std::string defaults[] = {"", "", "", "Нет данных"};
  for (size_t f = 0; f < run.templates.size(); ++f)
    if (run.templates[f] != defaults[f]) line(kTemplatedKeys[f], yamlQuoted(run.templates[f]));
  std::vector<std::string> items = enumerationItems(r.typeDescriptor);
  if (items.empty()) {
    line("type", yamlQuoted(r.typeDescriptor));
  } else {
    yaml += "    items:\n";
    for (const auto& item : items) yaml += "      - " + yamlQuoted(item) + "\n";
  }
  if (r.decimals != 0) line("decimals", std::to_string(r.decimals));
  if (!sameBits(r.minimum, 0.0f)) line("min", floatText(r.minimum));
  if (!sameBits(r.maximum, 0.0f)) line("max", floatText(r.maximum));
  auto flag = [&](const char* key, uint8_t value, uint8_t fallback) {
    if (value != fallback) line(key, value == 1 ? "true" : value == 0 ? "false" : std::to_string(value));
  };
  flag("readonly", r.readOnly, 0);
  flag("flag", r.flag, 0);
  flag("changed", r.valueChanged, 0);
  if (r.attributeMultiplicity != 0) line("multiplicity", std::to_string(r.attributeMultiplicity));
  flag("editable", r.editable, 1);
  flag("factory", r.factoryOwned, 0);
}

}  // namespace

std::string dumpCatalogue(const std::vector<CatalogueRecord>& records) {
  std::string yaml = "# Parameter catalogue: one entry per parameter or per run of its elements.\nparameters:\n";
  for (size_t start = 0; start < records.size();) {
    Run run = longestRun(records, start);
    writeRun(records, run, yaml);
    start = run.last + 1;
  }
  return yaml;
}

}  // namespace zelmot::desc
