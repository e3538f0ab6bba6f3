#include "model/parameter.h"

#include <algorithm>

#include "model/description_records.h"
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
  writableByCatalogue_ = true;
  hasLinearIndex_ = false;
  linearIndex_ = 0;
  requestIndex_ = 0;
  valueChanged_ = editAttributeChanged_ = ownerAttributeChanged_ = false;
  errorText_.clear();
  attributeMultiplicity_ = 0;
  factoryOwned_ = false;
  editable_ = true;
}

void Parameter::resetValues() {
  setRawValueText(kNoDataText);
  Lock lock(mutex_);
  errorText_.clear();
  editable_ = true;
  factoryOwned_ = false;
  valueChanged_ = editAttributeChanged_ = ownerAttributeChanged_ = false;
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

bool Parameter::hasLinearIndex() const { return readGuarded(hasLinearIndex_); }
void Parameter::setHasLinearIndex(bool value) { writeGuarded(hasLinearIndex_, value); }

int32_t Parameter::linearIndex() const { return readGuarded(linearIndex_); }
void Parameter::setLinearIndex(int32_t value) { writeGuarded(linearIndex_, value); }

int32_t Parameter::requestIndex() const { return readGuarded(requestIndex_); }
void Parameter::setRequestIndex(int32_t value) { writeGuarded(requestIndex_, value); }

bool Parameter::writableByCatalogue() const { return readGuarded(writableByCatalogue_); }
void Parameter::setWritableByCatalogue(bool value) { writeGuarded(writableByCatalogue_, value); }

bool Parameter::writableHere() const { return readGuarded(writableHere_); }
void Parameter::setWritableHere(bool value) { writeGuarded(writableHere_, value); }

bool Parameter::editable() const { return readGuarded(editable_); }
void Parameter::setEditable(bool value) { writeGuarded(editable_, value); }

bool Parameter::factoryOwned() const { return readGuarded(factoryOwned_); }
void Parameter::setFactoryOwned(bool value) { writeGuarded(factoryOwned_, value); }

int32_t Parameter::attributeMultiplicity() const { return readGuarded(attributeMultiplicity_); }
void Parameter::setAttributeMultiplicity(int32_t value) { writeGuarded(attributeMultiplicity_, value); }

int32_t Parameter::privacy() const { return readGuarded(privacy_); }
void Parameter::setPrivacy(int32_t value) { writeGuarded(privacy_, value); }

bool Parameter::catalogueFlag() const { return readGuarded(catalogueFlag_); }
void Parameter::setCatalogueFlag(bool value) { writeGuarded(catalogueFlag_, value); }

bool Parameter::valueChanged() const { return readGuarded(valueChanged_); }
void Parameter::setValueChanged(bool value) { writeGuarded(valueChanged_, value); }

bool Parameter::editAttributeChanged() const { return readGuarded(editAttributeChanged_); }
void Parameter::setEditAttributeChanged(bool value) { writeGuarded(editAttributeChanged_, value); }

bool Parameter::ownerAttributeChanged() const { return readGuarded(ownerAttributeChanged_); }
void Parameter::setOwnerAttributeChanged(bool value) { writeGuarded(ownerAttributeChanged_, value); }

uintptr_t Parameter::viewItem() const { return readGuarded(viewItem_); }
void Parameter::setViewItem(uintptr_t value) { writeGuarded(viewItem_, value); }

int32_t Parameter::pollPeriod() const { return readGuarded(pollPeriod_); }
void Parameter::setPollPeriod(int32_t value) { writeGuarded(pollPeriod_, value); }

bool Parameter::isWritable() const {
  Lock lock(mutex_);
  return writableByCatalogue_ && writableHere_;
}
bool Parameter::fromCatalogue() const { return readGuarded(fromCatalogue_); }
bool Parameter::anyChangeFlag() const {
  Lock lock(mutex_);
  return valueChanged_ || editAttributeChanged_ || ownerAttributeChanged_;
}
void Parameter::clearChangeFlags() {
  Lock lock(mutex_);
  valueChanged_ = editAttributeChanged_ = ownerAttributeChanged_ = false;
}
std::string Parameter::errorText() const { return readGuarded(errorText_); }
void Parameter::setErrorText(const std::string& text) { writeGuarded(errorText_, text); }
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
    indexed = hasLinearIndex_;
    index = linearIndex_;
  }
  if (!indexed || !showLinearIndexes) return name();
  return name() + ":" + std::to_string(index);
}

std::string Parameter::attributeText(const char* ownText) const {
  Lock lock(mutex_);
  // A negative multiplicity from a damaged catalogue counts as "no attributes".
  if (attributeMultiplicity_ <= 0) return {};
  if (linearIndex_ % attributeMultiplicity_ != 0) return kSeeAboveText;
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
  requestIndex_ = hasLinearIndex_ ? linearIndex_ : 0;
  hasLinearIndex_ = false;
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
  hasLinearIndex_ = indexed;
  linearIndex_ = indexed ? record.linearIndex : 0;
  writableByCatalogue_ = record.readOnly == 0;
  catalogueFlag_ = record.flag != 0;
  valueChanged_ = record.valueChanged != 0;
  attributeMultiplicity_ = record.attributeMultiplicity;
  if (record.attributeMultiplicity != 0) {
    editable_ = record.editable != 0;
    factoryOwned_ = record.factoryOwned != 0;
  }
  hint_ = std::move(hint);
  hintIsQuestion_ = question;
  errorText_ = record.errorText;
  fromCatalogue_ = true;
  editAttributeChanged_ = ownerAttributeChanged_ = false;
}

