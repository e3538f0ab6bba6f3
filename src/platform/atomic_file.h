#pragma once
// Replacing a file so that a crash or power loss leaves either the old or the whole new
// contents: a temporary file in the same folder is written and synced, renamed over the
// file, and the folder is synced so that the rename itself lasts.
#include <sys/types.h>

#include <filesystem>
#include <string_view>

namespace zelmot {

enum class FileWriteError {
  None,
  CreateTemporary,  // the temporary file could not be made (folder missing, no rights)
  Write,            // writing, syncing or closing the temporary file failed
  Replace,          // the rename over the file failed
};

struct FileWriteResult {
  FileWriteError error = FileWriteError::None;
  int osError = 0;  // errno of the failed step
  bool ok() const { return error == FileWriteError::None; }
};

// `mode` is given to the new file as it is (not reduced by the umask).
FileWriteResult writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                    mode_t mode);

}  // namespace zelmot
