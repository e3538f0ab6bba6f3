#include "app/protocol_archive.h"

#include "app/startup.h"
#include "model/parameter.h"

namespace zelmot::app {

ProtocolArchive::ProtocolArchive(const std::filesystem::path& home, model::Parameter& node,
                                 const archive::LocalClock* clock)
    : node_(node),
      archive_(home / kProtocolFolder, clock != nullptr ? *clock : systemClock_) {}

bool ProtocolArchive::recordReading(model::Parameter& parameter) {
  if (archive_.append(parameter)) return true;
  parameter.setErrorText(archive::kWriteErrorText);
  return false;
}

archive::RotationResult ProtocolArchive::rotate() {
  archive::RotationResult result = archive_.rotate();
  if (result.dateChanged) node_.setRawValueText(archive_.currentLogName());
  return result;
}

}  // namespace zelmot::app
