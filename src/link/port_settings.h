#pragma once
// The program's port settings as the link reads them: a node of named text values (the
// model's NetRS485prg implements it) and the conversions of those texts.
#include <string>
#include <string_view>

#include "link/link_results.h"

namespace zelmot::link {

class PortSettingsSource {
public:
  virtual ~PortSettingsSource() = default;
  // Value text of a setting: Port, bPS, Addr, A.Len, LEn, Sbit, PrtY.
  virtual std::string GetValueByName(const std::string& name) const = 0;
  // Clears the change flags of the node's parameters once they have been taken over.
  virtual void clearStateFlags() = 0;
};

// Optional blanks, optional sign, digits; text without digits gives 0. Saturates.
int decimalTextToInt(std::string_view text);

// Parity of a PrtY text ("Отсутствует", "Четность", "Нечетность"), Latin letters compared
// without case; false for any other text.
bool parityForText(std::string_view text, Parity& parity);

// Readable name of a parity for messages and traces.
std::string parityText(Parity parity);

}  // namespace zelmot::link
