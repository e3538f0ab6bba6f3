#include "model/invisible_element.h"

namespace zelmot::model {

InvisibleElement::InvisibleElement(bool ownsParameters, std::string title)
    : ObjectWithParameters(ownsParameters), title_(std::move(title)) {}

ArchiveError InvisibleElement::writeHeaderAndParameters(ArchiveWriter& archive) const {
  archive.writeString(title_);
  archive.writeInt32(static_cast<int32_t>(parameters().size()));
  return writeParameterRecords(archive);
}

ArchiveError InvisibleElement::readHeaderAndParameters(ArchiveReader& archive) {
  std::string title;
  int32_t storedCount = 0;
  archive.readString(title);
  archive.readInt32(storedCount);
  if (!archive.ok()) return archive.error();
  if (storedCount < 0) {
    archive.fail(ArchiveError::BadIndex);
    return archive.error();
  }
  // The file carries no structure of its own: records read into a tree of another shape
  // would land on the wrong parameters, so such a file is refused here.
  if (static_cast<size_t>(storedCount) != parameters().size()) {
    archive.failMismatch("ветвь \"" + title_ + "\": в файле параметров " +
                         std::to_string(storedCount) + ", в описании " +
                         std::to_string(parameters().size()));
    return archive.error();
  }
  title_ = std::move(title);
  return readParameterRecords(archive);
}

ArchiveError InvisibleElement::Serialize(ArchiveWriter& archive) const {
  return writeHeaderAndParameters(archive);
}

ArchiveError InvisibleElement::Serialize(ArchiveReader& archive) {
  return readHeaderAndParameters(archive);
}

}  // namespace zelmot::model
