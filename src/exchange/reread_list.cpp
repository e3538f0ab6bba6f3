#include "exchange/reread_list.h"

#include <sstream>

#include "platform/ascii_text.h"

namespace zelmot::exchange {

void appendReReadEntries(std::string& list, const std::string& name, int32_t linearIndex) {
  if (equalsIgnoreCase(name, "n.Ch")) {
    list += "S.idx S.SAU ";
  } else if (equalsIgnoreCase(name, "n.Obj")) {
    list += "S.idx n.Ch ";
  } else if (equalsIgnoreCase(name, "OD.tP")) {
    list += "r.OD.i S.OD ";
  } else if (equalsIgnoreCase(name, "nPC")) {
    list += "S.MD PCP.i ";
  } else if (equalsIgnoreCase(name, "OP") || equalsIgnoreCase(name, "al.re") || equalsIgnoreCase(name, "n.rel")) {
    list += "S.OE ";
  } else if (equalsIgnoreCase(name, "A.i.j")) {
    // Elements come in pairs: writing either one changes both.
    const int32_t first = linearIndex / 2 * 2;
    list += "A.i.j:" + std::to_string(first) + " A.i.j:" + std::to_string(first + 1) + " ";
  }
}

bool reReadListNames(const std::string& list, const std::string& name, int32_t linearIndex) {
  std::istringstream entries(list);
  std::string entry;
  bool indexedEntries = false;
  bool indexMatch = false;
  bool plainMatch = false;
  const std::string wanted = std::to_string(linearIndex);
  while (entries >> entry) {
    const size_t colon = entry.find(':');
    if (colon == std::string::npos) {
      plainMatch = plainMatch || equalsIgnoreCase(entry, name);
    } else if (equalsIgnoreCase(entry.substr(0, colon), name)) {
      indexedEntries = true;
      indexMatch = indexMatch || entry.substr(colon + 1) == wanted;
    }
  }
  return indexedEntries ? indexMatch : plainMatch;
}

}  // namespace zelmot::exchange
