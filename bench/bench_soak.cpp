// Fault soak: a day of bad line condensed into a few minutes. Against the simulator with
// 10 % of its replies dropped and 5 % corrupted, 20 full reads and 20 full writes; then a
// line that goes silent in the middle of a read, and one that hangs up. Prints a table:
// what each run handled, how many parameters failed and whether each failure has its
// error text, how many values differ from the simulator's saved state, and how long each
// run took. A run that does not end within its watchdog is reported as a hang.
#include <signal.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <utility>

#include "document/zelmot_doc.h"
#include "exchange/tree_walk.h"
#include "model/device_model.h"
#include "model/parameter.h"
#include "platform/paths.h"
#include "support/simulator_process.h"
#include "support/temp_folder.h"

namespace {

using zelmot::exchange::TaskCode;
using zelmot::exchange::TaskOutcome;
using zelmot::model::Parameter;
using zelmot::test_support::SimulatorProcess;
using Clock = std::chrono::steady_clock;

constexpr auto kWatchdog = std::chrono::minutes(3);

std::vector<std::string> faultySimulator(const std::string& statePath, const std::string& link,
                                         int seed) {
  return SimulatorProcess::servingTheModel({"--drop-replies", "10", "--corrupt-checksums", "5",
                                            "--seed", std::to_string(seed), "--state",
                                            statePath, "--link", link});
}

// Ends the program when a run outlives the watchdog: a hang is the one result the table
// cannot show otherwise.
class Watchdog {
public:
  explicit Watchdog(const char* what) : what_(what), thread_([this] { watch(); }) {}
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

private:
  void watch() {
    std::unique_lock lock(mutex_);
    if (!wake_.wait_for(lock, kWatchdog, [this] { return done_; })) {
      std::printf("HANG: %s did not end within %lld s\n", what_,
                  static_cast<long long>(std::chrono::seconds(kWatchdog).count()));
      std::fflush(stdout);
      std::_Exit(2);
    }
  }

  const char* what_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  std::thread thread_;
};

struct Row {
  std::string run;
  TaskOutcome outcome;
  int unexplained = 0;  // failed parameters without an error text
  double seconds = 0;
};

// The device parameters a full task exchanges (measured values change on their own and
// travel by another addressing, so they are left out of the comparison).
bool isConfigurationParameter(const Parameter& parameter) { return !parameter.hasPollTimer(); }

// Parameters of the tree that hold neither a value nor a reason.
std::set<const Parameter*> withoutValueOrReason(const zelmot::model::DescBranch& root) {
  std::set<const Parameter*> found;
  zelmot::exchange::forEachParameter(root, [&](Parameter& parameter) {
    if (parameter.linearIndex() >= 0 && parameter.hasNoData() && parameter.errorText().empty()) {
      found.insert(&parameter);
    }
  });
  return found;
}

// Some stay empty on a healthy line too (graph nodes past the last one are answered
// "no such node", which is no error); a read without faults learns which.
using EmptyOnAHealthyLine = std::set<const Parameter*>;

// A failure nobody could see: no value, no reason, where a healthy line gives a value.
int unexplainedFailures(const zelmot::model::DescBranch& root, const EmptyOnAHealthyLine& healthy) {
  int unexplained = 0;
  for (const Parameter* parameter : withoutValueOrReason(root)) {
    if (!healthy.count(parameter)) ++unexplained;
  }
  return unexplained;
}

void printRow(const Row& row) {
  const TaskOutcome& o = row.outcome;
  std::printf("%-24s %8d %8d %11d %8d %9s %8.1f\n", row.run.c_str(), o.counts.handled,
              o.counts.failures, row.unexplained, o.timeouts,
              o.lineLost ? "потеряна"
              : o.suspended ? "приост."
              : !o.portFailureText.empty() ? "порт"
              : o.cancelled ? "прервано"
              : o.started ? "да" : "нет",
              row.seconds);
  if (!o.portFailureText.empty()) std::printf("  %s\n", o.portFailureText.c_str());
}

Row runOnce(zelmot::document::CZELMOTDoc& doc, TaskCode code, std::string name,
            const EmptyOnAHealthyLine& healthy) {
  Watchdog watchdog(name.c_str());
  const auto start = Clock::now();
  Row row{std::move(name), doc.deviceLink().runTask(code, doc.root())};
  row.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  row.unexplained = unexplainedFailures(*doc.root(), healthy);
  printRow(row);
  return row;
}

// value NAME INDEX TEXT lines of the simulator's state file.
std::map<std::pair<std::string, int>, std::string> savedValues(const std::string& path) {
  std::map<std::pair<std::string, int>, std::string> values;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string kind, name, index, text;
    if (!std::getline(fields, kind, '\t') || kind != "value") continue;
    std::getline(fields, name, '\t');
    std::getline(fields, index, '\t');
    std::getline(fields, text);
    values[{name, std::atoi(index.c_str())}] = text;
  }
  return values;
}

