#pragma once
// The error codes the simulated device sends in the first data byte of an n.Err reply.
#include <cstdint>

namespace zelmot::sim {

enum class DeviceError : uint8_t {
  None = 0x00,
  PointAboveThree = 0x02,
  RomParameter = 0x03,
  WrongFixedPoint = 0x05,
  MantissaBeyondLimits = 0x06,
  AttributeNotOwner = 0x07,
  NoAttributes = 0x08,
  InvalidCharacter = 0x26,
  FrameChecksum = 0x27,
  DescriptorNotFound = 0x28,
  DataSize = 0x31,
  RequestBit = 0x32,
  EditForbidden = 0x33,
  LinearIndexTooLarge = 0x34,
  IndexBeyondLimit = 0x35,
  TaskNotStarted = 0x42,
  InvalidCombination = 0x47,
  EepromRead = 0x48,
  GraphNotAscending = 0x49,
  GraphHasNodes = 0x4A,
};

inline uint8_t code(DeviceError error) { return static_cast<uint8_t>(error); }

}  // namespace zelmot::sim
