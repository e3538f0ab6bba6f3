#include "model/parameter_record.h"

#include "model/parameter.h"
#include "platform/ascii_text.h"

namespace zelmot::model {

namespace {

void readField(ArchiveReader& archive, int32_t& value, int&) { archive.readInt32(value); }
void readField(ArchiveReader& archive, std::string& value, int&) { archive.readString(value); }
void readField(ArchiveReader& archive, bool& value, int& badFlagByte) {
  uint8_t byte = 0;
  if (!archive.readByte(byte)) return;
  if (byte > 1 && badFlagByte < 0) badFlagByte = byte;
  value = byte != 0;
}

// Lower-case ASCII letters, blanks dropped.
std::string foldedName(std::string_view text) {
  std::string kept;
  for (const char c : text) {
    if (c != ' ') kept += toLowerAscii(c);
  }
  return kept;
}

std::string differs(const char* field, int32_t stored, int32_t described) {
  return std::string("в файле ") + field + " " + std::to_string(stored) + ", в описании " +
         std::to_string(described);
}

std::string badFlagText(const StoredRecord& record) {
  if (record.badFlagByte < 0) return {};
  return "в файле байт признака " + std::to_string(record.badFlagByte) +
         " (допустимы 0 и 1)";
}

}  // namespace

ArchiveError readStoredRecord(ArchiveReader& archive, StoredRecord& record) {
  std::string description;
  archive.readString(record.name);
  archive.readString(record.valueText);
  archive.readString(description);
  forEachStoredField(record.state, [&archive, &record](auto& field) {
    readField(archive, field, record.badFlagByte);
  });
  if (archive.ok() && record.state.linearIndex < 0) archive.fail(ArchiveError::BadIndex);
  return archive.error();
}

bool sameParameterName(std::string_view a, std::string_view b) {
  return foldedName(a) == foldedName(b);
}

std::string recordMismatch(const StoredRecord& record, const Parameter& parameter) {
  if (!sameParameterName(record.name, parameter.name())) {
    return "в файле имя \"" + record.name + "\"";
  }
  const std::string flags = badFlagText(record);
  if (!flags.empty()) return flags;
  const ParameterState described = parameter.state();
  if (record.state.hasLinearIndex != described.hasLinearIndex) {
    return differs("признак линейного индекса", record.state.hasLinearIndex,
                   described.hasLinearIndex);
  }
  if (record.state.linearIndex != described.linearIndex) {
    return differs("линейный индекс", record.state.linearIndex, described.linearIndex);
  }
  if (record.state.requestIndex != described.requestIndex) {
    return differs("индекс запроса", record.state.requestIndex, described.requestIndex);
  }
  return {};
}

}  // namespace zelmot::model