// Values the program holds without an error that differ from the device's saved state.
int differencesFromDevice(const zelmot::model::DeviceModel& model, const std::string& statePath,
                          int& compared) {
  const auto device = savedValues(statePath);
  int differences = 0;
  compared = 0;
  for (const auto& parameter : model.catalogue()) {
    if (!isConfigurationParameter(*parameter) || !parameter->errorText().empty() ||
        parameter->hasNoData()) {
      continue;
    }
    const int index = parameter->hasLinearIndex() ? parameter->linearIndex() : -1;
    const auto it = device.find({parameter->name(), index});
    // Commands and the identity are answered, not kept: the device saves no value of them.
    if (it == device.end() || it->second.empty() || it->second == zelmot::model::kNoDataText) {
      continue;
    }
    ++compared;
    if (it->second != parameter->valueText()) {
      if (differences < 5) {
        std::printf("  differs: %s:%d program \"%s\", device \"%s\"\n", parameter->name().c_str(),
                    index, parameter->valueText().c_str(), it->second.c_str());
      }
      ++differences;
    }
  }
  return differences;
}

// Silences (SIGSTOP) or hangs up (SIGKILL) the simulator a moment after a read starts.
Row interruptedRead(zelmot::document::CZELMOTDoc& doc, SimulatorProcess& sim, int signal,
                    const char* name, const EmptyOnAHealthyLine& healthy) {
  std::thread interrupter([&sim, signal] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    sim.signal(signal);
  });
  Row row = runOnce(doc, TaskCode::Read, name, healthy);
  interrupter.join();
  return row;
}

void configure(zelmot::document::CZELMOTDoc& doc, const std::string& link) {
  doc.setCommandLineMode(true);
  doc.programNetwork().SetValueByName("Port", link, false);
  doc.deviceLink().port().setConverterMode(zelmot::link::ConverterMode::Automatic);
  doc.deviceLink().setSuppressMessages(true);
  doc.deviceLink().load_port_settings();
}

}  // namespace

int main(int argc, char** argv) {
  // bench_soak [--faults-only] [BIN-DIR]
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  bool faultsOnly = false;
  std::string binDir = zelmot::executableDir().string();
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--faults-only") {
      faultsOnly = true;
    } else {
      binDir = argv[i];
    }
  }
  zelmot::test_support::TempFolder folder;
  const std::string statePath = folder.file("device.state");
  const std::string link = folder.file("line");

  zelmot::document::CZELMOTDoc doc;
  if (!doc.initialise(binDir)) {
    std::printf("no device model in %s\n", binDir.c_str());
    return 1;
  }
  configure(doc, link);
  std::printf("%-24s %8s %8s %11s %8s %9s %8s\n", "прогон", "парам.", "ошибок", "без объясн.",
              "таймаут", "связь", "сек");

  EmptyOnAHealthyLine healthy;
  {
    SimulatorProcess sim(SimulatorProcess::servingTheModel({"--link", link}));
    const TaskOutcome reference = doc.deviceLink().runTask(TaskCode::Read, doc.root());
    healthy = withoutValueOrReason(*doc.root());
    std::printf("%-24s %8d (без сбоев; %zu остаются пустыми и на исправной линии)\n",
                "эталонное чтение", reference.counts.handled, healthy.size());
  }

  std::vector<Row> rows;
  int worstDifferences = 0;
  if (!faultsOnly) {
    SimulatorProcess sim(faultySimulator(statePath, link, 1));
    for (int i = 1; i <= 20; ++i) {
      rows.push_back(runOnce(doc, TaskCode::Read, "чтение " + std::to_string(i), healthy));
    }
    for (int i = 1; i <= 20; ++i) {
      rows.push_back(runOnce(doc, TaskCode::WriteAll, "запись " + std::to_string(i), healthy));
    }
    sim.stop(SIGTERM);  // saves its state
  }
  int compared = 0;
  if (!faultsOnly) worstDifferences = differencesFromDevice(doc.deviceModel(), statePath, compared);
  std::printf("значений сверено с состоянием симулятора: %d, расхождений: %d\n", compared,
              worstDifferences);

  std::vector<Row> faults;
  {
    SimulatorProcess sim(faultySimulator(statePath, link, 2));
    faults.push_back(interruptedRead(doc, sim, SIGSTOP, "линия замолкла", healthy));
    sim.signal(SIGCONT);
    faults.push_back(runOnce(doc, TaskCode::Read, "после возврата линии", healthy));
    faults.push_back(interruptedRead(doc, sim, SIGKILL, "обрыв линии", healthy));
  }
  {
    SimulatorProcess sim(faultySimulator(statePath, link, 3));
    faults.push_back(runOnce(doc, TaskCode::Read, "новый симулятор", healthy));
  }

  int unexplained = 0;
  for (const auto* list : {&rows, &faults}) {
    for (const Row& row : *list) unexplained += row.unexplained;
  }
  const bool recovered = faults[1].outcome.counts.handled > 0 && !faults[1].outcome.noLink() &&
                         faults[3].outcome.counts.handled > 0 && !faults[3].outcome.noLink();
  std::printf("итог: %s (без текста %d, расхождений %d, связь восстановлена: %s)\n",
              unexplained == 0 && worstDifferences == 0 && recovered ? "хорошо" : "ПЛОХО",
              unexplained, worstDifferences, recovered ? "да" : "нет");
  return unexplained == 0 && worstDifferences == 0 && recovered ? 0 : 1;
}
