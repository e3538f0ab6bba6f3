#include "document/device_network_node.h"

#include "document/catalogue_lookup.h"
#include "model/device_model.h"

namespace zelmot::document {

DeviceNetworkNode::DeviceNetworkNode() : NetRS485(NoParameters{}) { setOwnsParameters(false); }

void DeviceNetworkNode::attach(const model::DeviceModel& model) {
  DeleteParameters();
  for (const char* name : {"bPS", "LEn", "PrtY", "Sbit", "A.Len", "Addr"}) {
    if (model::Parameter* parameter = findInCatalogue(model, name)) addParameter(parameter);
  }
}

}  // namespace zelmot::document
