#include "document/catalogue_lookup.h"

#include "model/device_model.h"
#include "platform/ascii_text.h"

namespace zelmot::document {

model::Parameter* findInCatalogue(const model::DeviceModel& model, const std::string& name,
                                  int32_t index) {
  for (const auto& parameter : model.catalogue()) {
    if (!parameter || !equalsIgnoreCase(parameter->name(), name)) continue;
    if (index < 0 || parameter->linearIndex() == index) return parameter.get();
  }
  return nullptr;
}

}  // namespace zelmot::document
