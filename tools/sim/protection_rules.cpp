#include "protection_rules.h"

#include "model/enumeration_codec.h"

namespace zelmot::sim {

namespace {

bool isProtectionEnumeration(const StoredParameter& parameter) {
  return parameter.value->typeDescriptor() == model::kAttributeCombinationsDescriptor;
}

}  // namespace

bool isShiftedProtectionByte(const StoredParameter& parameter, const uint8_t* data,
                             size_t length) {
  return isProtectionEnumeration(parameter) && length == 1 && data[0] >= kProtectionShift &&
         data[0] < kProtectionShift + 4;
}

DeviceError checkProtectionWrite(ParameterStore& store, const StoredParameter& parameter,
                                 const uint8_t* data, size_t length, bool factoryRights) {
  if (!isProtectionEnumeration(parameter) || factoryRights) return DeviceError::None;
  if (isShiftedProtectionByte(parameter, data, length)) return DeviceError::None;
  const AttributePair* pair = store.attributes(parameter.command, parameter.index);
  if (pair != nullptr && pair->factoryOwned) return DeviceError::AttributeNotOwner;
  return DeviceError::None;
}

}  // namespace zelmot::sim
