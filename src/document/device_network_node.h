#pragma once
// The device's network settings as a node of their own: the catalogue's bPS, LEn, PrtY,
// Sbit, A.Len and Addr (not owned), so that reading the tree fills them and the APLY step
// can copy them into the program's settings. Parameters the catalogue lacks are left out.
#include "model/net_rs485.h"

namespace zelmot::model {
class DeviceModel;
}

namespace zelmot::document {

class DeviceNetworkNode final : public model::NetRS485 {
public:
  DeviceNetworkNode();
  // Takes the catalogue's setting parameters (again; earlier ones are forgotten).
  void attach(const model::DeviceModel& model);
};

}  // namespace zelmot::document
