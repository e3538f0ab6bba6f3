#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <string>

#include "support/temp_folder.h"

namespace zelmot {
namespace {

namespace fs = std::filesystem;

std::string fileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

size_t entriesIn(const fs::path& folder) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

mode_t modeOf(const fs::path& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

TEST(AtomicFile, ReplacesTheContentsWithTheGivenModeAndLeavesNothingElse) {
  test_support::TempFolder dir;
  const fs::path file = dir.path() / "out.bin";
  const std::string bytes("first\0second", 12);
  ASSERT_TRUE(writeFileAtomically(file, "old contents that are longer", 0600).ok());
  const mode_t oldMask = ::umask(077);
  const FileWriteResult result = writeFileAtomically(file, bytes, 0644);
  ::umask(oldMask);
  ASSERT_TRUE(result.ok()) << result.osError;
  EXPECT_EQ(fileText(file), bytes);
  EXPECT_EQ(modeOf(file), 0644u) << "the mode is not reduced by the umask";
  EXPECT_EQ(entriesIn(dir.path()), 1u) << "a temporary file was left behind";
}

TEST(AtomicFile, FailuresNameTheStepAndTheSystemError) {
  test_support::TempFolder dir;
  const FileWriteResult noFolder = writeFileAtomically(dir.path() / "missing" / "f", "x", 0600);
  EXPECT_EQ(noFolder.error, FileWriteError::CreateTemporary);
  EXPECT_EQ(noFolder.osError, ENOENT);

  // A folder in the file's place cannot be replaced by a file; the temporary one goes.
  fs::create_directory(dir.path() / "taken");
  const FileWriteResult overFolder = writeFileAtomically(dir.path() / "taken", "x", 0600);
  EXPECT_EQ(overFolder.error, FileWriteError::Replace);
  EXPECT_EQ(overFolder.osError, EISDIR);
  EXPECT_EQ(entriesIn(dir.path()), 1u);
}

}  // namespace
}  // namespace zelmot