void Parameter::setTableSlot(Parameter** slot) {
  Lock lock(mutex_);
  tableSlot_ = slot;
}

// --- configuration file --------------------------------------------------------------------

namespace {

// The fields of one stored parameter record, read completely before any is applied.
struct StoredRecord {
  std::string name;
  std::string valueText;
  std::string description;  // read and discarded: descriptions come from the tree file
  bool hasLinearIndex = false;
  int32_t linearIndex = 0;
  int32_t requestIndex = 0;
  bool writableByCatalogue = false;
  bool writableHere = false;
  std::string errorText;
  bool valueChanged = false;
  bool editAttributeChanged = false;
  bool ownerAttributeChanged = false;
  bool editable = false;
  bool factoryOwned = false;
  int32_t privacy = 0;
  bool catalogueFlag = false;
};

void readStoredRecord(ArchiveReader& archive, StoredRecord& r) {
  archive.readString(r.name);
  archive.readString(r.valueText);
  archive.readString(r.description);
  archive.readBool(r.hasLinearIndex);
  archive.readInt32(r.linearIndex);
  archive.readInt32(r.requestIndex);
  archive.readBool(r.writableByCatalogue);
  archive.readBool(r.writableHere);
  archive.readString(r.errorText);
  archive.readBool(r.valueChanged);
  archive.readBool(r.editAttributeChanged);
  archive.readBool(r.ownerAttributeChanged);
  archive.readBool(r.editable);
  archive.readBool(r.factoryOwned);
  archive.readInt32(r.privacy);
  archive.readBool(r.catalogueFlag);
}

}  // namespace

ArchiveError Parameter::Serialize(ArchiveWriter& archive) const {
  if (!archive.ok()) return archive.error();
  const std::string value = valueText();
  const std::string description = GetDescription();
  Lock lock(mutex_);
  if (linearIndex_ < 0) {
    archive.fail(ArchiveError::BadIndex);
    return archive.error();
  }
  archive.writeString(name());
  archive.writeString(value);
  archive.writeString(description);
  archive.writeBool(hasLinearIndex_);
  archive.writeInt32(linearIndex_);
  archive.writeInt32(requestIndex_);
  archive.writeBool(writableByCatalogue_);
  archive.writeBool(writableHere_);
  archive.writeString(errorText_);
  archive.writeBool(valueChanged_);
  archive.writeBool(editAttributeChanged_);
  archive.writeBool(ownerAttributeChanged_);
  archive.writeBool(editable_);
  archive.writeBool(factoryOwned_);
  archive.writeInt32(privacy_);
  archive.writeBool(catalogueFlag_);
  return archive.error();
}

ArchiveError Parameter::Serialize(ArchiveReader& archive) {
  StoredRecord r;
  readStoredRecord(archive, r);
  if (!archive.ok()) return archive.error();
  if (r.linearIndex < 0) {
    archive.fail(ArchiveError::BadIndex);
    return archive.error();
  }
  setName(r.name);
  setRawValueText(r.valueText);
  Lock lock(mutex_);
  hasLinearIndex_ = r.hasLinearIndex;
  linearIndex_ = r.linearIndex;
  requestIndex_ = r.requestIndex;
  writableByCatalogue_ = r.writableByCatalogue;
  writableHere_ = r.writableHere;
  errorText_ = r.errorText;
  valueChanged_ = r.valueChanged;
  editAttributeChanged_ = r.editAttributeChanged;
  ownerAttributeChanged_ = r.ownerAttributeChanged;
  editable_ = r.editable;
  factoryOwned_ = r.factoryOwned;
  privacy_ = r.privacy;
  catalogueFlag_ = r.catalogueFlag;
  return ArchiveError::None;
}

// --- parameter table -----------------------------------------------------------------------

ExportRecord Parameter::exportRecord() const {
  ExportRecord record;
  record.name = name();
  record.description = GetDescription();
  record.valueText = valueText();
  Lock lock(mutex_);
  record.hasLinearIndex = hasLinearIndex_;
  record.linearIndex = linearIndex_;
  record.requestIndex = requestIndex_;
  record.writable = writableByCatalogue_ && writableHere_;
  record.editable = editable_;
  record.factoryOwned = factoryOwned_;
  record.errorText = errorText_;
  record.valueChanged = valueChanged_;
  record.editAttributeChanged = editAttributeChanged_;
  record.ownerAttributeChanged = ownerAttributeChanged_;
  record.privacy = privacy_;
  return record;
}

void Parameter::importRecord(const ExportRecord& record) {
  setRawValueText(record.valueText);
  Lock lock(mutex_);
  errorText_ = record.errorText;
  editable_ = record.editable;
  factoryOwned_ = record.factoryOwned;
  valueChanged_ = record.valueChanged;
  editAttributeChanged_ = record.editAttributeChanged;
  ownerAttributeChanged_ = record.ownerAttributeChanged;
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
  editable_ = editable;
  factoryOwned_ = factoryOwned;
  editAttributeChanged_ = ownerAttributeChanged_ = false;
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
