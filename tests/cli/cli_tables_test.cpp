// parlist and dbf export|import through the CLI: files, messages, exit status, and outputs
// that stay untouched when the job fails.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/process_helpers.h"
#include "document/zelmot_doc.h"
#include "model/desc_branch.h"
#include "model/parameter.h"

namespace zelmot::cli::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class CliTables : public ::testing::Test {
protected:
  Workspace work;

  // A configuration with one value set, saved without the device.
  std::string configuration(const std::string& name, const std::string& speed) {
    document::CZELMOTDoc doc;
    EXPECT_TRUE(doc.initialise(ZELMOT_BIN_DIR));
    EXPECT_EQ(doc.root()->FindParameter("bPS", -1)->SetValueText(speed), 1);
    EXPECT_TRUE(doc.save(work.path(name)).ok);
    return work.path(name);
  }
  std::string valueIn(const std::string& file, const std::string& name) {
    return jsonValueOf(work.cliOffline({"show", "--json", file}).out, name);
  }
};

TEST_F(CliTables, ParameterListGoesWhereAskedOrIntoTheHome) {
  const RunResult written = work.cliOffline({"parlist", "-o", work.path("list.html")});
  ASSERT_EQ(written.exitCode, 0) << written.err;
  EXPECT_EQ(written.out, work.path("list.html") + "\n");
  EXPECT_THAT(readText(work.path("list.html")), HasSubstr("charset=windows-1251"));

  test_support::ScopedEnv home("ZELMOT_HOME", work.path("home").c_str());
  const RunResult byDefault = work.cliOffline({"parlist"});
  ASSERT_EQ(byDefault.exitCode, 0) << byDefault.err;
  EXPECT_EQ(byDefault.out, work.path("home") + "/temp/parlist.html\n");
  EXPECT_FALSE(readText(work.path("home/temp/parlist.html")).empty());

  EXPECT_EQ(work.cliOffline({"parlist", "-o", work.path("missing/dir/list.html")}).exitCode, 0)
      << "the folder is made";
  writeText(work.path("plain"), "x");
  EXPECT_EQ(work.cliOffline({"parlist", "-o", work.path("plain/list.html")}).exitCode, 2);
}

TEST_F(CliTables, TableRoundTripNamesTheParametersWithoutARecord) {
  const std::string source = configuration("a.zel", "19200");
  const RunResult exported = work.cliOffline({"dbf", "export", source, "-o", work.path("t.dbf")});
  ASSERT_EQ(exported.exitCode, 0) << exported.err;
  EXPECT_THAT(exported.out, HasSubstr("Записей в таблице: "));

  // Another program deletes the record of dev.
  std::string bytes = readText(work.path("t.dbf"));
  const size_t headerLength = static_cast<uint8_t>(bytes[8]) | static_cast<uint8_t>(bytes[9]) << 8;
  bytes[headerLength] = '*';
  writeText(work.path("t.dbf"), bytes);

  const std::string target = configuration("b.zel", "9600");
  const RunResult imported =
      work.cliOffline({"dbf", "import", work.path("t.dbf"), "--into", target, "-o", work.path("c.zel")});
  EXPECT_EQ(imported.exitCode, 1) << imported.err;
  EXPECT_THAT(imported.out, HasSubstr("След. параметры небыли определены:\ndev (Тип прибора)\n"));
  EXPECT_EQ(valueIn(work.path("c.zel"), "bPS"), "19200");
  EXPECT_EQ(valueIn(target, "bPS"), "9600") << "-o leaves the configuration itself alone";

  // Without -o the configuration takes the values; a full table leaves nobody out.
  ASSERT_EQ(work.cliOffline({"dbf", "export", source, "-o", work.path("full.dbf")}).exitCode, 0);
  const RunResult inPlace = work.cliOffline({"dbf", "import", work.path("full.dbf"), "--into", target});
  EXPECT_EQ(inPlace.exitCode, 0) << inPlace.err;
  EXPECT_THAT(inPlace.out, Not(HasSubstr("небыли определены")));
  EXPECT_EQ(valueIn(target, "bPS"), "19200");
}

TEST_F(CliTables, FailedJobsWriteNothing) {
  const std::string source = configuration("a.zel", "19200");
  writeText(work.path("out.zel"), "precious");
  writeText(work.path("bad.dbf"), "not a table, just some text that is long enough to look at");
  const RunResult refused =
      work.cliOffline({"dbf", "import", work.path("bad.dbf"), "--into", source, "-o", work.path("out.zel")});
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_THAT(refused.err, HasSubstr("не является таблицей dBase III"));
  EXPECT_EQ(readText(work.path("out.zel")), "precious");

  const RunResult noTable =
      work.cliOffline({"dbf", "import", work.path("none.dbf"), "--into", source, "-o", work.path("out.zel")});
  EXPECT_EQ(noTable.exitCode, 2);
  EXPECT_THAT(noTable.err, HasSubstr("Проблемы с открытием файла '" + work.path("none.dbf") + "'"));
  EXPECT_EQ(readText(work.path("out.zel")), "precious");

  writeText(work.path("t.dbf"), "old");
  writeText(work.path("broken.zel"), "no configuration");
  EXPECT_EQ(work.cliOffline({"dbf", "export", work.path("broken.zel"), "-o", work.path("t.dbf")}).exitCode, 2);
  EXPECT_EQ(readText(work.path("t.dbf")), "old");
  EXPECT_EQ(work.cliOffline({"dbf", "export", source, "-o", work.path("no/dir/t.dbf")}).exitCode, 2);
  EXPECT_EQ(work.cliOffline({"dbf", "export", source}).exitCode, 2) << "-o is required";
  EXPECT_EQ(work.cliOffline({"dbf"}).exitCode, 2);
}

}  // namespace
}  // namespace zelmot::cli::testing
