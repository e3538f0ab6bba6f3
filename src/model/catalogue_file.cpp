// parameters.zip content: fixed 2343-byte records, one per parameter element.
#include <span>

#include "model/catalogue_layout.h"
#include "model/description_files.h"
#include "model/record_fields.h"

namespace zelmot::model {

namespace layout = catalogue_layout;

namespace {

bool encodeRecord(const CatalogueRecord& r, size_t number, std::span<uint8_t> out,
                  std::string& error) {
  if (!fields::writeText(out, layout::kName, r.name, number, error) ||
      !fields::writeText(out, layout::kCaption, r.caption, number, error) ||
      !fields::writeText(out, layout::kTypeDescriptor, r.typeDescriptor, number, error) ||
      !fields::writeText(out, layout::kInitialValue, r.initialValue, number, error) ||
      !fields::writeText(out, layout::kHint, r.hint, number, error) ||
      !fields::writeText(out, layout::kErrorText, r.errorText, number, error)) {
    return false;
  }
  fields::writeI32(out, layout::kLinearIndex, r.linearIndex);
  out[layout::kIndexMode] = r.indexMode;
  out[layout::kReadOnly] = r.readOnly;
  out[layout::kFlag] = r.flag;
  fields::writeI32(out, layout::kKind, r.kind);
  out[layout::kValueChanged] = r.valueChanged;
  fields::writeI32(out, layout::kMultiplicity, r.attributeMultiplicity);
  out[layout::kEditable] = r.editable;
  out[layout::kFactoryOwned] = r.factoryOwned;
  fields::writeI32(out, layout::kDecimals, r.decimals);
  fields::writeF32(out, layout::kMinimum, r.minimum);
  fields::writeF32(out, layout::kMaximum, r.maximum);
  return true;
}

CatalogueRecord decodeRecord(std::span<const uint8_t> in) {
  CatalogueRecord r;
  r.name = fields::readText(in, layout::kName);
  r.caption = fields::readText(in, layout::kCaption);
  r.linearIndex = fields::readI32(in, layout::kLinearIndex);
  r.indexMode = in[layout::kIndexMode];
  r.readOnly = in[layout::kReadOnly];
  r.flag = in[layout::kFlag];
  r.kind = fields::readI32(in, layout::kKind);
  r.valueChanged = in[layout::kValueChanged];
  r.attributeMultiplicity = fields::readI32(in, layout::kMultiplicity);
  r.editable = in[layout::kEditable];
  r.factoryOwned = in[layout::kFactoryOwned];
  r.typeDescriptor = fields::readText(in, layout::kTypeDescriptor);
  r.decimals = fields::readI32(in, layout::kDecimals);
  r.minimum = fields::readF32(in, layout::kMinimum);
  r.maximum = fields::readF32(in, layout::kMaximum);
  r.initialValue = fields::readText(in, layout::kInitialValue);
  r.hint = fields::readText(in, layout::kHint);
  r.errorText = fields::readText(in, layout::kErrorText);
  return r;
}

}  // namespace

bool encodeCatalogue(const std::vector<CatalogueRecord>& records, std::vector<uint8_t>& bytes,
                     std::string& error) {
  std::vector<uint8_t> out(records.size() * CatalogueRecord::kSize, 0);
  for (size_t n = 0; n < records.size(); ++n) {
    std::span<uint8_t> record(out.data() + n * CatalogueRecord::kSize, CatalogueRecord::kSize);
    if (!encodeRecord(records[n], n, record, error)) return false;
  }
  bytes = std::move(out);
  return true;
}

std::vector<CatalogueRecord> decodeCatalogue(const std::vector<uint8_t>& bytes) {
  const size_t count = bytes.size() / CatalogueRecord::kSize;  // a remainder is ignored
  std::vector<CatalogueRecord> records;
  records.reserve(count);
  for (size_t n = 0; n < count; ++n) {
    records.push_back(decodeRecord(
        std::span<const uint8_t>(bytes.data() + n * CatalogueRecord::kSize, CatalogueRecord::kSize)));
  }
  return records;
}

}  // namespace zelmot::model
