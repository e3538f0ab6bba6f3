#pragma once
// Base of the tree nodes that have no device data of their own: a title and the texts
// the view shows for the node.
#include <string>

#include "model/object_with_parameters.h"

namespace zelmot::model {

inline constexpr const char* kInvisibleElementCaption = "Невизуальный элемент";
inline constexpr const char* kInvisibleElementGroupCaption = "Не относящиеся ко схеме";

class InvisibleElement : public ObjectWithParameters {
public:
  explicit InvisibleElement(bool ownsParameters = false, std::string title = {});

  const std::string& title() const { return title_; }
  void setTitle(std::string title) { title_ = std::move(title); }
  std::string nodeTitle() const override { return title_; }

  virtual std::string caption() const { return kInvisibleElementCaption; }
  virtual std::string groupCaption() const { return kInvisibleElementGroupCaption; }

  // Title, parameter count, parameter records. On reading, the title replaces the
  // node's; a negative count fails with BadIndex, a count other than the node's with
  // ModelMismatch (the file was written for another tree), as does a record that does
  // not fit its parameter.
  ArchiveError Serialize(ArchiveWriter& archive) const override;
  ArchiveError Serialize(ArchiveReader& archive) override;

protected:
  ArchiveError writeHeaderAndParameters(ArchiveWriter& archive) const;
  ArchiveError readHeaderAndParameters(ArchiveReader& archive);

private:
  std::string title_;
};

}  // namespace zelmot::model
