#pragma once
// The checks an edited network setting must pass before it is taken: the device supports
// only some frame formats, its address is a multiple of 8 and fits the address length.
#include <string>

#include "platform/user_prompt.h"

namespace zelmot::model {
class ObjectWithParameters;
}

namespace zelmot::app {

inline constexpr const char* kAddressNotMultipleText = "Значение адреса должно быть кратно 8!";
inline constexpr const char* kAddressCaption = "Неудалось изменить значение сетевого адреса";
inline constexpr const char* kUnsupportedFrameText =
    "Заданные сетевые настройки не поддерживаются прибором!";
inline constexpr const char* kAddressTooLargeText =
    "Нельзя что бы адрес был >255 если длина адреса 8 бит!";
inline constexpr const char* kNetworkValueCaption = "Неудалось изменить значение";

struct NetworkRefusal {
  bool refused = false;
  std::string text;
  std::string caption;
  PromptIcon icon = PromptIcon::Stop;
};

// Checks `value` as the new value of the setting `name` of `node` (the node's other
// settings keep their current values). Names other than the six settings pass, and so
// does an address that is not a number (the value check refuses it afterwards).
NetworkRefusal checkNetworkValue(const model::ObjectWithParameters& node, const std::string& name,
                                 const std::string& value);

}  // namespace zelmot::app
