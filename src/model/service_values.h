#pragma once
// Conversions decided by the parameter's name before its type descriptor: device
// identity, network settings, measured values and key/program states.
#include <cstdint>
#include <string>

namespace zelmot::model {

// dev, ver, exit, bPS, LEn, PrtY, Sbit, A.Len, Addr. Returns true when the name is one of
// them; `result` is then 1 (text set) or 0 (value not understood). Needs length >= 1.
bool decodeServiceValue(const std::string& name, const uint8_t* data, int length,
                        std::string& text, int& result);

// rEAd, r.CAL, rd.rg, Set.P, r.OUt, r.oe.
bool isMeasuredValueName(const std::string& name);
// The names decodeServiceValue knows.
bool isServiceValueName(const std::string& name);
// r.kEY, r.PrG, r.StP, r.St.
bool isStateName(const std::string& name);

// A measured value: a status code or a big-endian IEEE 754 single, "%5.3f". 1 converted,
// -1 a field too short for what its first byte announces (text is the message).
// Which of the name-first conversions a name takes, decided once per name rather than per
// value.
enum class NameRole { Service, Measured, State, Other };
NameRole nameRoleOf(const std::string& name);

int decodeMeasuredValue(const std::string& name, const uint8_t* data, int length,
                        std::string& text);

}  // namespace zelmot::model
