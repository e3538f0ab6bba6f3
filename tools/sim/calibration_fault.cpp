#include "calibration_fault.h"

#include <charconv>

namespace zelmot::sim {
namespace {

using Kind = CalibrationFault::Kind;

struct FaultForm {
  const char* name;
  Kind kind;
  long minimum;  // the value's range; both 0 for a fault without a value
  long maximum;
};

constexpr FaultForm kForms[] = {
    {"status", Kind::Status, 1, 127},           {"coefficient", Kind::Coefficient, 1, 4},
    {"unfinished", Kind::Unfinished, 0, 0},     {"refuse-commit", Kind::RefuseCommit, 1, 1000},
    {"reply-size", Kind::ReplySize, 0, 4},      {"refuse-sensor-type", Kind::RefuseSensorType, 0, 0},
};

bool parseValue(const std::string& text, const FaultForm& form, int& value) {
  long parsed = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, parsed);
  if (text.empty() || ec != std::errc() || ptr != end) return false;
  if (parsed < form.minimum || parsed > form.maximum) return false;
  value = static_cast<int>(parsed);
  return true;
}

bool isRefusableCommand(const std::string& name) {
  for (const char* command : {"CLB.I", "CLB.S", "CLB.T", "CLB.G", "CLB.P"}) {
    if (name == command) return true;
  }
  return false;
}

}  // namespace

bool parseCalibrationFault(const std::string& text, CalibrationFault& fault, std::string& error) {
  const size_t colon = text.find(':');
  const std::string kind = text.substr(0, colon);
  const std::string value = colon == std::string::npos ? std::string() : text.substr(colon + 1);
  const bool hasValue = colon != std::string::npos;
  if (kind == "refuse" && isRefusableCommand(value)) {
    fault = {Kind::Refuse, 0, value};
    return true;
  }
  for (const FaultForm& form : kForms) {
    if (kind != form.name) continue;
    const bool takesValue = form.maximum != 0;
    if (!takesValue && !hasValue) {
      fault = {form.kind, 0, {}};
      return true;
    }
    if (takesValue && parseValue(value, form, fault.value)) {
      fault.kind = form.kind;
      fault.command.clear();
      return true;
    }
  }
  error = "неизвестная неисправность юстировки '" + text + "'; возможны: " + kCalibrationFaultHelp;
  return false;
}

}  // namespace zelmot::sim
