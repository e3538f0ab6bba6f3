#include "archive/gsf_handles.h"

#include <mutex>

namespace zelmot::archive {
namespace {

void initialiseLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { gsf_init(); });
}

}  // namespace

GsfHandle<GsfInfile> openCompoundFile(const std::filesystem::path& path, bool* missing) {
  initialiseLibrary();
  std::error_code error;
  const bool exists = std::filesystem::is_regular_file(path, error);
  if (missing != nullptr) *missing = !exists;
  if (!exists) return nullptr;
  GError* failure = nullptr;
  GsfHandle<GsfInput> input(gsf_input_stdio_new(path.c_str(), &failure));
  g_clear_error(&failure);
  if (!input) return nullptr;
  GsfHandle<GsfInfile> file(gsf_infile_msole_new(input.get(), &failure));
  g_clear_error(&failure);
  return file;
}

bool isStorage(GsfInput* child) {
  return GSF_IS_INFILE(child) && gsf_infile_num_children(GSF_INFILE(child)) >= 0;
}

}  // namespace zelmot::archive
