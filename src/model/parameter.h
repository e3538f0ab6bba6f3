#pragma once
// One device parameter, or one element of an indexed parameter: the value of MyConverter
// plus its place (linear and request index), write permissions, protection attributes,
// pending changes, last exchange result and polling state.
//
// Thread safety: the exchange thread writes parameters while the view reads them. Every
// field that changes after the catalogue is built is read and written under the mutex
// inherited from MyConverter; there are no public fields. Never call MyConverter's value
// functions while holding that mutex (they take it themselves).
#include <cstdint>
#include <string>

#include "link/link_parameter.h"
#include "model/byte_archive.h"
#include "model/export_record.h"
#include "model/my_converter.h"
#include "model/parameter_state.h"

namespace zelmot::model {

struct CatalogueRecord;
struct StoredRecord;

inline constexpr const char* kNoDataText = "Нет данных";
inline constexpr const char* kNotInitialisedText =
    "Значение не записанно, так как параметер не инициализирован";
inline constexpr const char* kNotEncodableText =
    "Неверное значение (неудается закодировать данные)";
inline constexpr const char* kMismatchPrefix = "Знач-е в приборе:";
inline constexpr const char* kUnknownParameterName = "<неизвестный параметр>";
inline constexpr const char* kSeeAboveText = "см. выше";
inline constexpr const char* kEditableText = "Редактируемый";
inline constexpr const char* kNotEditableText = "Не редактируемый";
inline constexpr const char* kFactoryText = "Завод";
inline constexpr const char* kUserText = "Пользователь";
inline constexpr int32_t kDefaultPollPeriodMs = 1000;

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kErrorColour{255, 0, 0};
inline constexpr Rgb kMismatchColour{64, 64, 255};
inline constexpr Rgb kChangedColour{0, 200, 0};
inline constexpr Rgb kPlainColour{0, 0, 0};

// True for an error text that marks a real problem: not empty and not the "never had a
// value" refusal; comparison mismatches count only when `mismatchesToo`.
bool isProblemErrorText(const std::string& errorText, bool mismatchesToo);

class Parameter : public MyConverter, public link::LinkParameter {
public:
  Parameter();
  ~Parameter() override;

  // --- reset ---------------------------------------------------------------------------
  // The reset of construction: identity, permissions, attributes and value state.
  void reset();
  // Value state only (the tree's ResetValues): value "Нет данных", no error, editable,
  // user owned, no pending change.
  void resetValues();

  // --- captions ------------------------------------------------------------------------
  std::string catalogueCaption() const;
  void setCatalogueCaption(const std::string& caption);
  std::string treeCaption() const;
  void setTreeCaption(const std::string& caption);
  // The tree caption when not empty, else the catalogue caption.
  std::string GetDescription() const;
  std::string hint() const;
  bool hintIsQuestion() const;

  // --- place ---------------------------------------------------------------------------
  bool hasLinearIndex() const;
  void setHasLinearIndex(bool value);
  int32_t linearIndex() const;
  void setLinearIndex(int32_t index);
  int32_t requestIndex() const;
  void setRequestIndex(int32_t index);

  // --- permissions and attributes -------------------------------------------------------
  bool writableByCatalogue() const;
  void setWritableByCatalogue(bool value);
  bool writableHere() const;
  void setWritableHere(bool value);
  bool isWritable() const;  // both flags
  bool editable() const;
  void setEditable(bool value);
  bool factoryOwned() const;
  void setFactoryOwned(bool value);
  int32_t attributeMultiplicity() const;
  void setAttributeMultiplicity(int32_t value);
  bool fromCatalogue() const;
  int32_t privacy() const;
  void setPrivacy(int32_t value);
  bool catalogueFlag() const;
  void setCatalogueFlag(bool value);

  // --- pending changes and last exchange -----------------------------------------------
  bool valueChanged() const;
  void setValueChanged(bool value);
  bool editAttributeChanged() const;
  void setEditAttributeChanged(bool value);
  bool ownerAttributeChanged() const;
  void setOwnerAttributeChanged(bool value);
  bool anyChangeFlag() const;
  void clearChangeFlags();
  std::string errorText() const;
  void setErrorText(const std::string& text);
  bool hasProblem(bool mismatchesToo) const;
  bool hasNoData() const;  // value text is "Нет данных"

