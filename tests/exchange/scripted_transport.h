#pragma once
// A transport whose device is a script: each exchange is recorded and answered by a
// function of the test. Parameters are plain model parameters in a small tree.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "exchange/exchange_texts.h"
#include "exchange/parameter_transport.h"
#include "model/desc_branch.h"
#include "model/parameter.h"

namespace zelmot::exchange::testing {

struct Exchange {
  bool read = true;
  std::string name;
  std::string value;  // value text sent (writes)
};

class ScriptedTransport final : public ParameterTransport {
public:
  using Answer = std::function<int(bool read, link::LinkParameter& parameter)>;

  // Default device: reads answer "1", writes are taken as sent.
  ScriptedTransport() : answer_([](bool, link::LinkParameter& p) {
                          p.setLinkErrorText("");
                          if (p.linkValueText() == kNoDataText) p.setLinkValueText("1");
                          return 0;
                        }) {}
  void answer(Answer answer) { answer_ = std::move(answer); }

  int exchangeParameter(bool read, link::LinkParameter& parameter) override {
    log.push_back({read, parameter.linkName(), read ? std::string() : parameter.linkValueText()});
    return answer_(read, parameter);
  }
  bool beginTask(std::string& failure) override {
    failure = openFailure;
    return openFailure.empty();
  }

  // Set by a script to make the line "hang up": reported until cleared.
  std::string lossReason;
  std::string lineLossReason() override { return lossReason; }

  std::vector<Exchange> log;
  std::string openFailure;  // not empty: the port "cannot be opened" for a task

private:
  Answer answer_;
};

// Answers that end the exchange the way the transaction ends it.
inline int timeOut(link::LinkParameter& parameter) {
  parameter.setLinkErrorText(kTimeoutText);
  return 1;
}

// A branch tree built by the test; the test owns the parameters, as the catalogue does.
class TestTree {
public:
  TestTree() { root.setName("root"); }

  model::Parameter& add(model::DescBranch& branch, const std::string& name,
                        const std::string& value = "1", int index = -1) {
    auto parameter = std::make_unique<model::Parameter>();
    parameter->setName(name);
    parameter->setTypeDescriptor("DEC_dot");
    parameter->setRawValueText(value);
    if (index >= 0) {
      parameter->setHasLinearIndex(true);
      parameter->setLinearIndex(index);
    }
    branch.addParameter(parameter.get());
    parameters.push_back(std::move(parameter));
    return *parameters.back();
  }

  model::DescBranch& child(model::DescBranch& parent, const std::string& name) {
    auto branch = std::make_unique<model::DescBranch>();
    branch->setName(name);
    return *parent.addChild(std::move(branch));
  }

  model::DescBranch root;
  std::vector<std::unique_ptr<model::Parameter>> parameters;
};

}  // namespace zelmot::exchange::testing
