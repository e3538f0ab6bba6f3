#include "archive/library_versions.h"

#include <gsf/gsf-utils.h>
#include <xlsxwriter.h>

#include <string>

namespace zelmot::archive {

std::vector<LibraryVersion> archiveLibraries() {
  return {{"libgsf", std::to_string(libgsf_major_version) + "." +
                         std::to_string(libgsf_minor_version) + "." +
                         std::to_string(libgsf_micro_version)},
          {"libxlsxwriter", LXW_VERSION}};
}

}  // namespace zelmot::archive
