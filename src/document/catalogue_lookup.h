#pragma once
// Finding catalogue parameters by name (ignoring the case of Latin letters) and linear
// index (any index when the index asked for is negative).
#include <cstdint>
#include <string>

namespace zelmot::model {
class DeviceModel;
class Parameter;
}  // namespace zelmot::model

namespace zelmot::document {

model::Parameter* findInCatalogue(const model::DeviceModel& model, const std::string& name,
                                  int32_t index = -1);

}  // namespace zelmot::document