  // --- editing -------------------------------------------------------------------------
  // Checks a typed value against type and limits (may round it and tell the user); on
  // acceptance stores it and sets value changed. 1 accepted, 0 refused.
  virtual int SetValueText(const std::string& text);
  // As SetValueText, also saying whether a refusal was for the limits (the view then
  // shows the allowed range).
  int SetValueText(const std::string& text, bool& limitsRefusal);

  // --- view texts ----------------------------------------------------------------------
  // Name, with ":%i" and the linear index when it has one and the view asks for it.
  std::string displayName(bool showLinearIndexes) const;
  std::string editAttributeText() const;  // "", "см. выше", "Редактируемый"/"Не редактируемый"
  std::string ownerAttributeText() const; // "", "см. выше", "Завод"/"Пользователь"
  Rgb rowColour() const;

  // --- polling -------------------------------------------------------------------------
  int32_t pollPeriod() const;
  void setPollPeriod(int32_t milliseconds);
  bool hasPollTimer() const;
  bool timerArmed() const;
  // Gives the parameter a poll timer: the request index becomes the linear index (when
  // it has one, else 0) and has linear index is cleared.
  void PreparePolling();
  // Arms the timer; false when there is no timer or it already runs.
  bool StartPolling();
  void StopPolling();

  // --- catalogue, table slot, view item -------------------------------------------------
  void fillFromCatalogueRecord(const CatalogueRecord& record);
  // The structural-table slot that refers to this parameter; cleared on destruction, so
  // the table must outlive the parameter or forget the slot first.
  void setTableSlot(Parameter** slot);
  uintptr_t viewItem() const;
  void setViewItem(uintptr_t item);

  // --- configuration file and parameter table ------------------------------------------
  // Stores the record; a negative linear index fails with BadIndex and writes nothing.
  ArchiveError Serialize(ArchiveWriter& archive) const;
  // Loads a record; fields change only when the whole record was read and is valid
  // (a flag byte other than 0 or 1 fails with BadFormat).
  ArchiveError Serialize(ArchiveReader& archive);
  // Takes name, value and state of a record already read and checked.
  void applyRecord(StoredRecord record);
  // A loaded value the type cannot encode gets the encoder's message as error text, so
  // it shows as a problem and is never sent as it stands.
  void markUnencodableValue();
  // A consistent copy of place, permissions and exchange state.
  ParameterState state() const;
  ExportRecord exportRecord() const;
  // Takes value, error text, attributes and change flags of a matching record.
  void importRecord(const ExportRecord& record);

  // --- LinkParameter -------------------------------------------------------------------
  std::string linkName() const override;
  std::string linkValueText() const override;
  void setLinkValueText(const std::string& text) override;
  std::string linkErrorText() const override;
  void setLinkErrorText(const std::string& text) override;
  bool linkHasLinearIndex() const override;
  int32_t linkLinearIndex() const override;
  int32_t linkRequestIndex() const override;
  int32_t linkAttributeMultiplicity() const override;
  bool linkEditable() const override;
  bool linkFactoryOwned() const override;
  void setLinkAttributes(bool editable, bool factoryOwned) override;
  void clearLinkChangeFlags() override;
  void storeLinkRawReply(const uint8_t* data, uint8_t length) override;
  int linkTextToData(const std::string& text, std::vector<uint8_t>& data,
                     std::string& message) override;
  int linkDataToText(const uint8_t* data, int length) override;

private:
  // Text of an attribute column: nothing, "см. выше", or `ownText` when the row has its own.
  std::string attributeText(const char* ownText) const;

  template <typename T>
  T readGuarded(const T& field) const {
    std::lock_guard lock(mutex_);
    return field;
  }
  template <typename T>
  void writeGuarded(T& field, const T& value) {
    std::lock_guard lock(mutex_);
    field = value;
  }

  std::string catalogueCaption_;
  std::string treeCaption_;
  ParameterState state_;
  int32_t attributeMultiplicity_ = 0;
  std::string hint_;
  bool hintIsQuestion_ = false;
  bool fromCatalogue_ = false;
  Parameter** tableSlot_ = nullptr;
  int32_t pollPeriod_ = kDefaultPollPeriodMs;
  bool hasPollTimer_ = false;
  bool timerArmed_ = false;
  uintptr_t viewItem_ = 0;
};

}  // namespace zelmot::model
