#pragma once
// The protection enumeration (editable/not editable, locked/unlocked): a host at the full
// access level sends its positions shifted to 172..175, which the device takes as the
// factory's write. The plain positions 0..3 come from a lower level and may change the
// setting only while the user owns it (or the line has factory rights).
#include <cstddef>
#include <cstdint>

#include "device_errors.h"
#include "parameter_store.h"

namespace zelmot::sim {

inline constexpr uint8_t kProtectionShift = 172;

// True for the four shifted bytes of the protection enumeration.
bool isShiftedProtectionByte(const StoredParameter& parameter, const uint8_t* data, size_t length);

DeviceError checkProtectionWrite(ParameterStore& store, const StoredParameter& parameter,
                                 const uint8_t* data, size_t length, bool factoryRights);

}  // namespace zelmot::sim
