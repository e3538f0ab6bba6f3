#pragma once
// What a tree under construction needs from its owner: the catalogue parameters that
// reference records name, and the place to remember the main branch.
#include <cstdint>

namespace zelmot::model {

class Parameter;
class DescBranch;

class TreeBuildContext {
public:
  virtual ~TreeBuildContext() = default;
  // The catalogue parameter with that record number (from 0); nullptr when out of range.
  virtual Parameter* catalogueParameter(int32_t index) = 0;
  // Called for the branch whose record carries the main-branch marker.
  virtual void setMainBranch(DescBranch* branch) = 0;
};

}  // namespace zelmot::model
