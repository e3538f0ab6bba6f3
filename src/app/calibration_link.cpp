#include "app/calibration_link.h"

#include "document/catalogue_lookup.h"
#include "document/zelmot_doc.h"

namespace zelmot::app {

std::unique_ptr<calibration::LinkCalibrationDevice> calibrationDevice(document::CZELMOTDoc& doc) {
  return std::make_unique<calibration::LinkCalibrationDevice>(
      doc.deviceLink(), [&doc](int input) {
        return document::findInCatalogue(doc.deviceModel(), "in-t", input);
      });
}

}  // namespace zelmot::app
