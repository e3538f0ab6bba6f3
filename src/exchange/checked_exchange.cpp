#include "exchange/checked_exchange.h"

#include <cstdio>

#include "link/device_protocol.h"
#include "link/error_catalogue.h"

namespace zelmot::exchange {
namespace {

// Passes everything on to the parameter, but keeps the outcome of decoding the reply
// and the reply's bytes for the checks after the transaction.
class WatchedParameter final : public link::LinkParameter {
public:
  WatchedParameter(link::LinkParameter& inner, bool read) : inner_(inner), read_(read) {}

  bool decodeFailed() const { return decodeFailed_; }
  const std::string& decodeMessage() const { return decodeMessage_; }
  const std::vector<uint8_t>& reply() const { return reply_; }

  std::string linkName() const override { return inner_.linkName(); }
  std::string linkValueText() const override { return inner_.linkValueText(); }
  void setLinkValueText(const std::string& text) override { inner_.setLinkValueText(text); }
  std::string linkErrorText() const override { return inner_.linkErrorText(); }
  void setLinkErrorText(const std::string& text) override { inner_.setLinkErrorText(text); }
  bool linkHasLinearIndex() const override { return inner_.linkHasLinearIndex(); }
  int32_t linkLinearIndex() const override { return inner_.linkLinearIndex(); }
  int32_t linkRequestIndex() const override { return inner_.linkRequestIndex(); }
  int32_t linkAttributeMultiplicity() const override { return inner_.linkAttributeMultiplicity(); }
  bool linkEditable() const override { return inner_.linkEditable(); }
  bool linkFactoryOwned() const override { return inner_.linkFactoryOwned(); }
  void setLinkAttributes(bool editable, bool factoryOwned) override {
    inner_.setLinkAttributes(editable, factoryOwned);
  }
  // A read that could not be decoded has not brought the device's value.
  void clearLinkChangeFlags() override {
    if (!(read_ && decodeFailed_)) inner_.clearLinkChangeFlags();
  }
  void storeLinkRawReply(const uint8_t* data, uint8_t length) override {
    reply_.assign(data, data + length);
    inner_.storeLinkRawReply(data, length);
  }
  int linkTextToData(const std::string& text, std::vector<uint8_t>& data,
                     std::string& message) override {
    return inner_.linkTextToData(text, data, message);
  }
  // The type's error message would become the value; the value stays as it was instead.
  int linkDataToText(const uint8_t* data, int length) override {
    const std::string before = inner_.linkValueText();
    const int result = inner_.linkDataToText(data, length);
    if (result == -1) {
      decodeFailed_ = true;
      decodeMessage_ = inner_.linkValueText();
      inner_.setLinkValueText(before);
    }
    return result;
  }

private:
  link::LinkParameter& inner_;
  bool read_;
  bool decodeFailed_ = false;
  std::string decodeMessage_;
  std::vector<uint8_t> reply_;
};

}  // namespace

std::string uncataloguedErrorText(const std::vector<uint8_t>& reply) {
  if (reply.empty()) return kDeviceErrorWithoutCodeText;
  std::string catalogued;
  if (link::error_text_for_code(reply[0], catalogued)) return {};
  char text[64];
  std::snprintf(text, sizeof text, kUnknownDeviceErrorFormat, static_cast<unsigned>(reply[0]));
  return text;
}

int checkedExchange(bool read, link::LinkParameter& parameter, const RawExchange& exchange) {
  WatchedParameter watched(parameter, read);
  const int result = exchange(watched);
  if (result == link::resultCode(link::ParameterResult::Ok)) {
    if (!read || !watched.decodeFailed()) return result;
    parameter.setLinkErrorText(watched.decodeMessage());
    return link::resultCode(link::ParameterResult::NotDecoded);
  }
  if (parameter.linkErrorText().empty()) {
    parameter.setLinkErrorText(uncataloguedErrorText(watched.reply()));
  }
  return result;
}

}  // namespace zelmot::exchange
