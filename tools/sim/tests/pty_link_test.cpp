// The --link name: a live terminal of another simulator is never taken over, but a link
// that leads to this simulator's own terminal is stale (the kernel gave a killed
// simulator's terminal number to the new one) and is claimed.
#include "pty_link.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/pty_pair.h"
#include "support/temp_folder.h"

namespace zelmot::sim::testing {
namespace {

namespace fs = std::filesystem;

TEST(PtyLink, ALinkToThisSimulatorsOwnTerminalIsClaimedAndAnotherLiveOneIsNot) {
  test_support::TempFolder folder;
  test_support::PtyPair other;
  test_support::PtyPair own;
  const std::string linkPath = folder.file("line");
  std::string error;

  fs::create_symlink(other.slavePath(), linkPath);
  EXPECT_FALSE(claimPtyLink(linkPath, own.slavePath(), error));
  EXPECT_NE(error.find(other.slavePath()), std::string::npos) << error;
  EXPECT_EQ(fs::read_symlink(linkPath).string(), other.slavePath());

  fs::remove(linkPath);
  fs::create_symlink(own.slavePath(), linkPath);
  EXPECT_TRUE(claimPtyLink(linkPath, own.slavePath(), error)) << error;
  EXPECT_EQ(fs::read_symlink(linkPath).string(), own.slavePath());
}

}  // namespace
}  // namespace zelmot::sim::testing
