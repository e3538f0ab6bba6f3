#pragma once
// One value in its two forms, the value text the user sees and the data field of a frame,
// with the type descriptor, decimals and limits that decide the conversion.
//
// Thread safety: name, type descriptor, decimals and limits are set while the catalogue is
// built and only read afterwards. The value text and raw reply change during exchanges and
// are guarded by mutex_ (derived classes guard their own changing fields with it too).
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "model/service_values.h"
#include "model/value_kind.h"

namespace zelmot::model {

class ValueContext;

class MyConverter {
public:
  static constexpr size_t kRawDataSize = 103;
  static constexpr size_t kMaxDataSize = 512;

  MyConverter();
  virtual ~MyConverter() = default;
  MyConverter(const MyConverter&) = delete;
  MyConverter& operator=(const MyConverter&) = delete;

  // --- fixed description -------------------------------------------------------------
  const std::string& name() const { return name_; }
  void setName(std::string name);
  const std::string& typeDescriptor() const { return typeDescriptor_; }
  void setTypeDescriptor(std::string descriptor) { typeDescriptor_ = std::move(descriptor); }
  int32_t decimals() const { return decimals_; }
  void setDecimals(int32_t decimals) { decimals_ = decimals; }
  double minimum() const { return minimum_; }
  double maximum() const { return maximum_; }
  void setLimits(double minimum, double maximum) { minimum_ = minimum; maximum_ = maximum; }
  bool hasLimits() const { return minimum_ != 0.0 || maximum_ != 0.0; }
  ValueKind valueKind() const { return valueKindOf(typeDescriptor_); }
  void setContext(ValueContext* context) { context_ = context; }
  ValueContext* context() const { return context_; }

  // --- changing value ----------------------------------------------------------------
  std::string valueText() const;
  void setRawValueText(const std::string& text);  // no checks, no flags
  std::vector<uint8_t> rawData() const;           // data field of the last reply
  void setRawData(const uint8_t* data, size_t length);

  // --- conversions (pure with respect to the value text) ------------------------------
  // Data field -> text. 1 converted, 0 not converted (text untouched), -1 error (text is
  // the message). Does not store anything; see applyData.
  int DataToText(const uint8_t* data, int length, std::string& text) const;
  // DataToText, then stores the text as value text when the result is not 0.
  int applyData(const uint8_t* data, int length);
  // Text -> data field (at most kMaxDataSize bytes). 1 converted, 0 the text is no value of
  // this type, -1 error with `message` set.
  int TextToData(const std::string& text, std::vector<uint8_t>& data, std::string& message) const;
  // STORED_DOT rounding of a typed text: 1 with `rounded` set, -1 not a number.
  int RoundToPrecision(const std::string& text, std::string& rounded) const;

  // Description for the parameter list page ("Знаковое целое число", enumeration items ...).
  std::string typeDescription() const;

protected:
  mutable std::mutex mutex_;

private:
  int decodeByDescriptor(const uint8_t* data, int length, std::string& text) const;
  int encodeByDescriptor(const std::string& text, std::vector<uint8_t>& data,
                         std::string& message) const;
  int accessLevel() const;

  std::string name_;
  NameRole nameRole_ = NameRole::Other;
  std::string valueText_;
  uint8_t rawLength_ = 0;
  uint8_t rawData_[kRawDataSize] = {};
  std::string typeDescriptor_;
  int32_t decimals_ = 0;
  double maximum_ = 0.0;
  double minimum_ = 0.0;
  ValueContext* context_ = nullptr;
};

}  // namespace zelmot::model
