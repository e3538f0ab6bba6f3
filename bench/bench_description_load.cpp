// Times loading a catalogue of 5000 records and a tree of 5000 references (median of
// several runs). The target is well under 100 ms for both together.
#include <algorithm>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "model/description_files.h"
#include "model/device_model.h"

namespace {

using namespace zelmot::model;
using Clock = std::chrono::steady_clock;

constexpr int kRecords = 5000;
constexpr int kBranches = 50;
constexpr int kRuns = 9;

std::vector<CatalogueRecord> makeCatalogue() {
  std::vector<CatalogueRecord> records(kRecords);
  for (int i = 0; i < kRecords; ++i) {
    CatalogueRecord& r = records[i];
    r.name = "P." + std::to_string(i % 1000);
    r.caption = "Параметр номер " + std::to_string(i);
    r.linearIndex = i % 64;
    r.kind = 100 + i % 16;
    r.attributeMultiplicity = 1;
    r.typeDescriptor = i % 2 ? "STORED_DOT" : "выкл:вкл:авто";
    r.decimals = 2;
    r.maximum = 1000.0f;
    r.initialValue = "0.00";
    r.hint = "?Подсказка_к_параметру";
  }
  return records;
}

// A root with kBranches child branches that share the 5000 references between them.
std::vector<TreeRecord> makeTree() {
  std::vector<TreeRecord> records = {BranchRecord{0, kBranches, 0, 0, 0, 0, 100, "Прибор"}};
  const int perBranch = kRecords / kBranches;
  for (int b = 0; b < kBranches; ++b) {
    records.push_back(BranchRecord{perBranch, 0, 0, b, 0, 0, 0, "Ветвь " + std::to_string(b)});
    for (int i = 0; i < perBranch; ++i) {
      records.push_back(ReferenceRecord{3, b * perBranch + i, 0, 0, i % 3 ? "" : "Описание"});
    }
  }
  return records;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Wall time and the CPU time of this thread: on a busy machine the wall time includes
// waiting for a core, the CPU time shows the work itself.
struct Stopwatch {
  Clock::time_point wall = Clock::now();
  double cpu = threadCpuMs();

  static double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
  }
  double wallMs() const { return std::chrono::duration<double, std::milli>(Clock::now() - wall).count(); }
  double cpuMs() const { return threadCpuMs() - cpu; }
};

struct Timings {
  std::vector<double> wall;
  std::vector<double> cpu;
  void add(const Stopwatch& watch) {
    wall.push_back(watch.wallMs());
    cpu.push_back(watch.cpuMs());
  }
};

}  // namespace

int main() {
  const auto dir = std::filesystem::temp_directory_path() / "zelmot-bench-description-load";
  std::filesystem::create_directories(dir);
  const std::string constantsPath = (dir / kConstantsFileName).string();
  const std::string cataloguePath = (dir / kCatalogueFileName).string();
  const std::string treePath = (dir / kMainTreeFileName).string();
  std::string error;
  const ConstantsText constants = {{"nObj", 64}, {"nKey", 16}, {"maxSensors", 64},
                                   {"n485Filter", 8}, {"nActP", 4}, {"nOutElem", 64},
                                   {"n_commut", 64}, {"_NODE_QN", 4}, {"nZELCh", 8},
                                   {"nProf", 4}, {"pStep", 16}, {"nDiskretInput", 64}};
  if (!writeConstantsFile(constantsPath, constants, error) ||
      !writeCatalogueFile(cataloguePath, makeCatalogue(), error) ||
      !writeTreeFile(treePath, makeTree(), error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }

  Timings catalogueTimes;
  Timings treeTimes;
  for (int run = 0; run < kRuns; ++run) {
    DeviceModel model;
    model.LoadConstants(constantsPath);
    Stopwatch catalogueWatch;
    const int count = model.LoadCatalogue(cataloguePath);
    catalogueTimes.add(catalogueWatch);
    Stopwatch treeWatch;
    auto root = model.LoadTree(treePath);
    treeTimes.add(treeWatch);
    if (count != kRecords || !root || root->countParameters() != kRecords) {
      std::fprintf(stderr, "load failed: %d parameters\n", count);
      return 1;
    }
  }
  std::printf("medians of %d runs        wall ms   cpu ms\n", kRuns);
  std::printf("catalogue, %d records  %8.2f %8.2f\n", kRecords, median(catalogueTimes.wall),
              median(catalogueTimes.cpu));
  std::printf("tree, %d references    %8.2f %8.2f\n", kRecords, median(treeTimes.wall),
              median(treeTimes.cpu));
  const double together = median(catalogueTimes.cpu) + median(treeTimes.cpu);
  std::printf("together (cpu): %.2f ms = %.0f%% of the 100 ms budget\n", together, together);
  std::filesystem::remove_all(dir);
  return 0;
}
