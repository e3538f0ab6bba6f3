// Exporting a full day of 1,700,000 records to HTML against inflating that day from the
// chunks of its monthly file (1,000,000-byte zlib chunks, written out as the daily log, as
// unpacking does). Prints both times and their ratio; the aim is a ratio of at most 3.
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "archive/export_job.h"
#include "model/my_converter.h"
#include "platform/event.h"

namespace {

using namespace zelmot::archive;

constexpr size_t kRecords = 1'700'000;
constexpr size_t kChunk = 1'000'000;

std::vector<ExportColumn> benchColumns() {
  std::vector<ExportColumn> columns;
  for (const char* name : {"rEAd", "r.CAL", "Set.P", "rd.rg", "r.OUt", "r.oe"}) {
    for (uint8_t i = 0; i < 8; ++i) {
      zelmot::model::MyConverter source;
      source.setName(name);
      source.setTypeDescriptor("STORED_DOT");
      columns.push_back(makeExportColumn(source, i));
    }
  }
  for (uint8_t i = 0; i < 21; ++i) {
    zelmot::model::MyConverter source;
    source.setName(i == 0 ? "r.Cn" : "P.dec");
    source.setTypeDescriptor("DEC_dot");
    columns.push_back(makeExportColumn(source, i));
  }
  return columns;
}

std::vector<uint8_t> makeDay(const std::vector<ExportColumn>& columns) {
  std::tm local{};
  local.tm_year = 2026 - 1900;
  local.tm_mon = 11;
  local.tm_mday = 6;
  const int64_t midnight = logTimeStamp(local);
  std::vector<uint8_t> day;
  day.reserve(kRecords * 23);
  for (size_t r = 0; r < kRecords; ++r) {
    const ExportColumn& column = columns[r % columns.size()];
    const auto second = static_cast<int64_t>((r / columns.size()) * 86400 / (kRecords / columns.size() + 1));
    LogRecord record{midnight + second, column.name, column.index, r % 997 == 0, {}};
    if (!record.error && column.name != "r.Cn" && column.name != "P.dec") {
      const float value = static_cast<float>(r % 1000) / 7.0F;
      uint32_t bits = 0;
      std::memcpy(&bits, &value, sizeof bits);
      record.reply = {static_cast<uint8_t>(bits >> 24), static_cast<uint8_t>(bits >> 16),
                      static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits)};
    } else if (!record.error) {
      record.reply = {static_cast<uint8_t>(r % 64)};
    }
    const std::vector<uint8_t> bytes = encodeLogRecord(record);
    day.insert(day.end(), bytes.begin(), bytes.end());
  }
  return day;
}

struct Chunk {
  uLong length;
  std::vector<Bytef> packed;
};

std::vector<Chunk> pack(const std::vector<uint8_t>& day) {
  std::vector<Chunk> chunks;
  for (size_t at = 0; at < day.size(); at += kChunk) {
    const size_t length = std::min(kChunk, day.size() - at);
    uLongf packedLength = compressBound(length);
    Chunk chunk{length, std::vector<Bytef>(packedLength)};
    compress2(chunk.packed.data(), &packedLength, day.data() + at, length, Z_DEFAULT_COMPRESSION);
    chunk.packed.resize(packedLength);
    chunks.push_back(std::move(chunk));
  }
  return chunks;
}

// Processor time of this process: steadier than the clock on a shared machine.
double cpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double inflateSeconds(const std::vector<Chunk>& chunks, const std::filesystem::path& out) {
  const double start = cpuSeconds();
  std::ofstream file(out, std::ios::binary | std::ios::trunc);
  std::vector<Bytef> buffer(kChunk);
  for (const Chunk& chunk : chunks) {
    uLongf length = chunk.length;
    uncompress(buffer.data(), &length, chunk.packed.data(), chunk.packed.size());
    file.write(reinterpret_cast<const char*>(buffer.data()), static_cast<std::streamsize>(length));
  }
  file.close();
  return cpuSeconds() - start;
}

}  // namespace

int main() {
  const std::filesystem::path home = std::filesystem::temp_directory_path() / "zelmot_bench_export";
  std::filesystem::remove_all(home);
  const ArchiveFolders folders = archiveFoldersIn(home);
  std::filesystem::create_directories(folders.protocol);
  const std::vector<ExportColumn> columns = benchColumns();
  const std::vector<uint8_t> day = makeDay(columns);
  const std::vector<Chunk> chunks = pack(day);

  const double inflate = inflateSeconds(chunks, folders.protocol / "06-12-2026.log");
  ExportRequest request;
  request.from = request.to = DayDate{6, 12, 2026};
  request.output = folders.scratch;
  zelmot::Event cancel(zelmot::Event::Reset::Manual);
  const double start = cpuSeconds();
  const ExportResult result = runExport(request, folders, columns, cancel, nullptr, nullptr);
  const double exported = cpuSeconds() - start;

  std::printf("day: %zu records, %zu bytes, %zu chunks\n", kRecords, day.size(), chunks.size());
  std::printf("inflate the day: %.3f s of processor time\n", inflate);
  std::printf("export to HTML:  %.3f s of processor time (%s)\n", exported,
              result.status == ExportStatus::Done ? "done" : result.message.c_str());
  std::printf("ratio export / inflate: %.2f (aim: at most 3)\n", exported / inflate);
  std::filesystem::remove_all(home);
  return result.status == ExportStatus::Done ? 0 : 1;
}
