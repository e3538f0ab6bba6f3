#include "model/common_params.h"

#include "model/parameter.h"

namespace zelmot::model {

CommonParams::CommonParams() : InvisibleElement(true, kCommonParamsCaption) {}

void CommonParams::addInformationParameters(const std::string& version,
                                            const std::string& copyright,
                                            const std::string& system) {
  addServiceParameter(kVersionParameterName, "Версия", version, false);
  addServiceParameter(kCopyrightParameterName, "Копирайт", copyright, false);
  addServiceParameter(kSystemParameterName, "Операционная система", system, false);
}

Parameter* CommonParams::addServiceParameter(const std::string& name,
                                             const std::string& description,
                                             const std::string& value, bool writable) {
  auto* parameter = new Parameter();
  parameter->setName(name);
  parameter->setTypeDescriptor("string");
  parameter->setCatalogueCaption(description);
  parameter->setRawValueText(value);
  parameter->setWritableByCatalogue(writable);
  parameter->setWritableHere(writable);
  addParameter(parameter);  // owned: the node was built owning its parameters
  return parameter;
}

}  // namespace zelmot::model
