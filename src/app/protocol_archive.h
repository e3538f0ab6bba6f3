#pragma once
// The program's measurement archive: the archive of the home's "protocol" folder, tied to
// the document's archive node. The node's check box switches it; each rotation that takes
// a new daily log shows the log's name as the node's value.
//
// Threads: recordReading runs on the polling thread; the switch and the rotation on the
// window's thread (the archive guards itself).
#include <filesystem>
#include <memory>

#include "archive/local_clock.h"
#include "archive/measurement_archive.h"

namespace zelmot::model {
class Parameter;
}

namespace zelmot::app {

class ProtocolArchive {
public:
  // `home` holds "protocol"; `clock` (the system's when null) must outlive the archive.
  ProtocolArchive(const std::filesystem::path& home, model::Parameter& node,
                  const archive::LocalClock* clock = nullptr);

  void setEnabled(bool on) { archive_.setEnabled(on); }
  bool enabled() const { return archive_.enabled(); }

  // Appends the reading of `parameter`. When the log cannot be written the parameter's
  // error text becomes "Ошибка записи в файл" (its row shows it in red); the reading
  // itself stays as it was. False on that failure.
  bool recordReading(model::Parameter& parameter);

  // Rotation of the archive; a new current log becomes the node's value.
  archive::RotationResult rotate();

  archive::MeasurementArchive& archive() { return archive_; }
  std::filesystem::path protocolDir() const { return archive_.protocolDir(); }

private:
  archive::SystemLocalClock systemClock_;
  model::Parameter& node_;
  archive::MeasurementArchive archive_;
};

}  // namespace zelmot::app
