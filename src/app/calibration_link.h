#pragma once
// The calibration's way to the device of a document: its link, and the in-t parameters of
// its catalogue by input.
#include <memory>

#include "calibration/link_calibration_device.h"

namespace zelmot::document {
class CZELMOTDoc;
}

namespace zelmot::app {

std::unique_ptr<calibration::LinkCalibrationDevice> calibrationDevice(document::CZELMOTDoc& doc);

}  // namespace zelmot::app
