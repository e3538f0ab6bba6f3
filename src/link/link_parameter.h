#pragma once
// What the device link needs of a parameter to read or write it. The model's Parameter
// implements it; tests implement it with a plain struct.
#include <cstdint>
#include <string>
#include <vector>

namespace zelmot::link {

class LinkParameter {
public:
  virtual ~LinkParameter() = default;

  virtual std::string linkName() const = 0;
  virtual std::string linkValueText() const = 0;
  virtual void setLinkValueText(const std::string& text) = 0;
  virtual std::string linkErrorText() const = 0;
  virtual void setLinkErrorText(const std::string& text) = 0;

  virtual bool linkHasLinearIndex() const = 0;
  virtual int32_t linkLinearIndex() const = 0;
  virtual int32_t linkRequestIndex() const = 0;  // added to the base address; -1 = address 255
  virtual int32_t linkAttributeMultiplicity() const = 0;

  virtual bool linkEditable() const = 0;
  virtual bool linkFactoryOwned() const = 0;
  // Stores attributes read from the device and clears both attribute change flags.
  virtual void setLinkAttributes(bool editable, bool factoryOwned) = 0;
  virtual void clearLinkChangeFlags() = 0;  // all three change flags
  virtual void storeLinkRawReply(const uint8_t* data, uint8_t length) = 0;

  // Value text -> data field: 1 converted, 0 not a value of this type, -1 error (message set).
  virtual int linkTextToData(const std::string& text, std::vector<uint8_t>& data,
                             std::string& message) = 0;
  // Data field -> value text: 1 converted, 0 not converted, -1 error (text is the message).
  // The implementation stores the text into the value text whenever the result is not 0.
  virtual int linkDataToText(const uint8_t* data, int length) = 0;
};

}  // namespace zelmot::link
