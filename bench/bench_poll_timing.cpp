// Periodic polling of 69 parameters at 1000 ms against the simulator pacing its replies like
// a real line. Prints, per baud rate, one exchange time and how late each reading started
// after its due time, in exchange times: with room on the line every reading should start
// within one exchange time of its due time. Two ways of ticking the boxes: spread over the
// period (as a person does), and all at once (every period then queues on the one line).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "document/zelmot_doc.h"
#include "model/desc_branch.h"
#include "model/parameter.h"
#include "support/child_process.h"
#include "support/simulator_process.h"

namespace {

using Clock = std::chrono::steady_clock;
using zelmot::model::Parameter;

constexpr size_t kPolled = 69;
constexpr int kPeriodMs = 1000;
constexpr auto kRun = std::chrono::seconds(12);

double msBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// The measurement tree's parameters, then elements of the set points and input limits made
// pollable (the element number goes in the address, as for the measurement tree), up to
// kPolled.
std::vector<Parameter*> pollable(zelmot::model::DeviceModel& model) {
  std::vector<Parameter*> list;
  model.measurementTree()->CollectPolled(list);
  for (const auto& parameter : model.catalogue()) {
    if (list.size() >= kPolled) break;
    const bool extra = (parameter->name() == "SP" || parameter->name() == "in.Lo") &&
                       parameter->hasLinearIndex() && parameter->linearIndex() < 8;
    if (!extra || parameter->hasPollTimer()) continue;
    parameter->PreparePolling();
    list.push_back(parameter.get());
  }
  return list;
}

double exchangeTimeMs(zelmot::exchange::DeviceLink& link, Parameter& parameter) {
  constexpr int kTimes = 30;
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < kTimes; ++i) link.exchange_parameter(1, parameter, nullptr);
  return msBetween(start, Clock::now()) / kTimes;
}

struct Reading {
  size_t which;
  Clock::time_point done;
  bool failed;
};

void report(const char* how, double exchangeMs, const std::vector<Parameter*>& list,
            const std::vector<Clock::time_point>& started, const std::vector<Reading>& readings) {
  std::vector<int> count(list.size(), 0);
  std::vector<double> late;
  size_t failed = 0;
  for (const Reading& reading : readings) {
    failed += reading.failed;
    const int k = ++count[reading.which];
    const Clock::time_point due = started[reading.which] + std::chrono::milliseconds(k * kPeriodMs);
    late.push_back(std::max(0.0, msBetween(due, reading.done) - exchangeMs) / exchangeMs);
  }
  if (late.empty()) {
    std::printf("  %s: no readings\n", how);
    return;
  }
  std::sort(late.begin(), late.end());
  const auto within = std::count_if(late.begin(), late.end(), [](double v) { return v <= 1.0; });
  std::printf("  %s: %zu readings (%zu failed); start after due, in exchange times: median %.2f, 95%% %.2f, "
              "max %.2f; within one exchange time %.1f%%\n",
              how, late.size(), failed, late[late.size() / 2], late[late.size() * 95 / 100], late.back(),
              100.0 * static_cast<double>(within) / static_cast<double>(late.size()));
}

void run(zelmot::exchange::DeviceLink& link, const std::vector<Parameter*>& list, double exchangeMs,
         bool spread, const char* how) {
  std::mutex mutex;
  std::vector<Reading> readings;
  std::vector<Clock::time_point> started(list.size());
  zelmot::exchange::PollScheduler& polling = link.polling();
  polling.setSink([&](const zelmot::exchange::PollNotice& notice) {
    const Clock::time_point now = Clock::now();
    const size_t which = static_cast<size_t>(
        std::find(list.begin(), list.end(), notice.parameter) - list.begin());
    const bool failed = !notice.parameter->errorText().empty();
    std::lock_guard lock(mutex);
    readings.push_back({which, now, failed});
  });
  const Clock::time_point begin = Clock::now();
  for (size_t i = 0; i < list.size(); ++i) {
    if (spread) std::this_thread::sleep_until(begin + std::chrono::milliseconds(kPeriodMs * i / list.size()));
    started[i] = Clock::now();
    polling.start(*list[i]);
  }
  std::this_thread::sleep_until(begin + kRun);
  polling.stopAll();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // a reading still on the line
  std::lock_guard lock(mutex);
  report(how, exchangeMs, list, started, readings);
  polling.setSink({});
}

bool benchAt(int baud) {
  const std::string binDir = zelmot::test_support::binDir().string();
  zelmot::test_support::SimulatorProcess sim(
      {"--data-dir", binDir, "--pace", "--baud", std::to_string(baud)});
  if (sim.slavePath().empty()) {
    std::printf("%6d baud: the simulator did not start\n", baud);
    return false;
  }
  zelmot::document::CZELMOTDoc doc;
  if (!doc.initialise(binDir)) return false;
  doc.setCommandLineMode(true);
  doc.programNetwork().SetValueByName("Port", sim.slavePath(), false);
  doc.programNetwork().SetValueByName("bPS", std::to_string(baud), false);
  zelmot::exchange::DeviceLink& link = doc.deviceLink();
  link.port().setConverterMode(zelmot::link::ConverterMode::Automatic);
  link.setSuppressMessages(true);
  link.load_port_settings();
  link.port().open_port();
  const std::vector<Parameter*> list = pollable(doc.deviceModel());
  const double exchangeMs = exchangeTimeMs(link, *list.front());
  std::printf("%6d baud: %zu parameters every %d ms; one exchange %.2f ms, the line's load %.0f%%\n",
              baud, list.size(), kPeriodMs, exchangeMs,
              100.0 * exchangeMs * static_cast<double>(list.size()) / kPeriodMs);
  run(link, list, exchangeMs, true, "boxes ticked over one period");
  run(link, list, exchangeMs, false, "boxes ticked at once       ");
  link.polling().shutdown();
  return true;
}

}  // namespace

int main() {
  bool ok = true;
  for (int baud : {115200, 38400, 19200}) ok = benchAt(baud) && ok;
  return ok ? 0 : 1;
}
