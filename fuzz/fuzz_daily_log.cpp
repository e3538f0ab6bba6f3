// Feeds arbitrary bytes to the daily log reader: it must stop at a damaged or cut-off
// record without reading past the bytes, and every record it returns must encode back to
// the bytes it came from (but for the meaningless bytes after a name's zero and an error
// flag other than 0 or 1, which reads as 1).
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "archive/log_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelmot::archive;
  LogRecordReader reader({data, size});
  LogRecord record;
  size_t start = 0;
  while (reader.next(record) == LogReadStatus::Record) {
    const std::vector<uint8_t> again = encodeLogRecord(record);
    if (again.size() != reader.offset() - start) std::abort();
    const size_t nameEnd = 8 + record.name.size();
    if (std::memcmp(again.data(), data + start, nameEnd) != 0) std::abort();
    const uint8_t* head = data + start;
    if (again[16] != head[16] || again[17] != (head[17] != 0 ? 1 : 0)) std::abort();
    if (std::memcmp(again.data() + 18, head + 18, again.size() - 18) != 0) std::abort();
    start = reader.offset();
  }
  if (reader.offset() > size) std::abort();
  return 0;
}
