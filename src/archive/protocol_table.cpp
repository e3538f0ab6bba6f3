#include "archive/protocol_table.h"

#include <cstdlib>

#include "link/error_catalogue.h"

namespace zelmot::archive {

bool isChannelStateName(const std::string& name) { return name == "r.Cn"; }

std::string channelBitsText(unsigned value) {
  std::string text = "'";
  for (int bit = 5; bit >= 0; --bit) text.push_back((value >> bit) & 1U ? '1' : '0');
  text.push_back('\'');
  return text;
}

namespace {

std::string decodedText(const ExportColumn& column, const LogRecord& record) {
  std::string text;
  if (column.converter == nullptr) return text;
  const int result = column.converter->DataToText(record.reply.data(),
                                                  static_cast<int>(record.reply.size()), text);
  if (result == 1 && isChannelStateName(column.name)) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 10);
    if (end != text.c_str()) return channelBitsText(static_cast<unsigned>(value));
  }
  return text;
}

std::string errorText(const LogRecord& record) {
  if (record.reply.empty()) return kTransferTimeoutText;
  std::string text;
  link::error_text_for_code(record.reply[0], text);
  return text;
}

}  // namespace

ProtocolCell protocolCell(const ExportColumn& column, const LogRecord& record) {
  ProtocolCell cell;
  cell.present = true;
  cell.error = record.error;
  cell.text = record.error ? errorText(record) : decodedText(column, record);
  return cell;
}

ProtocolTable::ProtocolTable(std::vector<ExportColumn> columns)
    : columns_(std::move(columns)), last_(columns_.size()), lookup_(columns_) {}

const ProtocolCell& ProtocolTable::decode(size_t column, const LogRecord& record) {
  LastDecoded& last = last_[column];
  if (!last.valid || last.error != record.error || last.reply != record.reply) {
    last.cell = protocolCell(columns_[column], record);
    last.error = record.error;
    last.reply = record.reply;
    last.valid = true;
  }
  return last.cell;
}

bool ProtocolTable::add(const LogRecord& record, ProtocolRow& finished) {
  const int column = lookup_.find(record);
  if (column < 0) return false;
  bool closed = false;
  if (rowOpen_ && record.timeStamp != row_.timeStamp) {
    std::swap(finished, row_);
    closed = true;
    rowOpen_ = false;
  }
  if (!rowOpen_) openRow(record.timeStamp);
  ProtocolCell& cell = row_.cells[static_cast<size_t>(column)];
  if (!cell.present) cell = decode(static_cast<size_t>(column), record);
  return closed;
}

void ProtocolTable::openRow(int64_t timeStamp) {
  // The cells of an earlier row are emptied rather than made anew: their texts keep their
  // storage from row to row.
  row_.timeStamp = timeStamp;
  row_.cells.resize(columns_.size());
  for (ProtocolCell& cell : row_.cells) {
    cell.text.clear();
    cell.present = false;
    cell.error = false;
  }
  rowOpen_ = true;
}

bool ProtocolTable::finish(ProtocolRow& finished) {
  if (!rowOpen_) return false;
  std::swap(finished, row_);
  rowOpen_ = false;
  return true;
}

}  // namespace zelmot::archive
