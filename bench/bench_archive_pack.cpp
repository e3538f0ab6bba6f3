// Packs a 40 MB day into a monthly file and compares the time with zlib's compress2 alone
// over the same bytes in the same 1,000,000-byte chunks (best of several runs). The
// packing's own work (reading the log, the compound file, syncing) should cost at most
// about a tenth on top of the compression.
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "archive/archive_packing.h"
#include "archive/log_record.h"
#include "archive/stream_chunks.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace zelmot::archive;

constexpr size_t kDayBytes = 40'000'000;
constexpr int kRuns = 3;
constexpr const char* kLogName = "06-12-2026.log";

// A day of readings: 69 parameters polled every second with slowly drifting values.
std::vector<uint8_t> makeDay() {
  static const char* kNames[] = {"rEAd", "r.CAL", "Set.P", "r.OUt", "r.oe", "r.Cn"};
  std::mt19937 random(1);
  std::vector<uint8_t> day;
  day.reserve(kDayBytes + 64);
  int64_t stamp = 1'765'000'000;
  for (uint32_t i = 0; day.size() < kDayBytes; ++i) {
    LogRecord record{stamp + i / 69, kNames[i % 6], static_cast<uint8_t>(i % 69), random() % 50 == 0,
                     {static_cast<uint8_t>(i % 7), static_cast<uint8_t>(random() % 4), 0x2E, 0x31}};
    const std::vector<uint8_t> bytes = encodeLogRecord(record);
    day.insert(day.end(), bytes.begin(), bytes.end());
  }
  day.resize(kDayBytes);
  return day;
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double compressAlone(const std::vector<uint8_t>& day) {
  std::vector<uint8_t> out(kCompressCapacity);
  const Clock::time_point start = Clock::now();
  for (size_t offset = 0; offset < day.size(); offset += kChunkSize) {
    uLongf size = static_cast<uLongf>(out.size());
    compress2(out.data(), &size, day.data() + offset,
              static_cast<uLong>(std::min(kChunkSize, day.size() - offset)), Z_DEFAULT_COMPRESSION);
  }
  return seconds(Clock::now() - start);
}

double packOnce(const fs::path& dir, const std::vector<uint8_t>& day) {
  std::ofstream(dir / kLogName, std::ios::binary)
      .write(reinterpret_cast<const char*>(day.data()), static_cast<std::streamsize>(day.size()));
  const Clock::time_point start = Clock::now();
  const PackResult result = packDailyLog(dir, kLogName);
  const double took = seconds(Clock::now() - start);
  if (result.status != MonthlyStatus::Ok) std::fprintf(stderr, "packing failed\n");
  return took;
}

}  // namespace

int main() {
  const fs::path dir = fs::temp_directory_path() / ("zelmot_bench_archive_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::vector<uint8_t> day = makeDay();
  double packing = 1e9, zlibOnly = 1e9;
  for (int run = 0; run < kRuns; ++run) {
    fs::remove(dir / "12-2026.var");
    packing = std::min(packing, packOnce(dir, day));
    zlibOnly = std::min(zlibOnly, compressAlone(day));
  }
  std::printf("packing a %zu-byte day: %.3f s; compress2 alone: %.3f s; ratio %.3f (target <= 1.10)\n",
              day.size(), packing, zlibOnly, packing / zlibOnly);
  fs::remove_all(dir);
  return 0;
}
