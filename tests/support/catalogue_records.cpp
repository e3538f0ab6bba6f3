#include "support/catalogue_records.h"

namespace zelmot::test_support {

model::CatalogueRecord catalogueRecord(const std::string& name, const std::string& type,
                                       const std::string& initial, int32_t index) {
  model::CatalogueRecord r;
  r.name = name;
  r.typeDescriptor = type;
  r.initialValue = initial;
  r.linearIndex = index;
  return r;
}

model::CatalogueRecord limited(model::CatalogueRecord r, float minimum, float maximum,
                               int32_t decimals) {
  r.minimum = minimum;
  r.maximum = maximum;
  r.decimals = decimals;
  return r;
}

model::CatalogueRecord readOnly(model::CatalogueRecord r) {
  r.readOnly = 1;
  return r;
}

model::CatalogueRecord attributed(model::CatalogueRecord r, int32_t multiplicity, bool editable,
                                  bool factoryOwned) {
  r.attributeMultiplicity = multiplicity;
  r.editable = editable ? 1 : 0;
  r.factoryOwned = factoryOwned ? 1 : 0;
  return r;
}

void addIndexed(std::vector<model::CatalogueRecord>& records, const model::CatalogueRecord& r,
                int32_t first, int32_t last, int32_t step) {
  for (int32_t i = first; i <= last; i += step) {
    model::CatalogueRecord element = r;
    element.linearIndex = i;
    records.push_back(element);
  }
}

model::CatalogueRecord sampleCatalogueRecord(int n) {
  model::CatalogueRecord r = attributed(
      limited(catalogueRecord("P." + std::to_string(n % 1000), "STORED_DOT", "1.00", n), -10.5f,
              99.25f, 2),
      1, true, false);
  r.caption = "Уставка канала " + std::to_string(n);
  r.indexMode = 1;
  r.readOnly = static_cast<uint8_t>(n % 2);
  r.flag = 1;
  r.hint = "?Значение_уставки";
  return r;
}

std::vector<model::CatalogueRecord> sampleCatalogue(int count) {
  std::vector<model::CatalogueRecord> records;
  for (int n = 0; n < count; ++n) records.push_back(sampleCatalogueRecord(n));
  return records;
}

}  // namespace zelmot::test_support
