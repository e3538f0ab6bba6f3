#include "exchange/reread_list.h"

#include <sstream>

#include "exchange/name_compare.h"

namespace zelmot::exchange {

void appendReReadEntries(std::string& list, const std::string& name, int32_t linearIndex) {
  if (sameName(name, "n.Ch")) {
    list += "S.idx S.SAU ";
  } else if (sameName(name, "n.Obj")) {
    list += "S.idx n.Ch ";
  } else if (sameName(name, "OD.tP")) {
    list += "r.OD.i S.OD ";
  } else if (sameName(name, "nPC")) {
    list += "S.MD PCP.i ";
  } else if (sameName(name, "OP") || sameName(name, "al.re") || sameName(name, "n.rel")) {
    list += "S.OE ";
  } else if (sameName(name, "A.i.j")) {
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
      plainMatch = plainMatch || sameName(entry, name);
    } else if (sameName(entry.substr(0, colon), name)) {
      indexedEntries = true;
      indexMatch = indexMatch || entry.substr(colon + 1) == wanted;
    }
  }
  return indexedEntries ? indexMatch : plainMatch;
}

}  // namespace zelmot::exchange
