#pragma once
// One parameter record of the configuration file as read, before it is applied, and the
// check that ties it to the tree parameter at its position. The file has no checksum: a
// record whose place differs from the tree's would send its value to another element.
#include <string>
#include <string_view>

#include "model/byte_archive.h"
#include "model/parameter_state.h"

namespace zelmot::model {

class Parameter;

struct StoredRecord {
  std::string name;
  std::string valueText;
  ParameterState state;
  int badFlagByte = -1;  // the first flag byte other than 0 or 1, -1 when none
};

// Reads a record; the description is read and dropped (descriptions come from the tree
// file). A negative linear index fails with BadIndex.
ArchiveError readStoredRecord(ArchiveReader& archive, StoredRecord& record);

// Equal once ASCII letter case and blanks are ignored, as the device's name hash ignores them.
bool sameParameterName(std::string_view a, std::string_view b);

// What in `record` differs from `parameter` (name, index flag, linear or request index)
// or is no valid flag; empty when the record fits.
std::string recordMismatch(const StoredRecord& record, const Parameter& parameter);

}  // namespace zelmot::model
