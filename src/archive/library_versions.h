#pragma once
// The libraries the measurement archive and its exports use, with their versions.
#include <vector>

#include "platform/library_version.h"

namespace zelmot::archive {

std::vector<LibraryVersion> archiveLibraries();

}  // namespace zelmot::archive
