#include "model/connector.h"

#include "model/description_records.h"

namespace zelmot::model {

Connector Connector::fromRecord(const LinkRecord& record, const std::string& branchName) {
  return Connector{record.text1, branchName,     record.text2,
                   record.text3, record.number1, record.number2};
}

}  // namespace zelmot::model
