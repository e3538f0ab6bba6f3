#include "model/net_rs485.h"

#include "model/parameter.h"

namespace zelmot::model {

NetRS485::NetRS485() : NetRS485(NoParameters{}) {
  addSetting("bPS", "Скорость обмена данными", kBaudRateDescriptor, kNoDataText);
  addSetting("LEn", "Длина слова данных", kDataBitsDescriptor, kNoDataText);
  addSetting("PrtY", "Контроль четности", kParityDescriptor, kNoDataText);
  addSetting("Sbit", "Количество стоп-бит", kStopBitsDescriptor, kNoDataText);
  addSetting("A.Len", "Длина сетевого адреса", kAddressLengthDescriptor, kNoDataText);
  addSetting("Addr", "Собственный адрес прибора", kAddressDescriptor, kNoDataText);
}

NetRS485::NetRS485(NoParameters) : InvisibleElement(true, kNetDeviceCaption) {}

void NetRS485::addSetting(const std::string& name, const std::string& description,
                          const std::string& descriptor, const std::string& value) {
  auto* parameter = new Parameter();
  parameter->setName(name);
  parameter->setCatalogueCaption(description);
  parameter->setTypeDescriptor(descriptor);
  parameter->setRawValueText(value);
  addParameter(parameter);  // owned
}

NetRS485prg::NetRS485prg() : NetRS485(NoParameters{}) {
  setTitle(kNetProgramCaption);
  addSetting("Port", "Порт компьютера", kPortDescriptor, "COM1");
  addSetting("bPS", "Скорость обмена данными", kBaudRateDescriptor, "9600");
  addSetting("PrtY", "Контроль четности", kParityDescriptor, "Отсутствует");
  addSetting("LEn", "Длина слова данных", kDataBitsDescriptor, "8");
  addSetting("Sbit", "Количество стоп-бит", kStopBitsDescriptor, "1");
  addSetting("A.Len", "Длина сетевого адреса", kAddressLengthDescriptor, "8");
  addSetting("Addr", "Собственный адрес прибора", kAddressDescriptor, "16");
}

void NetRS485prg::clearStateFlags() {
  for (Parameter* parameter : parameters()) {
    parameter->clearChangeFlags();
    parameter->setErrorText({});
  }
}

}  // namespace zelmot::model
