#pragma once
// Catalogue records for tests, built in one line and adjusted by small modifiers.
#include <string>
#include <vector>

#include "model/description_records.h"

namespace zelmot::test_support {

model::CatalogueRecord catalogueRecord(const std::string& name, const std::string& type,
                                       const std::string& initial = {}, int32_t index = -1);
model::CatalogueRecord limited(model::CatalogueRecord r, float minimum, float maximum,
                               int32_t decimals = 0);
model::CatalogueRecord readOnly(model::CatalogueRecord r);
model::CatalogueRecord attributed(model::CatalogueRecord r, int32_t multiplicity, bool editable,
                                  bool factoryOwned);
// Appends the elements first..last (by step) of an indexed parameter.
void addIndexed(std::vector<model::CatalogueRecord>& records, const model::CatalogueRecord& r,
                int32_t first, int32_t last, int32_t step = 1);

// A record that uses every field, different for each n.
model::CatalogueRecord sampleCatalogueRecord(int n);
std::vector<model::CatalogueRecord> sampleCatalogue(int count);

}  // namespace zelmot::test_support
