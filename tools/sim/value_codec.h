#pragma once
// The device side of value encodings: a stored value text becomes the data field of a
// reply, and the data field of a write request is checked (size, point position, limits,
// enumeration range) and becomes the new value text.
#include <cstdint>
#include <string>
#include <vector>

#include "device_errors.h"
#include "parameter_store.h"

namespace zelmot::sim {

// Largest data field of a reply: the host reads at most 29 characters.
inline constexpr size_t kMaxReplyData = 7;

// The value part of a reply (without any trailing index bytes); false when the stored text
// cannot be encoded by the parameter's type.
bool encodeValue(const StoredParameter& parameter, std::vector<uint8_t>& data);

// Stores a value text the device could send; false, with the previous text kept, when it
// cannot be encoded by the parameter's type.
bool setEncodableValue(StoredParameter& parameter, const std::string& text);

// The whole data field of a read reply: the value, then the element's index for the
// numeric types of an indexed element, as a write request carries it. STORED_DOT values of
// more than two bytes always get two trailing bytes, since a reader takes the last two
// bytes of such a field for something other than the value.
bool encodeReply(const StoredParameter& parameter, std::vector<uint8_t>& data);

// Checks the value part of a write request and, when the device takes it, gives the value
// text to store. DeviceError::None on success.
DeviceError decodeWrite(const StoredParameter& parameter, const uint8_t* data, size_t length,
                        std::string& text);

// The number a value text stands for (enumerations: the item position; CLK_frm: seconds);
// false when it is no number of the parameter's type.
bool numericValue(const StoredParameter& parameter, const std::string& text, double& value);
bool numericValue(const StoredParameter& parameter, double& value);

// Stores a number as the parameter's value text in the form its type uses (enumerations:
// the item at that position). False, with nothing changed, when the type cannot hold it.
bool setNumericValue(StoredParameter& parameter, double value);

}  // namespace zelmot::sim
