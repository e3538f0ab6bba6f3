#include "platform/library_version.h"

#include <glib.h>

namespace zelmot {

std::vector<LibraryVersion> platformLibraries() {
  return {{"GLib", std::to_string(glib_major_version) + "." + std::to_string(glib_minor_version) +
                       "." + std::to_string(glib_micro_version)}};
}

}  // namespace zelmot
