#pragma once
// Parameters the device recomputes when others change, and the one rule it has for the
// structure counters: n.Obj and n.Ch move by at most one unit per write (a host walks them
// to a new value step by step).
//
// What is recomputed (a host re-reads exactly these after its writes):
//   n.Obj             -> n.Ch raised to n.Obj when below it (an object needs a channel),
//                        S.idx = (n.Obj - 1) * 8 + n.Ch
//   n.Ch              -> S.idx as above, S.SAU = 100 + n.Ch
//   OD.tP[i]          -> S.OD[i] "not configured" for an unused object, else "stopped";
//                        r.OD.i[i] = channels connected to object i (A.i.j[8i..8i+7] set)
//   nPC               -> no profile (0): S.MD "stopped", PCP.i 0; else "running", step 1
//   OP, al.re, n.rel  -> S.OE[i] = bit 0 a control source, bit 1 an alarm state,
//                        bit 2 an alarm relay (i < n.rel)
//   A.i.j[i]          -> the other half of the pair (i xor 1) takes the same value
// Results are kept within the limits of the parameter that receives them.
#include <string>

#include "device_errors.h"
#include "parameter_store.h"

namespace zelmot::sim {

DeviceError checkStructureWrite(ParameterStore& store, const StoredParameter& parameter,
                                const std::string& newText);

void recomputeDependents(ParameterStore& store, const StoredParameter& written);

// Every recomputed value from the values it depends on, as a device does at power-on.
void recomputeAll(ParameterStore& store);

}  // namespace zelmot::sim
