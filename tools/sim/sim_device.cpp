#include "sim_device.h"

#include <cstring>

#include "graph_rules.h"
#include "link/frame_codec.h"
#include "protection_rules.h"
#include "structure_rules.h"
#include "value_codec.h"

namespace zelmot::sim {
namespace {

constexpr int kBroadcastAddress = 255;
constexpr int kAddressesPerDevice = 8;

void appendFloat(std::vector<uint8_t>& data, float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  for (int shift = 24; shift >= 0; shift -= 8) data.push_back(static_cast<uint8_t>(bits >> shift));
}

int32_t bigEndianIndex(const uint8_t* bytes) { return (bytes[0] << 8) | bytes[1]; }

}  // namespace

SimDevice::SimDevice(const SimOptions& options, ParameterStore store,
                     std::chrono::steady_clock::time_point start)
    : options_(options),
      store_(std::move(store)),
      process_(start),
      calibration_(options.calibrationSeconds, options.calibrationFault) {
  network_.address = options.address;
  network_.addressLength = options.addressLength;
  network_.baud = options.baud;
  storeNetworkSettings(store_, network_);
  recomputeAll(store_);
}

void SimDevice::setNetwork(const NetworkSettings& settings) {
  network_ = settings;
  storeNetworkSettings(store_, network_);
}

SimDevice::Audience SimDevice::audience(int address) const {
  if (address == kBroadcastAddress) return Audience::Broadcast;
  if (address >= network_.address && address < network_.address + kAddressesPerDevice) {
    return Audience::Own;
  }
  return Audience::Other;
}

DeviceReply SimDevice::error(DeviceError code) {
  ++errorCount_;
  return {link::kErrorReplyCode, {sim::code(code)}};
}

DeviceReply SimDevice::handle(const DeviceRequest& request, const DeviceTime& time) {
  const int addressIndex =
      audience(request.address) == Audience::Own ? request.address - network_.address : 0;
  if (isServiceCommand(request.command)) return handleService(request, addressIndex);
  if (auto command = calibrationCommandOf(request.command)) {
    CalibrationAnswer answer = calibration_.handle(*command, request.requestFlag,
                                                   request.data.data(), request.data.size(),
                                                   time.steady);
    if (answer.error != DeviceError::None) return error(answer.error);
    return {request.command, answer.data};
  }
  if (calibration_.refusesWrite(request.command, request.requestFlag)) {
    return error(DeviceError::InvalidCombination);
  }
  if (!store_.knows(request.command)) return error(DeviceError::DescriptorNotFound);
  return accessParameter(request, addressIndex, time);
}

// Finds the element a request means. The index of an indexed element travels in the data
// field (two trailing bytes), or in the address for the parameters whose index a host puts
// there (the operative ones); a read without index bytes takes the address as well.
DeviceReply SimDevice::accessParameter(const DeviceRequest& request, int addressIndex,
                                       const DeviceTime& time) {
  const uint16_t command = request.command;
  const uint8_t* data = request.data.data();
  size_t length = request.data.size();
  const bool read = request.requestFlag != 0;
  int32_t index = -1;
  if (store_.indexed(command)) {
    if (read) {
      if (length == 2) index = bigEndianIndex(data);
      else if (length == 0) index = addressIndex;
      else return error(DeviceError::DataSize);
    } else if (store_.operative(command)) {
      index = addressIndex;
    } else {
      if (length < 3) return error(DeviceError::DataSize);
      index = bigEndianIndex(data + length - 2);
      length -= 2;
    }
  } else if (read && length != 0) {
    return error(DeviceError::DataSize);
  }
  StoredParameter* parameter = store_.find(command, index);
  if (parameter == nullptr) {
    return error(index > store_.highestIndex(command) ? DeviceError::LinearIndexTooLarge
                                                      : DeviceError::IndexBeyondLimit);
  }
  return read ? readParameter(*parameter, addressIndex, time)
              : writeParameter(*parameter, data, length, time);
}

DeviceReply SimDevice::readParameter(StoredParameter& parameter, int addressIndex,
                                     const DeviceTime& time) {
  Measurement measurement;
  if (measurementOf(parameter.name, measurement)) {
    return readMeasurement(parameter, addressIndex, time);
  }
  if (parameter.kind == ValueKind::RealTimeClock) return {parameter.command, clock_.read(time.wall)};
  if (sameName(parameter.name, "r.Cn")) refreshDiscreteInputs(parameter);
  if (DeviceError refused = checkGraphRead(store_, parameter); refused != DeviceError::None) {
    return error(refused);
  }
  std::vector<uint8_t> data;
  if (!encodeReply(parameter, data)) return error(DeviceError::EepromRead);
  return {parameter.command, data};
}

DeviceReply SimDevice::readMeasurement(const StoredParameter& parameter, int addressIndex,
                                       const DeviceTime& time) {
  const int channel = parameter.index >= 0 ? parameter.index : addressIndex;
  for (const StatusOverride& status : options_.statuses) {
    if (sameName(status.name, parameter.name) && status.index == channel) {
      return {parameter.command, {status.code, 0, 0, status.subCode}};
    }
  }
  Measurement measurement = Measurement::Reading;
  measurementOf(parameter.name, measurement);
  process_.advance(time.steady);
  std::vector<uint8_t> data;
  appendFloat(data, process_.value(measurement, channel));
  return {parameter.command, data};
}

void SimDevice::refreshDiscreteInputs(StoredParameter& parameter) const {
  const uint32_t inputs = options_.discreteInputs;
  if (parameter.index >= 0 && parameter.index < 32) {
    setNumericValue(parameter, (inputs >> parameter.index) & 1u);
  } else {
    setNumericValue(parameter, inputs & 0xFFFFu);
  }
}

DeviceError SimDevice::checkWrite(StoredParameter& parameter, const std::string& newText) {
  if (isNetworkParameter(parameter.name)) {
    if (DeviceError e = checkNetworkWrite(store_, parameter, newText, network_);
        e != DeviceError::None) {
      return e;
    }
  }
  if (DeviceError e = checkGraphWrite(store_, parameter, newText); e != DeviceError::None) return e;
  return checkStructureWrite(store_, parameter, newText);
}

DeviceReply SimDevice::writeParameter(StoredParameter& parameter, const uint8_t* value,
                                      size_t length, const DeviceTime& time) {
  Measurement measurement;
  if (parameter.readOnly || measurementOf(parameter.name, measurement)) {
    return error(DeviceError::RomParameter);
  }
  if (const AttributePair* pair = store_.attributes(parameter.command, parameter.index);
      pair != nullptr && !pair->editable) {
    return error(DeviceError::EditForbidden);
  }
  if (parameter.kind == ValueKind::RealTimeClock) {
    if (DeviceError e = clock_.write(value, length, time.wall); e != DeviceError::None) {
      return error(e);
    }
    return {parameter.command, clock_.read(time.wall)};
  }
  if (DeviceError e = checkProtectionWrite(store_, parameter, value, length, options_.factoryRights);
      e != DeviceError::None) {
    return error(e);
  }
  std::string text;
  if (DeviceError e = decodeWrite(parameter, value, length, text); e != DeviceError::None) {
    return error(e);
  }
  if (DeviceError e = checkWrite(parameter, text); e != DeviceError::None) return error(e);
  parameter.value->setRawValueText(text);
  recomputeDependents(store_, parameter);
  std::vector<uint8_t> data;
  if (!encodeReply(parameter, data)) return error(DeviceError::EepromRead);
  return {parameter.command, data};
}

}  // namespace zelmot::sim
