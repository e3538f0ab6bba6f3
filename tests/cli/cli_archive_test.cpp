// zelmot-cli archive: packing, listing, unpacking and cleaning the home's protocol folder.
#include <gtest/gtest.h>

#include "archive/archive_names.h"
#include "archive/local_clock.h"
#include "process_helpers.h"

namespace zelmot::cli::testing {
namespace {

namespace fs = std::filesystem;

class CliArchive : public ::testing::Test {
protected:
  Workspace space;
  fs::path protocol = space.dir() / "protocol";
  std::string today = archive::dailyLogName(archive::SystemLocalClock().now());
};

TEST_F(CliArchive, PackListAndUnpackEveryDayButToday) {
  writeText(protocol / "01-03-2026.log", std::string(1'500'000, 'a') + "end");
  writeText(protocol / "31-03-2026.log", "last of march");
  writeText(protocol / today, "still being written");

  const RunResult pack = space.cliOffline({"archive", "pack"});
  EXPECT_EQ(pack.exitCode, 0) << pack.err;
  EXPECT_FALSE(fs::exists(protocol / "01-03-2026.log"));
  EXPECT_TRUE(fs::exists(protocol / today));

  const RunResult list = space.cliOffline({"archive", "list"});
  EXPECT_EQ(list.exitCode, 0);
  EXPECT_NE(list.out.find(today), std::string::npos);
  EXPECT_NE(list.out.find("03-2026.var"), std::string::npos);
  EXPECT_NE(list.out.find("    31-03-2026.log\t"), std::string::npos) << list.out;

  const RunResult unpack = space.cliOffline({"archive", "unpack", "01-03-2026", "-o", space.path("out")});
  EXPECT_EQ(unpack.exitCode, 0) << unpack.err;
  EXPECT_EQ(readText(space.dir() / "out" / "01-03-2026.log"), std::string(1'500'000, 'a') + "end");

  EXPECT_EQ(space.cliOffline({"archive", "unpack", "02-03-2026", "-o", space.path("out")}).exitCode, 1);
  EXPECT_EQ(space.cliOffline({"archive", "unpack", "2026-03-02", "-o", space.path("out")}).exitCode, 2);
  EXPECT_FALSE(fs::exists(space.dir() / "out" / "02-03-2026.log"));
}

TEST_F(CliArchive, CleanAsksUnlessToldYes) {
  for (const char* name : {"12-2025.var", "03-2026.var", "04-2026.var"}) writeText(protocol / name, "x");
  const RunResult refused = space.cliOffline({"archive", "clean", "--until", "03-2026"});
  EXPECT_EQ(refused.exitCode, 2);  // no terminal to ask on
  EXPECT_TRUE(fs::exists(protocol / "12-2025.var"));

  const RunResult done = space.cliOffline({"archive", "clean", "--until", "03-2026", "--yes"});
  EXPECT_EQ(done.exitCode, 0);
  EXPECT_EQ(done.out, "Количество удаленных файлов: 2.\n");
  EXPECT_TRUE(fs::exists(protocol / "04-2026.var"));
  EXPECT_EQ(space.cliOffline({"archive", "clean", "--until", "3-2026", "--yes"}).exitCode, 2);
}

}  // namespace
}  // namespace zelmot::cli::testing
