// Feeds arbitrary bytes to the constants reader: token splitting, lookup, number
// conversion, and the encode/decode round trip of whatever pairs come out.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "model/description_files.h"
#include "model/structural_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelmot::model;
  const std::vector<uint8_t> file(data, data + size);
  const std::vector<std::string> tokens = constantsTokens(file);
  DescriptionConstants constants;
  for (size_t i = 0; i < kConstantCount; ++i) {
    int value = -1;
    findConstantToken(tokens, kConstantNames[i], value);
    constantField(constants, i) = static_cast<uint8_t>(value);
  }
  StructuralTables tables;
  tables.allocate(constants);

  const ConstantsText decoded = decodeConstants(file);
  const ConstantsText again = decodeConstants(encodeConstants(decoded));
  if (again.size() != decoded.size()) std::abort();
  for (size_t i = 0; i < decoded.size(); ++i) {
    if (again[i].name != decoded[i].name || again[i].value != decoded[i].value) std::abort();
  }
  return 0;
}
