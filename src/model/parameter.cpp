#include "model/parameter.h"

#include <algorithm>

#include "model/description_records.h"
#include "model/parameter_record.h"
#include "model/text_util.h"
#include "model/value_text_check.h"

namespace zelmot::model {

using Lock = std::lock_guard<std::mutex>;

bool isProblemErrorText(const std::string& errorText, bool mismatchesToo) {
  if (errorText.empty() || errorText == kNotInitialisedText) return false;
  if (!mismatchesToo && errorText.starts_with(kMismatchPrefix)) return false;
  return true;
}

Parameter::Parameter() {
  setName(kUnknownParameterName);
  setTypeDescriptor({});
  reset();
}

Parameter::~Parameter() {
  // The structural table keeps no pointer to a parameter that is gone.
  if (tableSlot_ != nullptr && *tableSlot_ == this) *tableSlot_ = nullptr;
}

// --- reset ---------------------------------------------------------------------------------

void Parameter::reset() {
  setRawValueText(kNoDataText);
  Lock lock(mutex_);
  // Not touched here: the program's own write permission, privacy and catalogue flag.
  state_.writableByCatalogue = true;
  state_.hasLinearIndex = false;
  state_.linearIndex = 0;
  state_.requestIndex = 0;
  state_.exchange = ExchangeState{};
  attributeMultiplicity_ = 0;
}

void Parameter::resetValues() {
  setRawValueText(kNoDataText);
  Lock lock(mutex_);
  state_.exchange = ExchangeState{};
}

// --- captions ------------------------------------------------------------------------------

std::string Parameter::catalogueCaption() const { return readGuarded(catalogueCaption_); }
void Parameter::setCatalogueCaption(const std::string& caption) {
  writeGuarded(catalogueCaption_, caption);
}
std::string Parameter::treeCaption() const { return readGuarded(treeCaption_); }
void Parameter::setTreeCaption(const std::string& caption) { writeGuarded(treeCaption_, caption); }
std::string Parameter::GetDescription() const {
  Lock lock(mutex_);
  return treeCaption_.empty() ? catalogueCaption_ : treeCaption_;
}
std::string Parameter::hint() const { return readGuarded(hint_); }
bool Parameter::hintIsQuestion() const { return readGuarded(hintIsQuestion_); }

// --- simple guarded fields -----------------------------------------------------------------

bool Parameter::hasLinearIndex() const { return readGuarded(state_.hasLinearIndex); }
void Parameter::setHasLinearIndex(bool value) { writeGuarded(state_.hasLinearIndex, value); }

int32_t Parameter::linearIndex() const { return readGuarded(state_.linearIndex); }
void Parameter::setLinearIndex(int32_t value) { writeGuarded(state_.linearIndex, value); }

int32_t Parameter::requestIndex() const { return readGuarded(state_.requestIndex); }
void Parameter::setRequestIndex(int32_t value) { writeGuarded(state_.requestIndex, value); }

bool Parameter::writableByCatalogue() const { return readGuarded(state_.writableByCatalogue); }
void Parameter::setWritableByCatalogue(bool value) {
  writeGuarded(state_.writableByCatalogue, value);
}

bool Parameter::writableHere() const { return readGuarded(state_.writableHere); }
void Parameter::setWritableHere(bool value) { writeGuarded(state_.writableHere, value); }

bool Parameter::editable() const { return readGuarded(state_.exchange.editable); }
void Parameter::setEditable(bool value) { writeGuarded(state_.exchange.editable, value); }

bool Parameter::factoryOwned() const { return readGuarded(state_.exchange.factoryOwned); }
void Parameter::setFactoryOwned(bool value) { writeGuarded(state_.exchange.factoryOwned, value); }

int32_t Parameter::attributeMultiplicity() const { return readGuarded(attributeMultiplicity_); }
void Parameter::setAttributeMultiplicity(int32_t value) {
  writeGuarded(attributeMultiplicity_, value);
}

int32_t Parameter::privacy() const { return readGuarded(state_.privacy); }
void Parameter::setPrivacy(int32_t value) { writeGuarded(state_.privacy, value); }

bool Parameter::catalogueFlag() const { return readGuarded(state_.catalogueFlag); }
void Parameter::setCatalogueFlag(bool value) { writeGuarded(state_.catalogueFlag, value); }

bool Parameter::valueChanged() const { return readGuarded(state_.exchange.valueChanged); }
void Parameter::setValueChanged(bool value) { writeGuarded(state_.exchange.valueChanged, value); }

bool Parameter::editAttributeChanged() const {
  return readGuarded(state_.exchange.editAttributeChanged);
}
void Parameter::setEditAttributeChanged(bool value) {
  writeGuarded(state_.exchange.editAttributeChanged, value);
}

bool Parameter::ownerAttributeChanged() const {
  return readGuarded(state_.exchange.ownerAttributeChanged);
}
void Parameter::setOwnerAttributeChanged(bool value) {
  writeGuarded(state_.exchange.ownerAttributeChanged, value);
}

uintptr_t Parameter::viewItem() const { return readGuarded(viewItem_); }
void Parameter::setViewItem(uintptr_t value) { writeGuarded(viewItem_, value); }

int32_t Parameter::pollPeriod() const { return readGuarded(pollPeriod_); }
void Parameter::setPollPeriod(int32_t value) { writeGuarded(pollPeriod_, value); }

bool Parameter::isWritable() const {
  Lock lock(mutex_);
  return state_.writableByCatalogue && state_.writableHere;
}
bool Parameter::fromCatalogue() const { return readGuarded(fromCatalogue_); }
bool Parameter::anyChangeFlag() const {
  Lock lock(mutex_);
  return state_.exchange.anyChange();
}
void Parameter::clearChangeFlags() {
  Lock lock(mutex_);
  state_.exchange.clearChanges();
}
std::string Parameter::errorText() const { return readGuarded(state_.exchange.errorText); }
void Parameter::setErrorText(const std::string& text) {
  writeGuarded(state_.exchange.errorText, text);
}
bool Parameter::hasProblem(bool mismatchesToo) const {
  return isProblemErrorText(errorText(), mismatchesToo);
}
bool Parameter::hasNoData() const { return valueText() == kNoDataText; }

// --- editing -------------------------------------------------------------------------------

int Parameter::SetValueText(const std::string& text) {
  bool limitsRefusal = false;
  return SetValueText(text, limitsRefusal);
}

int Parameter::SetValueText(const std::string& text, bool& limitsRefusal) {
  const ValueCheck check = checkValueText(*this, text);
  limitsRefusal = check.result != 1 && check.limitsRefusal;
  if (check.result != 1) return 0;
  setRawValueText(check.acceptedText);
  setValueChanged(true);
  return 1;
}

// --- view texts ----------------------------------------------------------------------------

std::string Parameter::displayName(bool showLinearIndexes) const {
  bool indexed = false;
  int32_t index = 0;
  {
    Lock lock(mutex_);
    indexed = state_.hasLinearIndex;
    index = state_.linearIndex;
  }
  if (!indexed || !showLinearIndexes) return name();
  return name() + ":" + std::to_string(index);
}

std::string Parameter::attributeText(const char* ownText) const {
  Lock lock(mutex_);
  // A negative multiplicity from a damaged catalogue counts as "no attributes".
  if (attributeMultiplicity_ <= 0) return {};
  if (state_.linearIndex % attributeMultiplicity_ != 0) return kSeeAboveText;
  return ownText;
}

std::string Parameter::editAttributeText() const {
  return attributeText(editable() ? kEditableText : kNotEditableText);
}

std::string Parameter::ownerAttributeText() const {
  return attributeText(factoryOwned() ? kFactoryText : kUserText);
}

Rgb Parameter::rowColour() const {
  const std::string error = errorText();
  if (isProblemErrorText(error, true)) {
    return error.starts_with(kMismatchPrefix) ? kMismatchColour : kErrorColour;
  }
  return anyChangeFlag() ? kChangedColour : kPlainColour;
}

// --- polling -------------------------------------------------------------------------------

bool Parameter::hasPollTimer() const { return readGuarded(hasPollTimer_); }
bool Parameter::timerArmed() const { return readGuarded(timerArmed_); }

void Parameter::PreparePolling() {
  Lock lock(mutex_);
  hasPollTimer_ = true;
  state_.requestIndex = state_.hasLinearIndex ? state_.linearIndex : 0;
  state_.hasLinearIndex = false;
}

bool Parameter::StartPolling() {
  Lock lock(mutex_);
  if (!hasPollTimer_ || timerArmed_) return false;
  timerArmed_ = true;
  return true;
}

void Parameter::StopPolling() {
  Lock lock(mutex_);
  timerArmed_ = false;
}

// --- catalogue -----------------------------------------------------------------------------

void Parameter::fillFromCatalogueRecord(const CatalogueRecord& record) {
  setName(record.name);
  setTypeDescriptor(record.typeDescriptor);
  setDecimals(record.decimals);
  setLimits(record.minimum, record.maximum);
  // An empty default keeps "Нет данных": a value nobody set must never be written.
  setRawValueText(record.initialValue.empty() ? std::string(kNoDataText) : record.initialValue);

  // Index mode not 0: only -1 means "no index"; index mode 0: every negative value does.
  const bool indexed =
      record.indexMode != 0 ? record.linearIndex != -1 : record.linearIndex >= 0;
  std::string hint = record.hint;
  const bool question = !hint.empty() && hint.front() == '?';
  if (question) hint.erase(0, 1);
  std::replace(hint.begin(), hint.end(), '_', ' ');

  Lock lock(mutex_);
  catalogueCaption_ = record.caption;
  state_.hasLinearIndex = indexed;
  state_.linearIndex = indexed ? record.linearIndex : 0;
  state_.writableByCatalogue = record.readOnly == 0;
  state_.catalogueFlag = record.flag != 0;
  state_.exchange.valueChanged = record.valueChanged != 0;
  attributeMultiplicity_ = record.attributeMultiplicity;
  if (record.attributeMultiplicity != 0) {
    state_.exchange.editable = record.editable != 0;
    state_.exchange.factoryOwned = record.factoryOwned != 0;
  }
  hint_ = std::move(hint);
  hintIsQuestion_ = question;
  state_.exchange.errorText = record.errorText;
  fromCatalogue_ = true;
  state_.exchange.editAttributeChanged = false;
  state_.exchange.ownerAttributeChanged = false;
}

void Parameter::setTableSlot(Parameter** slot) {
  Lock lock(mutex_);
  tableSlot_ = slot;
}

// --- configuration file --------------------------------------------------------------------

namespace {

void writeField(ArchiveWriter& archive, bool value) { archive.writeBool(value); }
void writeField(ArchiveWriter& archive, int32_t value) { archive.writeInt32(value); }
void writeField(ArchiveWriter& archive, const std::string& value) { archive.writeString(value); }

}  // namespace

ArchiveError Parameter::Serialize(ArchiveWriter& archive) const {
  if (!archive.ok()) return archive.error();
  const std::string value = valueText();
  const std::string description = GetDescription();
  const ParameterState state = this->state();
  if (state.linearIndex < 0) {
    archive.fail(ArchiveError::BadIndex);
    return archive.error();
  }
  archive.writeString(name());
  archive.writeString(value);
  archive.writeString(description);
  forEachStoredField(state, [&archive](const auto& field) { writeField(archive, field); });
  return archive.error();
}

ArchiveError Parameter::Serialize(ArchiveReader& archive) {
  // The whole record is read before any of it is applied.
  StoredRecord record;
  if (readStoredRecord(archive, record) != ArchiveError::None) return archive.error();
  // Outside the tree there is no parameter to name: the stream is only malformed.
  if (record.badFlagByte >= 0) {
    archive.fail(ArchiveError::BadFormat);
    return archive.error();
  }
  applyRecord(std::move(record));
  return ArchiveError::None;
}

void Parameter::applyRecord(StoredRecord record) {
  setName(std::move(record.name));
  setRawValueText(record.valueText);
  Lock lock(mutex_);
  state_ = std::move(record.state);
}

void Parameter::markUnencodableValue() {
  const std::string text = valueText();
  const ValueKind kind = valueKind();
  // Unread values and text-only types are never sent, so there is nothing to encode.
  if (text == kNoDataText || kind == ValueKind::String || kind == ValueKind::Ascii) return;
  std::vector<uint8_t> data;
  std::string message;
  if (TextToData(text, data, message) == 1) return;
  setErrorText(message.empty() ? kNotEncodableText : message);
}

ParameterState Parameter::state() const { return readGuarded(state_); }

// --- parameter table -----------------------------------------------------------------------

ExportRecord Parameter::exportRecord() const {
  const ParameterState state = this->state();
  ExportRecord record;
  record.name = name();
  record.description = GetDescription();
  record.valueText = valueText();
  record.hasLinearIndex = state.hasLinearIndex;
  record.linearIndex = state.linearIndex;
  record.requestIndex = state.requestIndex;
  record.writable = state.writableByCatalogue && state.writableHere;
  record.editable = state.exchange.editable;
  record.factoryOwned = state.exchange.factoryOwned;
  record.errorText = state.exchange.errorText;
  record.valueChanged = state.exchange.valueChanged;
  record.editAttributeChanged = state.exchange.editAttributeChanged;
  record.ownerAttributeChanged = state.exchange.ownerAttributeChanged;
  record.privacy = state.privacy;
  return record;
}

void Parameter::importRecord(const ExportRecord& record) {
  ExchangeState imported;
  imported.errorText = record.errorText;
  imported.editable = record.editable;
  imported.factoryOwned = record.factoryOwned;
  imported.valueChanged = record.valueChanged;
  imported.editAttributeChanged = record.editAttributeChanged;
  imported.ownerAttributeChanged = record.ownerAttributeChanged;
  setRawValueText(record.valueText);
  writeGuarded(state_.exchange, imported);
}

// --- LinkParameter -------------------------------------------------------------------------

std::string Parameter::linkName() const { return name(); }
std::string Parameter::linkValueText() const { return valueText(); }
void Parameter::setLinkValueText(const std::string& text) { setRawValueText(text); }
std::string Parameter::linkErrorText() const { return errorText(); }
void Parameter::setLinkErrorText(const std::string& text) { setErrorText(text); }
bool Parameter::linkHasLinearIndex() const { return hasLinearIndex(); }
int32_t Parameter::linkLinearIndex() const { return linearIndex(); }
int32_t Parameter::linkRequestIndex() const { return requestIndex(); }
int32_t Parameter::linkAttributeMultiplicity() const { return attributeMultiplicity(); }
bool Parameter::linkEditable() const { return editable(); }
bool Parameter::linkFactoryOwned() const { return factoryOwned(); }

void Parameter::setLinkAttributes(bool editable, bool factoryOwned) {
  Lock lock(mutex_);
  state_.exchange.editable = editable;
  state_.exchange.factoryOwned = factoryOwned;
  state_.exchange.editAttributeChanged = false;
  state_.exchange.ownerAttributeChanged = false;
}

void Parameter::clearLinkChangeFlags() { clearChangeFlags(); }

void Parameter::storeLinkRawReply(const uint8_t* data, uint8_t length) {
  setRawData(data, length);
}

int Parameter::linkTextToData(const std::string& text, std::vector<uint8_t>& data,
                              std::string& message) {
  return TextToData(text, data, message);
}

int Parameter::linkDataToText(const uint8_t* data, int length) { return applyData(data, length); }

}  // namespace zelmot::model
