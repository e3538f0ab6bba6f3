#include "model/desc_branch.h"

#include <algorithm>

#include "platform/ascii_text.h"
#include "model/tree_build_context.h"
#include "model/tree_layout.h"

namespace zelmot::model {

DescBranch::DescBranch() : InvisibleElement(false) {}

void DescBranch::setValues(int32_t value1, int32_t value2, int32_t value3) {
  value1_ = value1;
  value2_ = value2;
  value3_ = value3;
}

DescBranch* DescBranch::addChild(std::unique_ptr<DescBranch> child) {
  if (!child) return nullptr;
  children_.push_back(std::move(child));
  return children_.back().get();
}

// --- building from the tree file ------------------------------------------------------------

bool DescBranch::BuildFromRecords(TreeBuildContext& context, size_t& cursor,
                                  const std::vector<TreeRecord>& records) {
  buildError_.clear();
  return build(context, cursor, records, 0);
}

bool DescBranch::refuse(std::string message) {
  buildError_ = std::move(message);
  return false;
}

bool DescBranch::build(TreeBuildContext& context, size_t& cursor,
                       const std::vector<TreeRecord>& records, int depth) {
  if (depth > kMaxTreeDepth) {
    return refuse("Запись " + std::to_string(cursor) + ": ветви вложены глубже " +
                  std::to_string(kMaxTreeDepth) + " уровней");
  }
  if (cursor >= records.size()) {
    return refuse("Запись " + std::to_string(cursor) + ": ожидалась запись ветви, файл кончился");
  }
  const size_t ownRecord = cursor++;
  const auto* branch = std::get_if<BranchRecord>(&records[ownRecord]);
  if (branch == nullptr) {
    return refuse("Запись " + std::to_string(ownRecord) + ": ожидалась запись ветви");
  }
  setName(branch->name);
  setValues(branch->value1, branch->value2, branch->value3);
  setOwnsParameters(false);  // the parameters belong to the catalogue

  // Summed wide: three counts from the file must not overflow.
  const int64_t childCount =
      int64_t{branch->countA} + int64_t{branch->countB} + int64_t{branch->countC};
  if (childCount < 0 || static_cast<uint64_t>(childCount) > records.size() - cursor) {
    return refuse("Запись " + std::to_string(ownRecord) + ": число потомков ветви (" +
                  std::to_string(childCount) + ") выходит за пределы файла");
  }
  for (int64_t i = 0; i < childCount; ++i) {
    if (!buildChild(context, cursor, records, depth)) return false;
  }
  if (branch->marker == tree_layout::kMainBranchMarker) context.setMainBranch(this);
  return true;
}

bool DescBranch::buildChild(TreeBuildContext& context, size_t& cursor,
                            const std::vector<TreeRecord>& records, int depth) {
  if (cursor >= records.size()) {
    return refuse("Запись " + std::to_string(cursor) + ": потомки ветви выходят за пределы файла");
  }
  const TreeRecord& record = records[cursor];
  if (std::holds_alternative<BranchRecord>(record)) {
    auto child = std::make_unique<DescBranch>();
    const bool built = child->build(context, cursor, records, depth + 1);
    if (!built) return refuse(child->buildError());
    addChild(std::move(child));
    return true;
  }
  const size_t recordNumber = cursor++;
  if (const auto* link = std::get_if<LinkRecord>(&record)) {
    addConnector(Connector::fromRecord(*link, name()));
    return true;
  }
  const auto& reference = std::get<ReferenceRecord>(record);
  Parameter* parameter = context.catalogueParameter(reference.catalogueIndex);
  if (parameter == nullptr) {
    return refuse("Запись " + std::to_string(recordNumber) + ": номер параметра " +
                  std::to_string(reference.catalogueIndex) + " вне каталога");
  }
  parameter->setTreeCaption(reference.caption);
  parameter->setWritableHere(reference.locked == 0);
  addParameter(parameter);
  return true;
}

// --- lookups -------------------------------------------------------------------------------

Parameter* DescBranch::FindParameter(const std::string& name, int32_t index) const {
  for (Parameter* parameter : parameters()) {
    if (!equalsIgnoreCase(parameter->name(), name)) continue;
    if (index < 0 || parameter->linearIndex() == index) return parameter;
  }
  for (const auto& child : children_) {
    if (Parameter* found = child->FindParameter(name, index)) return found;
  }
  return nullptr;
}

int DescBranch::CollectPolled(std::vector<Parameter*>& list) const {
  int appended = 0;
  for (Parameter* parameter : parameters()) {
    if (!parameter->hasPollTimer()) continue;
    list.push_back(parameter);
    ++appended;
  }
  for (const auto& child : children_) appended += child->CollectPolled(list);
  return appended;
}

int DescBranch::countParameters() const {
  int count = static_cast<int>(parameters().size());
  for (const auto& child : children_) count += child->countParameters();
  return count;
}

// --- presentation --------------------------------------------------------------------------

namespace {

PresentationRow parameterRow(Parameter& parameter, const std::string& description,
                             const PresentationOptions& options) {
  PresentationRow row;
  row.kind = PresentationRow::Kind::Parameter;
  row.parameter = &parameter;
  row.description = description;
  row.name = parameter.displayName(options.showLinearIndexes);
  row.value = parameter.valueText();
  row.editAttribute = parameter.editAttributeText();
  row.owner = parameter.ownerAttributeText();
  row.errorText = parameter.errorText();
  row.colour = parameter.rowColour();
  if (equalsIgnoreCase(parameter.name(), kDiscreteInputMaskName)) {
    const int count = std::clamp(options.discreteInputCount, 0,
                                 static_cast<int>(std::size(kDiscreteInputTexts)));
    for (int i = 0; i < count; ++i) row.subItems.emplace_back(kDiscreteInputTexts[i]);
  }
  return row;
}

}  // namespace

bool DescBranch::isSingleParameterBranch() const {
  return parameters().size() == 1 && children_.empty() && connectors_.empty();
}

std::vector<PresentationRow> DescBranch::presentation(const PresentationOptions& options) {
  std::vector<PresentationRow> rows;
  for (Parameter* parameter : parameters()) {
    rows.push_back(parameterRow(*parameter, parameter->GetDescription(), options));
  }
  for (const auto& child : children_) {
    if (child->isSingleParameterBranch()) {
      // Shown in place of the branch, labelled with the branch's name.
      PresentationRow row = parameterRow(*child->parameters().front(), child->name(), options);
      row.branch = child.get();
      rows.push_back(std::move(row));
    } else {
      rows.push_back(child->branchRow(options));
    }
  }
  return rows;
}

PresentationRow DescBranch::branchRow(const PresentationOptions& options) {
  PresentationRow row;
  row.kind = PresentationRow::Kind::Branch;
  row.branch = this;
  row.description = name();
  if (options.showLinearIndexes) {
    const int32_t index = GetLinearIndex(nullptr).index;
    if (index >= 0) row.description += " (" + std::to_string(index) + ")";
  }
  row.colour = HasProblems(false) ? kErrorColour : kPlainColour;
  return row;
}

// --- whole subtree -------------------------------------------------------------------------

ArchiveError DescBranch::Serialize(ArchiveWriter& archive) const {
  writeHeaderAndParameters(archive);
  archive.writeInt32(value1_);
  archive.writeInt32(value2_);
  for (const auto& child : children_) {
    if (child->Serialize(archive) != ArchiveError::None) break;
  }
  return archive.error();
}

ArchiveError DescBranch::Serialize(ArchiveReader& archive) {
  if (readHeaderAndParameters(archive) != ArchiveError::None) return archive.error();
  int32_t value1 = 0;
  int32_t value2 = 0;
  archive.readInt32(value1);
  archive.readInt32(value2);
  if (!archive.ok()) return archive.error();
  value1_ = value1;
  value2_ = value2;
  for (const auto& child : children_) {
    if (child->Serialize(archive) != ArchiveError::None) break;
  }
  return archive.error();
}

ExchangeCounts DescBranch::CompareAll(ParameterExchanger& exchanger) {
  ExchangeCounts counts = ObjectWithParameters::CompareAll(exchanger);
  for (const auto& child : children_) {
    if (exchanger.cancelled()) break;
    counts += child->CompareAll(exchanger);
  }
  return counts;
}

ExchangeCounts DescBranch::ReadAll(ParameterExchanger& exchanger) {
  ExchangeCounts counts = ObjectWithParameters::ReadAll(exchanger);
  for (const auto& child : children_) {
    if (exchanger.cancelled()) break;
    counts += child->ReadAll(exchanger);
  }
  return counts;
}

ExchangeCounts DescBranch::WriteAll(ParameterExchanger& exchanger, bool changedOnly) {
  ExchangeCounts counts = ObjectWithParameters::WriteAll(exchanger, changedOnly);
  for (const auto& child : children_) {
    if (exchanger.cancelled()) break;
    counts += child->WriteAll(exchanger, changedOnly);
  }
  return counts;
}

int DescBranch::PendingState() const {
  if (ObjectWithParameters::PendingState() != 0) return 2;
  for (const auto& child : children_) {
    if (child->PendingState() != 0) return 2;
  }
  return 0;
}

void DescBranch::ResetValues() {
  ObjectWithParameters::ResetValues();
  for (const auto& child : children_) child->ResetValues();
}

bool DescBranch::HasProblems(bool mismatchesToo) const {
  if (ObjectWithParameters::HasProblems(mismatchesToo)) return true;
  return std::any_of(children_.begin(), children_.end(),
                     [&](const auto& child) { return child->HasProblems(mismatchesToo); });
}

bool DescBranch::HasChanges(bool attributesToo) const {
  if (ObjectWithParameters::HasChanges(attributesToo)) return true;
  return std::any_of(children_.begin(), children_.end(),
                     [&](const auto& child) { return child->HasChanges(attributesToo); });
}

bool DescBranch::HasNoData() const {
  if (ObjectWithParameters::HasNoData()) return true;
  return std::any_of(children_.begin(), children_.end(),
                     [](const auto& child) { return child->HasNoData(); });
}

void DescBranch::ExportRecords(std::vector<ExportRecord>& records) const {
  ObjectWithParameters::ExportRecords(records);
  for (const auto& child : children_) child->ExportRecords(records);
}

void DescBranch::ImportRecords(const ExportRecordTable& records, int limit, int& missingCount,
                               std::string& message) {
  ObjectWithParameters::ImportRecords(records, limit, missingCount, message);
  for (const auto& child : children_) child->ImportRecords(records, limit, missingCount, message);
}

}  // namespace zelmot::model
