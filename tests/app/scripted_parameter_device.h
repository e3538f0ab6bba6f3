#pragma once
// A ParameterDevice that records every call ("read NAME:INDEX", "write NAME:INDEX=VALUE",
// "branch NAME") and answers reads from a table of values; a name missing from the table
// fails its read with an error text.
#include <map>
#include <string>
#include <vector>

#include "app/parameter_device.h"
#include "model/desc_branch.h"
#include "model/parameter.h"

namespace zelmot::app::testing {

class ScriptedParameterDevice : public ParameterDevice {
public:
  std::vector<std::string> calls;
  std::map<std::string, std::string> values;  // "NAME:INDEX" -> value text
  bool isAbsent = false;
  bool failWrites = false;
  int branchFailures = 0;  // what writeChanged reports, without touching any parameter

  bool absent() const override { return isAbsent; }
  int read(model::Parameter& parameter) override {
    const std::string key = parameter.displayName(true);
    calls.push_back("read " + key);
    const auto found = values.find(key);
    if (found == values.end()) {
      parameter.setErrorText("Ошибка чтения");
      return 1;
    }
    parameter.setErrorText("");
    parameter.setRawValueText(found->second);
    return 0;
  }
  int write(model::Parameter& parameter) override {
    calls.push_back("write " + parameter.displayName(true) + "=" + parameter.valueText());
    if (failWrites) {
      parameter.setErrorText("Ошибка записи");
      return 1;
    }
    parameter.clearChangeFlags();
    return 0;
  }
  int writeChanged(model::DescBranch& branch) override {
    calls.push_back("branch " + branch.name());
    return branchFailures;
  }
};

}  // namespace zelmot::app::testing
