#include "app/network_value_check.h"

#include <charconv>

#include "model/object_with_parameters.h"
#include "platform/ascii_text.h"

namespace zelmot::app {
namespace {

constexpr int kAddressStep = 8;
constexpr long kLargestShortAddress = 255;

bool parseNumber(const std::string& text, long& value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && ptr == end;
}

NetworkRefusal refusal(const char* text, const char* caption, PromptIcon icon) {
  return {true, text, caption, icon};
}

// The frame formats the device cannot send: 7N1, 8E2, 8O2.
bool frameSupported(const std::string& dataBits, const std::string& stopBits,
                    const std::string& parity) {
  if (dataBits == "7" && stopBits == "1" && parity == "Отсутствует") return false;
  if (dataBits == "8" && stopBits == "2" && (parity == "Четность" || parity == "Нечетность")) {
    return false;
  }
  return true;
}

}  // namespace

NetworkRefusal checkNetworkValue(const model::ObjectWithParameters& node, const std::string& name,
                                 const std::string& value) {
  const bool isAddress = equalsIgnoreCase(name, "Addr");
  long address = 0;
  if (isAddress && parseNumber(value, address) && address % kAddressStep != 0) {
    return refusal(kAddressNotMultipleText, kAddressCaption, PromptIcon::Stop);
  }
  if (equalsIgnoreCase(name, "PrtY") || equalsIgnoreCase(name, "LEn") ||
      equalsIgnoreCase(name, "Sbit")) {
    auto current = [&](const char* setting) {
      return equalsIgnoreCase(name, setting) ? value : node.GetValueByName(setting);
    };
    if (!frameSupported(current("LEn"), current("Sbit"), current("PrtY"))) {
      return refusal(kUnsupportedFrameText, kNetworkValueCaption, PromptIcon::Information);
    }
  }
  if (isAddress || equalsIgnoreCase(name, "A.Len")) {
    const std::string addressText = isAddress ? value : node.GetValueByName("Addr");
    const std::string lengthText = isAddress ? node.GetValueByName("A.Len") : value;
    if (parseNumber(addressText, address) && address > kLargestShortAddress &&
        lengthText != "11") {
      return refusal(kAddressTooLargeText, kNetworkValueCaption, PromptIcon::Stop);
    }
  }
  return {};
}

}  // namespace zelmot::app
