#pragma once
// Writes a dBase III table record by record so that the file is a whole table after every
// record: the count in the header is rewritten first, the record put in its place, and the
// end mark 0x1A after it. The table grows in a hidden file beside the target, which
// replaces the target only when every record is in: a failed export never costs the user
// the table that was there before.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "document/dbf_format.h"

namespace zelmot::document {

class DbfWriter {
public:
  DbfWriter() = default;
  ~DbfWriter();  // an uncommitted table is removed
  DbfWriter(const DbfWriter&) = delete;
  DbfWriter& operator=(const DbfWriter&) = delete;

  // False with `error` for the user when the table cannot be made.
  bool create(const std::filesystem::path& path, std::vector<DbfColumn> columns,
              const DbfDate& created, std::string& error);
  // One cell per column, each already of its column's length.
  bool append(const std::vector<std::string>& cells, std::string& error);
  // Syncs the table and puts it in place of the target.
  bool commit(std::string& error);

  uint32_t recordCount() const { return count_; }

private:
  bool put(const std::string& bytes, uint64_t offset, std::string& error);
  void discard();

  std::filesystem::path target_;
  std::string temporary_;
  std::vector<DbfColumn> columns_;
  int fd_ = -1;
  uint32_t count_ = 0;
  size_t headerLength_ = 0;
  size_t recordLength_ = 0;
};

// Today's date in local time, for the header.
DbfDate todayForDbf();

}  // namespace zelmot::document
