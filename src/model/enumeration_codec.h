#pragma once
// Enumerations: the type descriptor lists the item names separated by ":", "_" standing
// for a space; the data field is one byte, the position of the item.
#include <cstdint>
#include <string>
#include <vector>

namespace zelmot::model {

inline constexpr size_t kMaxEnumerationItems = 127;

// The descriptor whose positions are sent shifted when the user has the maximal access
// level (the four combinations of editable/not editable and locked/unlocked).
inline constexpr const char* kAttributeCombinationsDescriptor =
    "Не_редактируемо,Блокировано:Редактируемо,Блокировано:"
    "Не_редактируемо,Разблокировано:Редактируемо,Разблокировано";
inline constexpr int kMaximalAccessLevel = 2;

// Items with "_" replaced by spaces, at most kMaxEnumerationItems.
std::vector<std::string> enumerationItems(const std::string& descriptor);

// Item at position byte 0. 1 converted, 0 no such item or no data.
int decodeEnumeration(const std::string& descriptor, const uint8_t* data, int length,
                      std::string& text);

// Position of the first item equal to the text (ASCII letters without regard to case),
// as 1 byte; for the attribute-combination descriptor at the maximal access level the
// position minus 84, modulo 256. 1 converted, 0 no item matches.
int encodeEnumeration(const std::string& descriptor, int accessLevel, const std::string& text,
                      std::vector<uint8_t>& data);

// The items as HTML lines "&nbsp;&nbsp;position:&nbsp;&nbsp;item" joined by "<br>"; items
// containing "<hide>" are listed as "---".
std::string enumerationDescription(const std::string& descriptor);

}  // namespace zelmot::model
