#pragma once
// The table of a measurement protocol: one row per time stamp (records with the same stamp,
// to the second, share a row, in file order), one cell per column. The HTML page and the
// workbook both draw this table.
#include <cstdint>
#include <string>
#include <vector>

#include "archive/export_columns.h"
#include "archive/log_record.h"

namespace zelmot::archive {

inline constexpr const char* kTimeHeaderText = "Время";
inline constexpr const char* kChannelOrderNote = "(порядок: 6-5-4-3-2-1)";
inline constexpr const char* kTransferTimeoutText = "Таймаут при передаче данных";

struct ProtocolCell {
  std::string text;
  bool present = false;  // a record filled the cell
  bool error = false;    // the record carried the error flag
};

struct ProtocolRow {
  int64_t timeStamp = 0;
  std::vector<ProtocolCell> cells;
};

// True for the discrete-input state whose value is shown as six channel bits.
bool isChannelStateName(const std::string& name);
// Six digits 0 or 1 between apostrophes, bit 5 first: 5 gives '000101'.
std::string channelBitsText(unsigned value);
// The text of one record in its column: the decoded reply, or for an error the time-out
// text (no reply) or the catalogue text of the reply's first byte.
ProtocolCell protocolCell(const ExportColumn& column, const LogRecord& record);

class ProtocolTable {
public:
  explicit ProtocolTable(std::vector<ExportColumn> columns);

  const std::vector<ExportColumn>& columns() const { return columns_; }
  // Takes the next record of the day. True when the record began a new time stamp and so
  // closed the row before it, which is then in `finished`. Records without a column are
  // skipped; the first record for a cell keeps it.
  bool add(const LogRecord& record, ProtocolRow& finished);
  // Closes the last row; false when there is none.
  bool finish(ProtocolRow& finished);

private:
  // The last record decoded in each column: readings often repeat, decoding is the cost.
  struct LastDecoded {
    bool valid = false;
    bool error = false;
    std::vector<uint8_t> reply;
    ProtocolCell cell;
  };
  const ProtocolCell& decode(size_t column, const LogRecord& record);
  void openRow(int64_t timeStamp);

  std::vector<ExportColumn> columns_;
  std::vector<LastDecoded> last_;
  ColumnLookup lookup_;
  ProtocolRow row_;
  bool rowOpen_ = false;
};

}  // namespace zelmot::archive
