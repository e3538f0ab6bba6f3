// Arbitrary bytes as what the line brings back, through transact_frame and
// exchange_parameter over the memory transport. The input is a settings byte, then chunks:
// a header byte picks a raw reply, a sound reply (so that decoding is reached), an error
// reply or a forced outcome of the exchange; input that runs out is silence.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "link/device_protocol.h"
#include "link/memory_transport.h"

namespace {

using namespace zelmot::link;

void check(bool condition) {
  if (!condition) std::abort();
}

class Input {
public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  uint8_t byte() { return empty() ? 0 : data_[at_++]; }
  std::string bytes(size_t count) {
    std::string out;
    while (count-- > 0 && !empty()) out += static_cast<char>(data_[at_++]);
    return out;
  }

private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

std::string soundReply(uint16_t command, const std::string& data) {
  RequestFields fields;
  fields.address = 16;
  fields.command = command;
  fields.data = reinterpret_cast<const uint8_t*>(data.data());
  fields.dataLength = data.size();
  std::string frame, error;
  build_request(fields, frame, error);
  return frame;
}

MemoryAnswer nextAnswer(Input& in, const std::string& frame, int addressLength) {
  if (in.empty()) return MemoryAnswer::silence();
  const uint8_t header = in.byte();
  if (header < 0xC0) return MemoryAnswer::reply(in.bytes(header % 48));
  if (header < 0xE0) {
    const Request request = read_request(frame.data(), frame.size(), addressLength);
    return MemoryAnswer::reply(soundReply(request.command, in.bytes((header & 0x0F) % 8)));
  }
  if (header < 0xF0) return MemoryAnswer::reply(soundReply(kErrorReplyCode, in.bytes(1)));
  static constexpr ExchangeResult kOutcomes[] = {ExchangeResult::NoReply,
                                                 ExchangeResult::LineError,
                                                 ExchangeResult::Aborted};
  return MemoryAnswer::ending(kOutcomes[header % 3]);
}

// A parameter whose value is its data bytes as hex digits.
struct FuzzParameter : LinkParameter {
  std::string value = "0102";
  std::string error;
  bool hasIndex = false;
  int32_t multiplicity = 0;
  bool decodes = true;

  std::string linkName() const override { return "ordn"; }
  std::string linkValueText() const override { return value; }
  void setLinkValueText(const std::string& text) override { value = text; }
  std::string linkErrorText() const override { return error; }
  void setLinkErrorText(const std::string& text) override { error = text; }
  bool linkHasLinearIndex() const override { return hasIndex; }
  int32_t linkLinearIndex() const override { return 4; }
  int32_t linkRequestIndex() const override { return 0; }
  int32_t linkAttributeMultiplicity() const override { return multiplicity; }
  bool linkEditable() const override { return true; }
  bool linkFactoryOwned() const override { return false; }
  void setLinkAttributes(bool, bool) override {}
  void clearLinkChangeFlags() override {}
  void storeLinkRawReply(const uint8_t*, uint8_t length) override {
    check(length <= kMaxFrameData);
  }
  int linkTextToData(const std::string&, std::vector<uint8_t>& data, std::string&) override {
    data = {0x01, 0x02};
    return 1;
  }
  int linkDataToText(const uint8_t*, int length) override {
    check(length >= 0 && length <= static_cast<int>(kMaxFrameData));
    return decodes ? 1 : 0;
  }
};

bool knownResult(ParameterResult result) {
  switch (result) {
    case ParameterResult::Ok:
    case ParameterResult::Failed:
    case ParameterResult::NotDecoded:
    case ParameterResult::NoEncoding:
    case ParameterResult::NotEncodable:
    case ParameterResult::AttributeExchangeFailed:
    case ParameterResult::AttributeReplySize:
      return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in(data, size);
  const uint8_t settings = in.byte();
  DeviceProtocol link(std::make_unique<MemoryTransport>());
  auto& line = static_cast<MemoryTransport&>(link.port());
  link.setAddressLength((settings & 0x01) != 0 ? 11 : 8);
  link.setAttributeWritePermission((settings & 0x02) != 0);
  line.setScript([&](const std::string& frame) {
    return nextAnswer(in, frame, link.addressLength());
  });

  // A lone transaction on an open line.
  line.open_port();
  FrameReply reply;
  std::string errorText = "unchanged";
  if (link.transact_frame(1, 0xE894, nullptr, 0, reply, errorText, 0) == 1) {
    check(errorText == "unchanged");
  }
  check(reply.length <= kMaxFrameData);
  line.close_port();

  // Parameters on a closed line: opened for each exchange and closed again.
  FuzzParameter parameter;
  parameter.hasIndex = (settings & 0x04) != 0;
  parameter.multiplicity = (settings & 0x08) != 0 ? 2 : 0;
  parameter.decodes = (settings & 0x10) != 0;
  for (const int requestFlag : {1, 0}) {
    check(knownResult(link.exchange_parameter(requestFlag, parameter, nullptr)));
    check(!line.isOpen());
  }
  return 0;
}
