// Feeds arbitrary bytes to the catalogue reader, both as a compressed file and (tiled to
// whole records) as uncompressed content, and builds parameters and table places from
// every record found.
#include <cstdint>
#include <memory>
#include <vector>

#include "model/description_files.h"
#include "model/parameter.h"
#include "model/structural_tables.h"

namespace {

using namespace zelmot::model;

void loadRecords(const std::vector<uint8_t>& content, StructuralTables& tables) {
  std::vector<std::unique_ptr<Parameter>> catalogue;
  for (const CatalogueRecord& record : decodeCatalogue(content)) {
    catalogue.push_back(std::make_unique<Parameter>());
    catalogue.back()->fillFromCatalogueRecord(record);
    std::string error;
    if (isStructuralKind(record.kind)) tables.place(*catalogue.back(), record, error);
  }
  tables.clear();  // the parameters go first; no slot may point at them afterwards
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> file(data, data + size);
  StructuralTables tables;
  DescriptionConstants constants;
  constants.nObj = 3;
  constants.nKey = 4;
  constants.maxSensors = 8;
  constants.nZELCh = 2;
  constants.nProf = 2;
  constants.pStep = 0;  // kind 109 must be refused, not divide by zero
  tables.allocate(constants);

  std::vector<uint8_t> content;
  std::string error;
  if (gzipDecompress(file, content, error)) loadRecords(content, tables);

  if (!file.empty()) {
    std::vector<uint8_t> tiled(CatalogueRecord::kSize * 2);
    for (size_t i = 0; i < tiled.size(); ++i) tiled[i] = file[i % file.size()];
    loadRecords(tiled, tables);
  }
  return 0;
}
