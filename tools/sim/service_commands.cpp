// The device's service commands: identity (dev, ver, exit), the request/reply error
// counter n.Err, APLY, and the attribute command M.s.t.r.
#include "link/frame_codec.h"
#include "platform/code_page.h"
#include "sim_device.h"
#include "value_codec.h"

namespace zelmot::sim {
namespace {

// The reason of the last restart: power-on.
const std::vector<uint8_t> kRestartReason = {0x01, 0x00, 0x00};

std::vector<uint8_t> deviceText(const std::string& utf8) {
  const std::string bytes = utf8ToCp1251(utf8).substr(0, kMaxReplyData);
  return {bytes.begin(), bytes.end()};
}

uint16_t codeOf(const char* name) { return link::name_hash(name); }

// The identity and the error counter are the device's own; a host only reads them.
bool isReadOnlyService(uint16_t command) {
  for (const char* name : {"dev", "ver", "exit", "n.Err"}) {
    if (command == codeOf(name)) return true;
  }
  return false;
}

}  // namespace

bool SimDevice::isServiceCommand(uint16_t command) const {
  return isReadOnlyService(command) || command == codeOf("APLY") ||
         command == link::kAttributeCode;
}

DeviceReply SimDevice::handleService(const DeviceRequest& request, int addressIndex) {
  const uint16_t command = request.command;
  // A write must never be answered in the form of a read: the reply to n.Err would carry
  // the error-reply code with the counter where the host looks for an error code.
  if (request.requestFlag == 0 && isReadOnlyService(command)) {
    return error(DeviceError::RomParameter);
  }
  if (command == link::kAttributeCode) return handleAttributes(request, addressIndex);
  if (command == codeOf("dev")) return handleIdentity(request, deviceText(options_.deviceType));
  if (command == codeOf("ver")) {
    return handleIdentity(request, deviceText(options_.firmwareVersion));
  }
  if (command == codeOf("exit")) return handleIdentity(request, kRestartReason);
  if (command == codeOf("n.Err")) return handleErrorCounter(request);
  return handleApply(request);
}

DeviceReply SimDevice::handleIdentity(const DeviceRequest& request,
                                      const std::vector<uint8_t>& answer) {
  if (!request.data.empty()) return error(DeviceError::DataSize);
  return {request.command, answer};
}

// The counter goes out in the form of the catalogue's n.Err (two bytes when it has none).
DeviceReply SimDevice::handleErrorCounter(const DeviceRequest& request) {
  if (!request.data.empty()) return error(DeviceError::DataSize);
  StoredParameter* parameter = store_.findByName("n.Err", -1);
  const uint32_t shown = errorCount_ > 0xFFFF ? 0xFFFF : errorCount_;
  std::vector<uint8_t> data;
  if (parameter != nullptr && setNumericValue(*parameter, shown) && encodeValue(*parameter, data)) {
    return {request.command, data};
  }
  return {request.command, {static_cast<uint8_t>(shown >> 8), static_cast<uint8_t>(shown)}};
}

DeviceReply SimDevice::handleApply(const DeviceRequest& request) {
  if (!request.data.empty()) return error(DeviceError::DataSize);
  if (request.requestFlag == 0) network_ = storedNetworkSettings(store_, network_);
  return {request.command, {}};
}

// Data: [attribute byte when writing] [0x00, low byte of the linear index when the
// element has one] [command code of the parameter, high byte first]. The reply carries the
// attribute byte (bit 0 editable, bit 1 owned by the user) followed by the rest of the
// request.
DeviceReply SimDevice::handleAttributes(const DeviceRequest& request, int addressIndex) {
  const std::vector<uint8_t>& data = request.data;
  const bool write = request.requestFlag == 0;
  const size_t offset = write ? 1 : 0;
  if (data.size() < offset + 2) return error(DeviceError::DataSize);
  const size_t rest = data.size() - offset;
  if (rest != 2 && rest != 4) return error(DeviceError::DataSize);
  const uint16_t command = static_cast<uint16_t>((data[data.size() - 2] << 8) | data.back());
  if (!store_.knows(command)) return error(DeviceError::DescriptorNotFound);
  int32_t index = -1;
  if (rest == 4) index = data[offset + 1];
  else if (store_.indexed(command)) index = addressIndex;
  if (store_.find(command, index) == nullptr) return error(DeviceError::LinearIndexTooLarge);
  AttributePair* pair = store_.attributes(command, index);
  if (pair == nullptr) return error(DeviceError::NoAttributes);
  if (write) {
    const AttributePair wanted{(data[0] & 0x01) != 0, (data[0] & 0x02) == 0};
    const bool changes =
        wanted.editable != pair->editable || wanted.factoryOwned != pair->factoryOwned;
    if (changes && pair->factoryOwned && !options_.factoryRights) {
      return error(DeviceError::AttributeNotOwner);
    }
    *pair = wanted;
  }
  const uint8_t attributeByte =
      static_cast<uint8_t>((pair->editable ? 0x01 : 0) | (pair->factoryOwned ? 0 : 0x02));
  std::vector<uint8_t> reply{attributeByte};
  reply.insert(reply.end(), data.begin() + static_cast<long>(offset), data.end());
  return {request.command, reply};
}

}  // namespace zelmot::sim
