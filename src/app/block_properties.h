#pragma once
// CBlockPropertieDialog's state: the subtree of one object (block) shown in the tree-list
// form of the main view, with its own column widths, the block as the expanded root and
// the main menu's linear-index switch.
#include <array>
#include <string>

#include "app/tree_rows.h"

namespace zelmot::model {
class DescBranch;
}

namespace zelmot::app {

inline constexpr std::array<int, kColumnCount> kBlockColumnWidths{280, 70, 120, 110, 90, 200};
inline constexpr const char* kBlockPropertiesText = "Свойства блока...";
inline constexpr const char* kBlockCloseText = "Закрыть";

class BlockPropertiesState {
public:
  BlockPropertiesState(model::DescBranch& block, const ViewOptions& options)
      : block_(block), options_(options) {}

  model::DescBranch& block() const { return block_; }
  const ViewOptions& options() const { return options_; }
  // The window title: the block's name.
  std::string title() const;

private:
  model::DescBranch& block_;
  ViewOptions options_;
};

}  // namespace zelmot::app
