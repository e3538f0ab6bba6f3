#include "model/object_with_parameters.h"

#include "model/parameter.h"
#include "model/parameter_record.h"
#include "platform/ascii_text.h"
#include "platform/user_prompt.h"

namespace zelmot::model {

ObjectWithParameters::ObjectWithParameters(bool ownsParameters)
    : ownsParameters_(ownsParameters) {}

ObjectWithParameters::~ObjectWithParameters() { DeleteParameters(); }

void ObjectWithParameters::addParameter(Parameter* parameter) {
  if (parameter != nullptr) parameters_.push_back(parameter);
}

void ObjectWithParameters::DeleteParameters() {
  // Parameters of the catalogue are only forgotten: deleting them here would free them
  // a second time when the catalogue goes.
  if (ownsParameters_) {
    for (Parameter* parameter : parameters_) delete parameter;
  }
  parameters_.clear();
}

// --- configuration file --------------------------------------------------------------------

ArchiveError ObjectWithParameters::writeParameterRecords(ArchiveWriter& archive) const {
  for (const Parameter* parameter : parameters_) {
    if (parameter->Serialize(archive) != ArchiveError::None) break;
  }
  return archive.error();
}

ArchiveError ObjectWithParameters::readParameterRecords(ArchiveReader& archive) {
  for (Parameter* parameter : parameters_) {
    StoredRecord record;
    if (readStoredRecord(archive, record) != ArchiveError::None) break;
    const std::string mismatch = recordMismatch(record, *parameter);
    if (!mismatch.empty()) {
      archive.failMismatch("параметр " + parameter->displayName(true) + ": " + mismatch);
      break;
    }
    parameter->applyRecord(std::move(record));
    parameter->markUnencodableValue();
  }
  return archive.error();
}

ArchiveError ObjectWithParameters::Serialize(ArchiveWriter& archive) const {
  return writeParameterRecords(archive);
}

ArchiveError ObjectWithParameters::Serialize(ArchiveReader& archive) {
  return readParameterRecords(archive);
}

// --- values by name ------------------------------------------------------------------------

std::string ObjectWithParameters::GetValueByName(const std::string& name) const {
  for (const Parameter* parameter : parameters_) {
    if (equalsIgnoreCase(parameter->name(), name)) return parameter->valueText();
  }
  return {};
}

int ObjectWithParameters::SetValueByName(const std::string& name, const std::string& text,
                                         bool mark) {
  for (Parameter* parameter : parameters_) {
    if (!equalsIgnoreCase(parameter->name(), name)) continue;
    const bool differs = !equalsIgnoreCase(parameter->valueText(), text);
    parameter->setRawValueText(text);
    if (mark && differs) parameter->setValueChanged(true);
    return 1;
  }
  return 0;
}

// --- exchange ------------------------------------------------------------------------------

ExchangeCounts ObjectWithParameters::CompareAll(ParameterExchanger& exchanger) {
  ExchangeCounts counts;
  if (exchanger.cancelled()) return counts;
  exchanger.enterNode(*this, ExchangeTask::Compare);
  for (Parameter* parameter : parameters_) {
    ++counts.handled;
    if (exchanger.compareOne(*parameter) != 0) ++counts.failures;
    if (exchanger.cancelled()) break;
  }
  return counts;
}

ExchangeCounts ObjectWithParameters::ReadAll(ParameterExchanger& exchanger) {
  ExchangeCounts counts;
  if (exchanger.cancelled()) return counts;
  exchanger.enterNode(*this, ExchangeTask::Read);
  for (Parameter* parameter : parameters_) {
    ++counts.handled;
    if (exchanger.readOne(*parameter) != 0) ++counts.failures;
    if (exchanger.cancelled()) break;
  }
  return counts;
}

namespace {
bool shouldWrite(const Parameter& parameter, bool changedOnly, bool forceAll) {
  if (!forceAll && !parameter.isWritable()) return false;
  return !changedOnly || parameter.anyChangeFlag();
}
}  // namespace

ExchangeCounts ObjectWithParameters::WriteAll(ParameterExchanger& exchanger, bool changedOnly) {
  ExchangeCounts counts;
  if (exchanger.cancelled()) return counts;
  const bool forceAll = exchanger.forceWriteAll();
  // A changed-only write announces the node only when something of it is written.
  bool announced = false;
  if (!changedOnly) {
    exchanger.enterNode(*this, ExchangeTask::Write);
    announced = true;
  }
  for (Parameter* parameter : parameters_) {
    if (!shouldWrite(*parameter, changedOnly, forceAll)) continue;
    if (!announced) exchanger.enterNode(*this, ExchangeTask::WriteChanged);
    announced = true;
    ++counts.handled;
    if (exchanger.writeOne(*parameter, !changedOnly) != 0) ++counts.failures;
    if (exchanger.cancelled()) break;
  }
  return counts;
}

// --- linear index --------------------------------------------------------------------------

LinearIndexCheck ObjectWithParameters::GetLinearIndex(UserPrompt* prompt) {
  LinearIndexCheck check;
  int32_t current = currentLinearIndex_.load();
  if (current == -1) {
    for (const Parameter* parameter : parameters_) {
      if (!parameter->hasLinearIndex()) continue;
      current = parameter->linearIndex();
      currentLinearIndex_.store(current);
      break;
    }
  }
  check.index = current;
  for (const Parameter* parameter : parameters_) {
    if (!parameter->hasLinearIndex() || parameter->linearIndex() == current) continue;
    check.suspicious = parameter;
    if (prompt != nullptr) {
      prompt->tell("Параметер '" + parameter->name() + "' (" + parameter->GetDescription() +
                       ") имеет подозрительный линейный индекс.",
                   kSuspiciousIndexCaption, PromptIcon::Exclamation);
    }
    break;
  }
  return check;
}

void ObjectWithParameters::SetLinearIndex(int32_t index) {
  for (Parameter* parameter : parameters_) {
    if (parameter->hasLinearIndex()) parameter->setLinearIndex(index);
  }
  currentLinearIndex_.store(index);
}

// --- state queries -------------------------------------------------------------------------

int ObjectWithParameters::PendingState() const {
  for (const Parameter* parameter : parameters_) {
    if (parameter->anyChangeFlag()) return 2;
  }
  return 0;
}

void ObjectWithParameters::ResetValues() {
  for (Parameter* parameter : parameters_) parameter->resetValues();
}

bool ObjectWithParameters::HasProblems(bool mismatchesToo) const {
  for (const Parameter* parameter : parameters_) {
    if (parameter->hasProblem(mismatchesToo)) return true;
  }
  return false;
}

bool ObjectWithParameters::HasChanges(bool attributesToo) const {
  for (const Parameter* parameter : parameters_) {
    if (parameter->valueChanged()) return true;
    if (attributesToo &&
        (parameter->editAttributeChanged() || parameter->ownerAttributeChanged())) {
      return true;
    }
  }
  return false;
}

bool ObjectWithParameters::HasNoData() const {
  for (const Parameter* parameter : parameters_) {
    if (parameter->hasNoData()) return true;
  }
  return false;
}

// --- parameter table -----------------------------------------------------------------------

void ObjectWithParameters::ExportRecords(std::vector<ExportRecord>& records) const {
  for (const Parameter* parameter : parameters_) records.push_back(parameter->exportRecord());
}

namespace {
std::string missingEntry(const Parameter& parameter) {
  std::string name = parameter.name();
  if (parameter.hasLinearIndex()) name += ":" + std::to_string(parameter.linearIndex());
  return name + " (" + parameter.GetDescription() + ")";
}
}  // namespace

void ObjectWithParameters::ImportRecords(const ExportRecordTable& records, int limit,
                                         int& missingCount, std::string& message) {
  for (Parameter* parameter : parameters_) {
    const ExportRecord* record = records.find(parameter->linearIndex(), parameter->name());
    if (record != nullptr) {
      parameter->importRecord(*record);
      continue;
    }
    // The parameter keeps its place (indexes, permissions, attribute grouping): only its
    // value state is reset, so it is still the same device element afterwards.
    parameter->resetValues();
    ++missingCount;
    if (missingCount <= limit) {
      if (!message.empty()) message += " ";
      message += missingEntry(*parameter);
    } else if (missingCount == limit + 1) {
      message += kOthersNotListedText;
    }
  }
}

}  // namespace zelmot::model
