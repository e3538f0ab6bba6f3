#pragma once
// What a finished task leaves for its caller to report.
#include "model/parameter_exchanger.h"

namespace zelmot::exchange {

struct TaskOutcome {
  bool started = false;          // false: the task never ran (another one was running, or
                                 // the exchange thread had ended)
  model::ExchangeCounts counts;  // parameters handled, failures or differences
  int successes = 0;             // transactions that went well
  int timeouts = 0;              // transactions that ended with the time-out text
  int errors = 0;                // exchanges or refusals that left an error text
  bool cancelled = false;        // the cancel event stopped the task early
  bool suspended = false;        // five time-outs in a row suspended the exchange
  bool lineLost = false;         // the line went away during the task, which then ended
  int differenceCount = 0;       // compare only
  std::string differenceText;    // compare only
  std::string portFailureText;   // not empty: the port did not open, nothing was exchanged

  // Nothing ever answered: the link is down rather than some parameters failing.
  // The window's status bar shows "Нет связи с прибором" when this holds.
  bool noLink() const {
    return suspended || lineLost || !portFailureText.empty() || (successes == 0 && timeouts > 0);
  }
};

}  // namespace zelmot::exchange
