#include "cli/signal_cancel.h"

#include <utility>

namespace zelmot::cli {

SignalCancel::SignalCancel(std::function<void()> onSignal) {
  watch_.start([this, onSignal = std::move(onSignal)] {
    signalled_.store(true);
    if (onSignal) onSignal();
  });
}

}  // namespace zelmot::cli
