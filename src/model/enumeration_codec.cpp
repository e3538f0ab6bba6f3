#include "model/enumeration_codec.h"

#include "model/html_text.h"
#include "model/text_util.h"
#include "platform/ascii_text.h"

namespace zelmot::model {

std::vector<std::string> enumerationItems(const std::string& descriptor) {
  std::vector<std::string> items = splitText(descriptor, ':');
  if (items.size() > kMaxEnumerationItems) items.resize(kMaxEnumerationItems);
  for (std::string& item : items) item = replaceAll(item, '_', ' ');
  return items;
}

int decodeEnumeration(const std::string& descriptor, const uint8_t* data, int length,
                      std::string& text) {
  if (data == nullptr || length <= 0) return 0;
  const std::vector<std::string> items = enumerationItems(descriptor);
  if (data[0] >= items.size()) return 0;
  text = items[data[0]];
  return 1;
}

int encodeEnumeration(const std::string& descriptor, int accessLevel, const std::string& text,
                      std::vector<uint8_t>& data) {
  const std::vector<std::string> items = enumerationItems(descriptor);
  for (size_t position = 0; position < items.size(); ++position) {
    if (!equalsIgnoreCase(items[position], text)) continue;
    int code = static_cast<int>(position);
    if (descriptor == kAttributeCombinationsDescriptor && accessLevel == kMaximalAccessLevel) {
      code = (code - 84 + 256) % 256;
    }
    data = {static_cast<uint8_t>(code)};
    return 1;
  }
  return 0;
}

std::string enumerationDescription(const std::string& descriptor) {
  const std::vector<std::string> items = enumerationItems(descriptor);
  std::string description;
  for (size_t position = 0; position < items.size(); ++position) {
    const std::string& item = items[position];
    const std::string shown =
        item.find("<hide>") != std::string::npos ? std::string("---") : escapeHtml(item);
    description += formatText("%s&nbsp;&nbsp;%d:&nbsp;&nbsp;%s", position == 0 ? "" : "<br>",
                              static_cast<int>(position), shown.c_str());
  }
  return description;
}

}  // namespace zelmot::model
