// `zelmot-desc check` refuses each kind of broken description file with a message that
// names the file and the record; the command line reports through its exit status.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "files_checker.h"
#include "model/description_files.h"
#include "model_builder.h"
#include "support/child_process.h"
#include "test_support.h"

namespace zelmot::desc {
namespace {

namespace fs = std::filesystem;
using model::BranchRecord;
using model::CatalogueRecord;
using model::ReferenceRecord;
using model::TreeRecord;
using TempDir = test_support::TempFolder;

struct Files {
  model::ConstantsText constants;
  std::vector<CatalogueRecord> catalogue;
  std::vector<TreeRecord> mainTree;
  std::vector<TreeRecord> measurementTree;
};

void buildSmallModel(const fs::path& out) {
  TempDir source;
  testing::writeModel(source.path(), testing::smallModel());
  SourceErrors errors;
  ASSERT_TRUE(buildModel(source.path(), out, errors));
}

Files readFiles(const fs::path& dir) {
  Files f;
  std::string error;
  EXPECT_TRUE(model::readConstantsFile((dir / model::kConstantsFileName).string(), f.constants, error));
  EXPECT_TRUE(model::readCatalogueFile((dir / model::kCatalogueFileName).string(), f.catalogue, error));
  EXPECT_TRUE(model::readTreeFile((dir / model::kMainTreeFileName).string(), f.mainTree, error));
  EXPECT_TRUE(model::readTreeFile((dir / model::kMeasurementTreeFileName).string(), f.measurementTree, error));
  return f;
}

void writeFiles(const fs::path& dir, const Files& f) {
  std::string error;
  ASSERT_TRUE(model::writeConstantsFile((dir / model::kConstantsFileName).string(), f.constants, error));
  ASSERT_TRUE(model::writeCatalogueFile((dir / model::kCatalogueFileName).string(), f.catalogue, error));
  ASSERT_TRUE(model::writeTreeFile((dir / model::kMainTreeFileName).string(), f.mainTree, error));
  ASSERT_TRUE(model::writeTreeFile((dir / model::kMeasurementTreeFileName).string(), f.measurementTree, error));
}

size_t catalogueNumber(const Files& f, const std::string& name) {
  for (size_t n = 0; n < f.catalogue.size(); ++n)
    if (f.catalogue[n].name == name) return n;
  ADD_FAILURE() << name;
  return 0;
}

struct BrokenFiles {
  const char* what;
  std::function<void(Files&)> breakIt;
  const char* expected;  // both the file name and the reason must be in one message
  const char* file;
};

void PrintTo(const BrokenFiles& c, std::ostream* os) { *os << c.what; }

class BrokenFilesTest : public ::testing::TestWithParam<BrokenFiles> {};

TEST_P(BrokenFilesTest, CheckNamesFileAndReason) {
  TempDir dir;
  buildSmallModel(dir.path());
  Files files = readFiles(dir.path());
  GetParam().breakIt(files);
  writeFiles(dir.path(), files);
  std::string all;
  bool found = false;
  for (const auto& message : checkDataDir(dir.path())) {
    all += message + "\n";
    found = found || (message.starts_with(GetParam().file) && message.find(GetParam().expected) != std::string::npos);
  }
  EXPECT_TRUE(found) << GetParam().what << ":\n" << all;
}

const BrokenFiles kBroken[] = {
    {"two names with one command code",
     [](Files& f) { f.catalogue[catalogueNumber(f, "SP")].name = "SP?"; f.catalogue.push_back(f.catalogue[4]);
                    f.catalogue.back().name = "SP"; },
     "тот же код команды", "parameters.zip: запись"},
    {"element described twice", [](Files& f) { f.catalogue.push_back(f.catalogue[catalogueNumber(f, "dev")]); },
     "уже описан", "parameters.zip: запись"},
    {"service parameter missing", [](Files& f) { f.catalogue[catalogueNumber(f, "exit")].name = "exiT2"; },
     "нет служебного параметра exit", "parameters.zip"},
    {"branch mixing linear indexes",
     [](Files& f) { std::get<ReferenceRecord>(f.mainTree[6]).catalogueIndex += 1; },
     "разными линейными индексами", "zelmot.tree.zip: запись"},
    {"main tree without main branch", [](Files& f) { std::get<BranchRecord>(f.mainTree[0]).marker = 0; },
     "главная", "zelmot.tree.zip"},
    {"measurement tree with a main branch",
     [](Files& f) { std::get<BranchRecord>(f.measurementTree[0]).marker = 100; }, "главная", "zelmot.tree.op.zip"},
    {"scheme link to an unknown parameter",
     [](Files& f) {
       for (auto& r : f.mainTree)
         if (auto* link = std::get_if<model::LinkRecord>(&r)) link->text3 = "NoSuch";
     },
     "неизвестный параметр 'NoSuch'", "zelmot.tree.zip: запись"},
    {"reference outside the catalogue",
     [](Files& f) { std::get<ReferenceRecord>(f.measurementTree[1]).catalogueIndex = 5000; }, "5000",
     "zelmot.tree.op.zip"},
    {"child counts past the end",
     [](Files& f) { std::get<BranchRecord>(f.mainTree[0]).countA += 3; }, "zelmot.tree.zip", "zelmot.tree.zip"},
    {"structural position outside its table", [](Files& f) { f.constants[2].value = 2; }, "таблицу C",
     "parameters.zip: запись"},
    {"minimum above maximum",
     [](Files& f) { auto& r = f.catalogue[catalogueNumber(f, "SP")]; std::swap(r.minimum, r.maximum); },
     "минимум больше максимума", "parameters.zip: запись"},
};

INSTANTIATE_TEST_SUITE_P(Files, BrokenFilesTest, ::testing::ValuesIn(kBroken),
                         [](const ::testing::TestParamInfo<BrokenFiles>& info) {
                           return "case" + std::to_string(info.index);
                         });

TEST(CheckTest, SoundFilesGiveNoMessage) {
  TempDir dir;
  buildSmallModel(dir.path());
  for (const auto& message : checkDataDir(dir.path())) ADD_FAILURE() << message;
}

TEST(CheckTest, DamagedAndMissingFilesAreNamed) {
  TempDir dir;
  buildSmallModel(dir.path());
  auto bytes = test_support::readWholeFileBytes(dir / "parameters.zip");
  test_support::writeWholeFile(dir / "parameters.zip", std::string(bytes.begin(), bytes.begin() + bytes.size() / 2));
  fs::remove(dir / "zelmot.tree.op.zip");
  std::string all;
  for (const auto& message : checkDataDir(dir.path())) all += message + "\n";
  EXPECT_NE(all.find("parameters.zip"), std::string::npos) << all;
  EXPECT_NE(all.find("zelmot.tree.op.zip"), std::string::npos) << all;
}

int run(const std::string& arguments) {
  std::string command = std::string(ZELMOT_BIN_DIR) + "/zelmot-desc " + arguments + " >/dev/null 2>&1";
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CheckTest, CommandLineExitStatus) {
  TempDir dir;
  buildSmallModel(dir / "good");
  EXPECT_EQ(run("check " + (dir / "good").string()), 0);
  Files files = readFiles(dir / "good");
  std::get<BranchRecord>(files.measurementTree[0]).marker = 100;
  fs::create_directories(dir / "bad");
  writeFiles(dir / "bad", files);
  EXPECT_EQ(run("check " + (dir / "bad").string()), 2);
  EXPECT_EQ(run("check " + (dir / "none").string()), 2);
  EXPECT_EQ(run("--help"), 0);
  EXPECT_EQ(run("build --help"), 0);
  EXPECT_EQ(run("frobnicate"), 2);
}

// What zelmot-desc prints on standard output (or error) for `arguments`, and its status.
std::pair<int, std::string> runCaptured(const std::vector<std::string>& arguments, bool errors) {
  TempDir dir;
  std::vector<std::string> argv = {(test_support::binDir() / "zelmot-desc").string()};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  test_support::ChildProcess process(argv, dir / "out", dir / "err");
  const int status = process.wait();
  return {status, test_support::readWholeFile(dir / (errors ? "err" : "out"))};
}

TEST(CheckTest, HelpVersionAndUsageErrorsAreRussian) {
  const auto [helpStatus, help] = runCaptured({"--help"}, false);
  EXPECT_EQ(helpStatus, 0);
  EXPECT_NE(help.find("Показать эту справку и выйти"), std::string::npos) << help;
  EXPECT_NE(help.find("Команды:"), std::string::npos) << help;
  EXPECT_NE(help.find("--version"), std::string::npos) << help;
  const auto [versionStatus, version] = runCaptured({"--version"}, false);
  EXPECT_EQ(versionStatus, 0);
  EXPECT_EQ(version.rfind("zelmot-desc ", 0), 0u) << version;
  const auto [usageStatus, usage] = runCaptured({"check"}, true);
  EXPECT_EQ(usageStatus, 2);
  EXPECT_NE(usage.find("ошибка в командной строке"), std::string::npos) << usage;
}

TEST(CheckTest, BuildCommandPrintsFileAndLine) {
  TempDir dir;
  auto model = testing::smallModel();
  model.tree.replace(model.tree.find("{param: ver}"), 12, "{param: vex}");
  testing::writeModel(dir / "model", model);
  std::string command = std::string(ZELMOT_BIN_DIR) + "/zelmot-desc build " + (dir / "model").string() + " " +
                        (dir / "out").string() + " 2>" + (dir / "err").string();
  int status = std::system(command.c_str());
  EXPECT_EQ(WEXITSTATUS(status), 2);
  EXPECT_NE(test_support::readWholeFile(dir / "err").find("tree.yaml:6: неизвестный параметр 'vex'"), std::string::npos)
      << test_support::readWholeFile(dir / "err");
}

}  // namespace
}  // namespace zelmot::desc
