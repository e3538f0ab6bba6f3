#include "platform/paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "support/temp_folder.h"

namespace zelmot {
namespace {

namespace fs = std::filesystem;
using zelmot::test_support::ScopedEnv;
using TempDir = zelmot::test_support::TempFolder;

struct EnvCase {
  const char* name;
  const char* own;   // the program's own variable
  const char* xdg;   // the XDG variable
  const char* home;
  const char* expectHome;
  const char* expectSettings;
};

// Own variable first, then XDG (absolute only, empty counts as unset), then $HOME.
const EnvCase kEnvCases[] = {
    {"own wins", "/own", "/xdg", "/home/u", "/own", "/own/zelmot.ini"},
    {"xdg next", nullptr, "/xdg", "/home/u", "/xdg/zelmot", "/xdg/zelmot/zelmot.ini"},
    {"empty own ignored", "", "/xdg", "/home/u", "/xdg/zelmot", "/xdg/zelmot/zelmot.ini"},
    {"home last", nullptr, nullptr, "/home/u", "/home/u/.local/share/zelmot",
     "/home/u/.config/zelmot/zelmot.ini"},
    {"relative xdg ignored", nullptr, "rel", "/home/u", "/home/u/.local/share/zelmot",
     "/home/u/.config/zelmot/zelmot.ini"},
};

TEST(Paths, HomeAndSettingsFollowTheEnvironment) {
  for (const auto& c : kEnvCases) {
    SCOPED_TRACE(c.name);
    ScopedEnv home("HOME", c.home);
    {
      ScopedEnv own("ZELMOT_HOME", c.own);
      ScopedEnv xdg("XDG_DATA_HOME", c.xdg);
      EXPECT_EQ(programHomeDir(), fs::path(c.expectHome));
    }
    ScopedEnv own("ZELMOT_CONFIG_DIR", c.own);
    ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
    EXPECT_EQ(defaultSettingsPath(), fs::path(c.expectSettings));
  }
}

TEST(Paths, ExecutableDirHoldsThisTest) {
  const fs::path dir = executableDir();
  EXPECT_TRUE(dir.is_absolute());
  EXPECT_TRUE(fs::is_regular_file(dir / "test_platform"));
}

class FindDataDirTest : public ::testing::Test {
protected:
  TempDir temp;
  fs::path envDir = temp.path() / "env";
  fs::path prefix = temp.path() / "prefix";
  fs::path shared = prefix / "share" / "zelmot";

  void SetUp() override {
    fs::create_directories(envDir);
    fs::create_directories(shared);
  }
  static void touch(const fs::path& file) { std::ofstream(file) << "x"; }
};

// The build puts the real description files beside the test executable, so these tests
// look for names that exist only in their own folders.
TEST_F(FindDataDirTest, SearchesEnvironmentThenPrefix) {
  touch(shared / "only-in-test.const");
  ScopedEnv env("ZELMOT_DATA_DIR", envDir.c_str());
  EXPECT_EQ(findDataDir("only-in-test.const", prefix), shared);
  touch(envDir / "only-in-test.const");
  EXPECT_EQ(findDataDir("only-in-test.const", prefix), envDir);
}

TEST_F(FindDataDirTest, NothingFoundOrAFolderOfThatName) {
  ScopedEnv env("ZELMOT_DATA_DIR", envDir.c_str());
  EXPECT_EQ(findDataDir("no-such-file.zip", prefix), std::nullopt);
  fs::create_directories(envDir / "only-in-test.zip");
  EXPECT_EQ(findDataDir("only-in-test.zip", prefix), std::nullopt);
}

TEST_F(FindDataDirTest, FindsFilesBesideTheExecutable) {
  ScopedEnv env("ZELMOT_DATA_DIR", nullptr);
  EXPECT_EQ(findDataDir("test_platform", prefix), executableDir());
}

TEST(EnsureDir, CreatesMissingParentsPrivately) {
  TempDir temp;
  const fs::path deep = temp.path() / "a" / "b" / "c";
  std::string error;
  ASSERT_TRUE(ensureDir(deep, &error)) << error;
  for (const fs::path& made : {temp.path() / "a", temp.path() / "a" / "b", deep}) {
    struct stat info {};
    ASSERT_EQ(::stat(made.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << made;
  }
  EXPECT_TRUE(ensureDir(deep));
  EXPECT_TRUE(ensureDir(deep / ""));
}

TEST(EnsureDir, RefusesAFileInThePath) {
  TempDir temp;
  std::ofstream(temp.path() / "file") << "x";
  std::string error;
  EXPECT_FALSE(ensureDir(temp.path() / "file" / "sub", &error));
  EXPECT_NE(error.find("file"), std::string::npos);
  EXPECT_FALSE(ensureDir(temp.path() / "file"));
  EXPECT_FALSE(ensureDir(""));
}

}  // namespace
}  // namespace zelmot
