#pragma once
// The list of parameters the device recomputes after some writes and that must be read back
// when the task ends. Kept as text, as the task state always has: names separated by
// blanks, an entry "name:index" naming one element of an indexed parameter.
#include <cstdint>
#include <string>

namespace zelmot::exchange {

// Appends the entries the device recomputes after writing `name` (element `linearIndex`).
void appendReReadEntries(std::string& list, const std::string& name, int32_t linearIndex);

// Whether the list names this parameter. When the list holds "name:..." entries for it,
// only the element with a matching "name:index" entry is named; otherwise any entry equal to
// the name names every element. Names compare ignoring the case of Latin letters; whole
// entries are compared, so "S.OD" does not name a parameter called "OD".
bool reReadListNames(const std::string& list, const std::string& name, int32_t linearIndex);

}  // namespace zelmot::exchange
