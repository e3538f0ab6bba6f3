#include "app/trend_day.h"

#include "archive/day_log_stream.h"
#include "archive/protocol_table.h"
#include "model/desc_branch.h"
#include "model/parameter.h"

namespace zelmot::app {
namespace {

// An unpacked copy in the scratch folder goes when the reading is done.
class ScratchCopy {
public:
  explicit ScratchCopy(const archive::DayFile& file) : file_(file) {}
  ~ScratchCopy() {
    std::error_code error;
    if (file_.unpacked) std::filesystem::remove(file_.path, error);
  }
  ScratchCopy(const ScratchCopy&) = delete;
  ScratchCopy& operator=(const ScratchCopy&) = delete;

private:
  archive::DayFile file_;
};

std::string labelOf(const std::unordered_map<std::string, std::string>& labels,
                    const std::string& key) {
  const auto found = labels.find(key);
  return found == labels.end() ? key : found->second;
}

}  // namespace

std::unordered_map<std::string, std::string> trendLabels(const model::DescBranch& tree) {
  std::vector<model::Parameter*> polled;
  tree.CollectPolled(polled);
  std::unordered_map<std::string, std::string> labels;
  for (const model::Parameter* parameter : polled) {
    const std::string key = trendKey(parameter->name(), parameter->linearIndex());
    labels.emplace(key, trendLabel(key, parameter->treeCaption()));
  }
  return labels;
}

TrendDay loadTrendDay(const archive::ArchiveFolders& folders, const std::string& dayName,
                      const std::vector<archive::ExportColumn>& columns,
                      const std::unordered_map<std::string, std::string>& labels) {
  TrendDay day;
  std::filesystem::path tried;
  const std::optional<archive::DayFile> file = archive::locateDay(folders, dayName, tried);
  if (!file) return day;
  const ScratchCopy copy(*file);
  archive::DayLogStream stream;
  if (!stream.open(file->path)) return day;
  const archive::ColumnLookup lookup(columns);
  archive::LogRecord record;
  archive::LogReadStatus status;
  while ((status = stream.next(record)) == archive::LogReadStatus::Record) {
    const int position = lookup.find(record);
    if (position < 0) continue;
    const archive::ExportColumn& column = columns[static_cast<size_t>(position)];
    const archive::ProtocolCell cell = archive::protocolCell(column, record);
    const std::string key = trendKey(column.name, column.index);
    const std::string errorText = cell.error ? "error" : "";  // only its presence counts
    day.series.add(key, labelOf(labels, key), record.timeStamp * 1000, cell.text, errorText);
    ++day.records;
  }
  day.status = status == archive::LogReadStatus::End ? TrendDayStatus::Loaded
                                                     : TrendDayStatus::Damaged;
  return day;
}

}  // namespace zelmot::app
