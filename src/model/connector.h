#pragma once
// A scheme link kept by a branch, made from a tree record of the link kind. The fields
// are stored as read; only the view gives them meaning.
#include <cstdint>
#include <string>

namespace zelmot::model {

struct LinkRecord;

struct Connector {
  std::string firstText;
  std::string branchName;  // the branch that holds the record
  std::string secondText;
  std::string parameterName;
  int32_t firstNumber = 0;
  int32_t secondNumber = 0;

  static Connector fromRecord(const LinkRecord& record, const std::string& branchName);
  bool operator==(const Connector&) const = default;
};

}  // namespace zelmot::model
