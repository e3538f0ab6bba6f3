#pragma once
// Owning handles of libgsf objects (GObjects, released with g_object_unref) and the few
// opening steps every user of compound files needs. Internal to the archive.
#include <gsf/gsf.h>

#include <filesystem>
#include <memory>

namespace zelmot::archive {

struct GObjectRelease {
  void operator()(void* object) const {
    if (object != nullptr) g_object_unref(object);
  }
};
template <typename T>
using GsfHandle = std::unique_ptr<T, GObjectRelease>;

// The compound file at `path` opened for reading; null when it cannot be read or is no
// compound file (`missing` tells a file that is not there apart).
GsfHandle<GsfInfile> openCompoundFile(const std::filesystem::path& path, bool* missing = nullptr);

// True when the child is a storage (folder) rather than a stream.
bool isStorage(GsfInput* child);

}  // namespace zelmot::archive
