#pragma once
// Days, columns and records for the export tests.
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "archive/export_columns.h"
#include "archive/log_record.h"
#include "model/my_converter.h"

namespace zelmot::archive::test {

inline ExportColumn column(const std::string& name, uint8_t index, const std::string& type,
                           int decimals = 0) {
  model::MyConverter source;
  source.setName(name);
  source.setTypeDescriptor(type);
  source.setDecimals(decimals);
  return makeExportColumn(source, index);
}

// The measured inputs 0 and 1, output element 0 and the discrete inputs.
inline std::vector<ExportColumn> sampleColumns() {
  return {column("rEAd", 0, "STORED_DOT"), column("rEAd", 1, "STORED_DOT"),
          column("r.oe", 0, "STORED_DOT"), column("r.Cn", 0, "DEC_dot")};
}

// A local time on 06-12-2026.
inline int64_t stampAt(int hour, int minute, int second, int day = 6) {
  std::tm local{};
  local.tm_year = 2026 - 1900;
  local.tm_mon = 11;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  return logTimeStamp(local);
}

// A measured value as the device sends it: IEEE single precision, most significant first.
inline std::vector<uint8_t> floatReply(float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return {static_cast<uint8_t>(bits >> 24), static_cast<uint8_t>(bits >> 16),
          static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits)};
}

inline void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes,
                       bool append = false) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void writeDay(const std::filesystem::path& path, const std::vector<LogRecord>& records) {
  std::vector<uint8_t> bytes;
  for (const LogRecord& record : records) {
    const std::vector<uint8_t> one = encodeLogRecord(record);
    bytes.insert(bytes.end(), one.begin(), one.end());
  }
  writeBytes(path, bytes);
}

}  // namespace zelmot::archive::test
