#include "model_rules.h"

#include <cctype>
#include <cmath>
#include <map>
#include <set>

#include "link/frame_codec.h"
#include "model/description_files.h"
#include "platform/ascii_text.h"
#include "model/value_kind.h"
#include "platform/code_page.h"

namespace zelmot::desc {
namespace {

using model::ValueKind;

bool isStoredDot(const std::string& descriptor) {
  return model::valueKindOf(descriptor) == ValueKind::StoredDot;
}
bool isIntegerType(const std::string& descriptor) {
  const ValueKind kind = model::valueKindOf(descriptor);
  return kind == ValueKind::DecDot || kind == ValueKind::ClockDuration;
}

// The device hashes at most four code characters of a name; letters, digits, blank,
// "_" and "-" are code characters, a "." only marks the one before it.
int codeCharacters(const std::string& name) {
  int count = 0;
  for (char c : name)
    if (std::isalnum(static_cast<unsigned char>(c)) || c == ' ' || c == '_' || c == '-') ++count;
  return count;
}

std::string nameProblem(const std::string& name) {
  if (name.empty()) return "пустое имя параметра";
  for (char c : name)
    if (static_cast<unsigned char>(c) <= 32 || static_cast<unsigned char>(c) >= 127)
      return "имя '" + name + "' содержит символ, недопустимый в имени параметра прибора";
  if (name.size() >= kNameField) return "имя '" + name + "' длиннее 8 символов";
  if (codeCharacters(name) > 4)
    return "имя '" + name + "' содержит больше 4 значащих символов; прибор различает только 4";
  return {};
}

void checkText(RecordProblems& problems, size_t record, const char* field, const std::string& text,
               size_t fieldSize) {
  std::string problem = textFitProblem(text, fieldSize);
  if (!problem.empty()) problems.push_back({record, std::string("поле ") + field + ": " + problem});
}

void checkType(RecordProblems& problems, size_t n, const model::CatalogueRecord& r, RuleSet rules) {
  if (r.typeDescriptor.empty()) {
    problems.push_back({n, "пустой дескриптор типа"});
    return;
  }
  if (rules != RuleSet::All) return;
  size_t items = enumerationItems(r.typeDescriptor).size();
  if (items > kMaxEnumerationItems)
    problems.push_back({n, "перечисление из " + std::to_string(items) + " значений; допустимо не более " +
                               std::to_string(kMaxEnumerationItems)});
}

void checkLimits(RecordProblems& problems, size_t n, const model::CatalogueRecord& r) {
  if (r.decimals < 0 || r.decimals > 3)
    problems.push_back({n, "число знаков после точки " + std::to_string(r.decimals) + " вне 0..3"});
  if (std::isnan(r.minimum) || std::isnan(r.maximum)) {
    problems.push_back({n, "граница значения не является числом"});
    return;
  }
  bool limited = r.minimum != 0.0f || r.maximum != 0.0f;
  if (limited && r.minimum > r.maximum)
    problems.push_back({n, "минимум больше максимума"});
  if (isIntegerType(r.typeDescriptor) && (r.minimum < 0 || r.maximum > 65535))
    problems.push_back({n, "границы целого значения вне 0..65535"});
  if (isStoredDot(r.typeDescriptor)) {
    int d = r.decimals > 0 ? std::min(r.decimals, 3) : 0;
    double scale = std::pow(10.0, d);
    double largest = std::max(std::fabs(double(r.minimum)), std::fabs(double(r.maximum)));
    if (largest * scale >= 268435456.0)
      problems.push_back({n, "граница значения не помещается в мантиссу STORED_DOT (28 бит)"});
  }
}

void checkPlacement(RecordProblems& problems, size_t n, const model::CatalogueRecord& r,
                    const model::DescriptionConstants& constants) {
  if (!model::isStructuralKind(r.kind)) return;
  model::TablePosition position;
  std::string error;
  if (!model::structuralPosition(r, constants, position, error)) problems.push_back({n, error});
}

}  // namespace

bool recordHasIndex(const model::CatalogueRecord& record) {
  return record.indexMode != 0 ? record.linearIndex != -1 : record.linearIndex >= 0;
}

model::DescriptionConstants descriptionConstants(const model::ConstantsText& constants) {
  model::DescriptionConstants result;
  for (size_t i = 0; i < model::kConstantCount; ++i) {
    int value = -1;
    model::findConstant(constants, model::kConstantNames[i], value);
    model::constantField(result, i) = static_cast<uint8_t>(value);
  }
  return result;
}

std::string textFitProblem(const std::string& utf8, size_t fieldSize) {
  if (!fitsCp1251(utf8)) return "текст содержит символы, которых нет в windows-1251";
  size_t bytes = utf8ToCp1251(utf8).size();
  if (bytes >= fieldSize)
    return "текст длиной " + std::to_string(bytes) + " байт в windows-1251 не помещается в поле (не более " +
           std::to_string(fieldSize - 1) + ")";
  return {};
}

std::vector<std::string> enumerationItems(const std::string& typeDescriptor) {
  if (model::valueKindOf(typeDescriptor) != ValueKind::Enumeration) return {};
  std::vector<std::string> items;
  size_t start = 0;
  for (;;) {
    size_t colon = typeDescriptor.find(':', start);
    items.push_back(typeDescriptor.substr(start, colon - start));
    if (colon == std::string::npos) return items;
    start = colon + 1;
  }
}

std::string recordLabel(const model::CatalogueRecord& record) {
  if (!recordHasIndex(record)) return record.name;
  return record.name + ":" + std::to_string(record.linearIndex);
}

RecordProblems checkConstants(const model::ConstantsText& constants, RuleSet rules) {
  RecordProblems problems;
  std::set<std::string> seen;
  for (size_t i = 0; i < constants.size(); ++i) {
    const auto& entry = constants[i];
    bool token = !entry.name.empty();
    for (char c : entry.name) token = token && static_cast<unsigned char>(c) > 32 && static_cast<unsigned char>(c) < 127;
    if (!token) problems.push_back({i, "имя константы '" + entry.name + "' не является одним словом из ASCII"});
    if (!seen.insert(toLowerAscii(entry.name)).second)
      problems.push_back({i, "константа " + entry.name + " задана повторно"});
    if (rules == RuleSet::All && (entry.value < 0 || entry.value > 255))
      problems.push_back({i, "значение константы " + entry.name + " вне 0..255 (прибор хранит 8 бит)"});
  }
  for (const char* name : model::kConstantNames) {
    int value = 0;
    if (rules == RuleSet::All && !model::findConstant(constants, name, value))
      problems.push_back({constants.size(), std::string("не определена константа ") + name});
  }
  int nProf = 0, pStep = 0;
  if (model::findConstant(constants, "nProf", nProf) && model::findConstant(constants, "pStep", pStep) &&
      static_cast<uint8_t>(nProf * pStep) < 2)
    problems.push_back({constants.size(), "произведение nProf x pStep (8 бит) меньше 2"});
  return problems;
}

RecordProblems checkCatalogueRecords(const std::vector<model::CatalogueRecord>& records,
                                     const model::ConstantsText& constants, RuleSet rules) {
  RecordProblems problems;
  const model::DescriptionConstants modelValues = descriptionConstants(constants);
  std::map<std::pair<std::string, long long>, size_t> elements;
  std::map<uint16_t, std::string> codes;
  for (size_t n = 0; n < records.size(); ++n) {
    const auto& r = records[n];
    std::string name = nameProblem(r.name);
    if (!name.empty()) problems.push_back({n, name});
    long long index = recordHasIndex(r) ? r.linearIndex : -1;
    if (recordHasIndex(r) && r.linearIndex < 0)
      problems.push_back({n, "отрицательный линейный индекс: параметр не будет участвовать в обмене"});
    auto [it, fresh] = elements.emplace(std::make_pair(toLowerAscii(r.name), index), n);
    if (!fresh)
      problems.push_back({n, recordLabel(r) + " уже описан в записи " + std::to_string(it->second)});
    uint16_t code = link::name_hash(r.name);
    auto [known, added] = codes.emplace(code, toLowerAscii(r.name));
    if (!added && known->second != toLowerAscii(r.name))
      problems.push_back({n, "имя '" + r.name + "' имеет тот же код команды, что и '" + known->second + "'"});
    checkText(problems, n, "подпись", r.caption, kCaptionField);
    checkText(problems, n, "тип", r.typeDescriptor, kTypeField);
    checkText(problems, n, "начальное значение", r.initialValue, kInitialField);
    checkText(problems, n, "подсказка", r.hint, kHintField);
    checkText(problems, n, "текст ошибки", r.errorText, kErrorField);
    checkType(problems, n, r, rules);
    checkLimits(problems, n, r);
    if (r.attributeMultiplicity < 0) problems.push_back({n, "отрицательная кратность атрибутов"});
    if (rules == RuleSet::All) checkPlacement(problems, n, r, modelValues);
  }
  for (const char* service : {"dev", "ver", "exit", "n.Err"}) {
    bool present = false;
    for (const auto& r : records) present = present || toLowerAscii(r.name) == toLowerAscii(service);
    if (!present)
      problems.push_back({records.size(), std::string("нет служебного параметра ") + service});
  }
  return problems;
}

}  // namespace zelmot::desc
