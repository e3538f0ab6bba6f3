#pragma once
// Helpers shared by the tree tests: parameters made in one line and an exchanger that
// records what the tree asked of it.
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "model/parameter.h"
#include "model/parameter_exchanger.h"

namespace zelmot::model::testing {

inline std::unique_ptr<Parameter> makeParameter(const std::string& name, int32_t linearIndex = -1,
                                                const std::string& caption = {}) {
  auto p = std::make_unique<Parameter>();
  p->setName(name);
  p->setCatalogueCaption(caption);
  if (linearIndex >= 0) {
    p->setHasLinearIndex(true);
    p->setLinearIndex(linearIndex);
  }
  return p;
}

// Records every call as "read NAME" / "write NAME all|changed" / "compare NAME";
// names in `failing` return 1; cancels once `cancelAfter` calls were made.
class RecordingExchanger : public ParameterExchanger {
public:
  std::vector<std::string> calls;
  std::vector<std::string> entered;
  std::set<std::string> failing;
  size_t cancelAfter = SIZE_MAX;
  bool forceAll = false;

  int readOne(Parameter& p) override { return record("read " + p.name(), p); }
  int writeOne(Parameter& p, bool allMode) override {
    return record("write " + p.name() + (allMode ? " all" : " changed"), p);
  }
  int compareOne(Parameter& p) override { return record("compare " + p.name(), p); }
  bool cancelled() override { return calls.size() >= cancelAfter; }
  bool forceWriteAll() override { return forceAll; }
  void enterNode(const ObjectWithParameters& node, ExchangeTask) override {
    entered.push_back(node.nodeTitle());
  }

private:
  int record(const std::string& call, const Parameter& p) {
    calls.push_back(call);
    return failing.count(p.name()) ? 1 : 0;
  }
};

}  // namespace zelmot::model::testing
