#include "app/block_properties.h"

#include "model/desc_branch.h"

namespace zelmot::app {

std::string BlockPropertiesState::title() const { return "Свойства блока: " + block_.name(); }

}  // namespace zelmot::app
