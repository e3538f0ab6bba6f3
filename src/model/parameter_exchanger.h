#pragma once
// What the tree's bulk operations need of the exchange engine: one parameter at a time,
// and the cancel state tested between parameters. The engine implements it.
#include <cstdint>

namespace zelmot::model {

class Parameter;
class ObjectWithParameters;

// The pair of counts a bulk operation returns: parameters handled, and failures (read,
// write) or differences (compare).
struct ExchangeCounts {
  int handled = 0;
  int failures = 0;

  ExchangeCounts& operator+=(const ExchangeCounts& other) {
    handled += other.handled;
    failures += other.failures;
    return *this;
  }
  bool operator==(const ExchangeCounts&) const = default;
};

enum class ExchangeTask { Read, Write, WriteChanged, Compare };

class ParameterExchanger {
public:
  virtual ~ParameterExchanger() = default;

  // Each returns the transaction result, 0 meaning success.
  virtual int readOne(Parameter& parameter) = 0;
  virtual int writeOne(Parameter& parameter, bool allMode) = 0;
  virtual int compareOne(Parameter& parameter) = 0;

  virtual bool cancelled() = 0;
  // True when the task writes every parameter, writable or not.
  virtual bool forceWriteAll() = 0;

  // Called before a node's own parameters are handled (log headers); for a changed-only
  // write only when at least one of them will be written.
  virtual void enterNode(const ObjectWithParameters& node, ExchangeTask task) {
    (void)node;
    (void)task;
  }
};

}  // namespace zelmot::model
