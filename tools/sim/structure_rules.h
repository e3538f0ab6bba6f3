#pragma once
// Parameters the device recomputes when others change, and the one rule it has for the
// structure counters: n.Obj and n.Ch move by at most one unit per write (a host walks them
// to a new value step by step).
//
// What is recomputed (a host re-reads exactly these after its writes):
//   n.Obj             -> S.idx = n.Obj * n.Ch (slots in use), n.Ch kept within its limits
//   n.Ch              -> S.idx = n.Obj * n.Ch, S.SAU = n.Ch
//   OD.tP[i]          -> r.OD.i reset to 0, S.OD[i] = OD.tP[i]
//   nPC               -> S.MD and PCP.i reset to 0
//   OP, al.re, n.rel  -> S.OE[i] = number of the three set (non-zero) at that index
//   A.i.j[i]          -> A.i.j of the other half of the pair (i xor 1) takes the same value
// Results are kept within the limits of the parameter that receives them.
#include <string>

#include "device_errors.h"
#include "parameter_store.h"

namespace zelmot::sim {

DeviceError checkStructureWrite(ParameterStore& store, const StoredParameter& parameter,
                                const std::string& newText);

void recomputeDependents(ParameterStore& store, const StoredParameter& written);

}  // namespace zelmot::sim
