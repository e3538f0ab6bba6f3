// The project's model compiles reproducibly, survives a dump and rebuild byte for byte,
// passes every check, and the program's own loader builds from it a device with every
// parameter the other parts of the program rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "files_checker.h"
#include "model/description_check.h"
#include "model/description_files.h"
#include "model/device_model.h"
#include "model/value_kind.h"
#include "model_builder.h"
#include "model_dumper.h"
#include "test_support.h"

namespace zelmot::desc {
namespace {

namespace fs = std::filesystem;
using model::ValueKind;
using TempDir = test_support::TempFolder;

void buildProjectModel(const fs::path& out) {
  SourceErrors errors;
  ASSERT_TRUE(buildModel(testing::projectModelDir(), out, errors));
  for (const auto& error : errors) ADD_FAILURE() << formatError(error);
}

void expectSameFiles(const fs::path& a, const fs::path& b) {
  for (const auto& name : testing::descriptionFileNames()) {
    auto left = test_support::readWholeFileBytes(a / name);
    EXPECT_FALSE(left.empty()) << name;
    EXPECT_EQ(left, test_support::readWholeFileBytes(b / name)) << name;
  }
}

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Everything the trees hold, by lower-case name: the parameter and the indexes seen.
struct TreeContents {
  std::map<std::string, const model::Parameter*> first;
  std::map<std::string, std::set<int>> indexes;
  size_t parameters = 0;
  size_t connectors = 0;
  size_t branches = 0;
  std::vector<std::string> suspiciousBranches;
};

// Measurement parameters have been prepared for polling: their element number is now the
// request index.
void collect(model::DescBranch& branch, bool polled, TreeContents& contents) {
  ++contents.branches;
  contents.connectors += branch.connectors().size();
  if (!polled && branch.GetLinearIndex(nullptr).suspicious) contents.suspiciousBranches.push_back(branch.name());
  for (const model::Parameter* p : branch.parameters()) {
    ++contents.parameters;
    std::string key = lower(p->name());
    contents.first.emplace(key, p);
    int index = polled ? p->requestIndex() : (p->hasLinearIndex() ? p->linearIndex() : -1);
    contents.indexes[key].insert(index);
  }
  for (const auto& child : branch.children()) collect(*child, polled, contents);
}

std::set<int> range(int first, int last) {
  std::set<int> values;
  for (int i = first; i <= last; ++i) values.insert(i);
  return values;
}

struct Expected {
  const char* name;
  std::set<int> indexes;  // {-1}: no index
  ValueKind kind;
  bool writable;
};

class CompiledModelTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir();
    buildProjectModel(dir_->path());
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(device_.LoadConstants((dir_->path() / model::kConstantsFileName).string()));
    ASSERT_TRUE(device_.initialise(dir_->path().string()));
    collect(*device_.mainTree(), false, main_);
    ASSERT_NE(device_.measurementTree(), nullptr);
    collect(*device_.measurementTree(), true, measured_);
  }
  std::vector<model::CatalogueRecord> catalogueRecords() {
    std::vector<model::CatalogueRecord> records;
    std::string error;
    EXPECT_TRUE(model::readCatalogueFile((dir_->path() / model::kCatalogueFileName).string(), records, error)) << error;
    return records;
  }

  static TempDir* dir_;
  model::DeviceModel device_;
  TreeContents main_;
  TreeContents measured_;
};

TempDir* CompiledModelTest::dir_ = nullptr;

TEST(CompiledModelBuildTest, BuildingTwiceGivesIdenticalFiles) {
  TempDir first, second;
  buildProjectModel(first.path());
  buildProjectModel(second.path());
  expectSameFiles(first.path(), second.path());
}

TEST(CompiledModelBuildTest, DumpThenBuildGivesIdenticalFiles) {
  TempDir built, source, rebuilt;
  buildProjectModel(built.path());
  SourceErrors errors;
  ASSERT_TRUE(dumpModel(built.path(), source / "model", false, errors));
  ASSERT_TRUE(buildModel(source / "model", rebuilt.path(), errors));
  for (const auto& error : errors) ADD_FAILURE() << formatError(error);
  expectSameFiles(built.path(), rebuilt.path());
  // A second dump of the rebuilt files is the same text: the dump is stable too.
  ASSERT_TRUE(dumpModel(rebuilt.path(), rebuilt / "model", false, errors));
  EXPECT_EQ(test_support::readWholeFile(source / "model" / "parameters" / "catalogue.yaml"),
            test_support::readWholeFile(rebuilt / "model" / "parameters" / "catalogue.yaml"));
  EXPECT_EQ(test_support::readWholeFile(source / "model" / "tree.yaml"), test_support::readWholeFile(rebuilt / "model" / "tree.yaml"));
}

TEST_F(CompiledModelTest, FilesPassEveryCheck) {
  for (const auto& message : model::checkDescriptionFiles(dir_->path().string())) ADD_FAILURE() << message;
  for (const auto& message : checkDataDir(dir_->path())) ADD_FAILURE() << message;
}

TEST_F(CompiledModelTest, LoaderReportsNothing) {
  for (const auto& message : device_.messages()) ADD_FAILURE() << message;
  for (const auto& warning : device_.warnings()) ADD_FAILURE() << warning;
  EXPECT_GE(device_.catalogue().size(), 500u);
  EXPECT_EQ(device_.nDiskretInput(), 6);
  EXPECT_EQ(device_.profileSteps(), 40);
}

TEST_F(CompiledModelTest, EveryBranchOfTheMainTreeHasOneLinearIndex) {
  for (const auto& name : main_.suspiciousBranches) ADD_FAILURE() << name;
}

TEST_F(CompiledModelTest, MainTreeHoldsTheParametersThePartsNeed) {
  const Expected expected[] = {
      {"dev", {-1}, ValueKind::Ascii, false},           {"ver", {-1}, ValueKind::Ascii, false},
      {"exit", {-1}, ValueKind::Ascii, false},          {"n.Err", {-1}, ValueKind::DecDot, false},
      {"APLY", {-1}, ValueKind::DecDot, true},          {"bPS", {-1}, ValueKind::Enumeration, true},
      {"LEn", {-1}, ValueKind::Enumeration, true},      {"PrtY", {-1}, ValueKind::Enumeration, true},
      {"Sbit", {-1}, ValueKind::Enumeration, true},     {"A.Len", {-1}, ValueKind::Enumeration, true},
      {"Addr", {-1}, ValueKind::DecDot, true},          {"rtC", {-1}, ValueKind::RealTimeClock, true},
      {"in-t", range(0, 7), ValueKind::Enumeration, true},
      {"FLtr", range(0, 7), ValueKind::ClockDuration, true},
      {"ShiF", range(0, 7), ValueKind::StoredDot, true},
      {"SCAL", range(0, 7), ValueKind::StoredDot, true},
      {"CL.t", range(0, 7), ValueKind::Enumeration, true},
      {"SP", range(0, 7), ValueKind::StoredDot, true},  {"Pb", range(0, 7), ValueKind::StoredDot, true},
      {"ti", range(0, 7), ValueKind::ClockDuration, true},
      {"P.Hi", range(0, 7), ValueKind::DecDot, true},   {"OE.t", range(0, 7), ValueKind::Enumeration, true},
      {"OP", range(0, 7), ValueKind::Enumeration, true}, {"al.re", range(0, 7), ValueKind::Enumeration, true},
      {"n.rel", {-1}, ValueKind::DecDot, true},         {"S.OE", range(0, 7), ValueKind::DecDot, false},
      {"di.F", range(0, 5), ValueKind::Enumeration, true},
      {"F.nA", range(0, 3), ValueKind::NetworkName, true},
      {"nPC", {-1}, ValueKind::DecDot, true},           {"S.MD", {-1}, ValueKind::Enumeration, false},
      {"PCP.i", {-1}, ValueKind::DecDot, false},        {"St.SP", range(0, 39), ValueKind::StoredDot, true},
      {"n.Obj", {-1}, ValueKind::DecDot, true},         {"n.Ch", {-1}, ValueKind::DecDot, true},
      {"S.idx", {-1}, ValueKind::DecDot, false},        {"S.SAU", {-1}, ValueKind::DecDot, false},
      {"OD.tP", range(0, 1), ValueKind::Enumeration, true},
      {"r.OD.i", range(0, 1), ValueKind::DecDot, false}, {"S.OD", range(0, 1), ValueKind::Enumeration, false},
      {"A.i.j", range(0, 15), ValueKind::Enumeration, true},
      {"in.Gr", range(0, 1), ValueKind::Enumeration, true}, {"Node", {0, 10}, ValueKind::DecDot, true},
      {"absc", range(0, 19), ValueKind::StoredDot, true}, {"ordn", range(0, 19), ValueKind::StoredDot, true},
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(e.name);
    auto found = main_.first.find(lower(e.name));
    ASSERT_NE(found, main_.first.end());
    EXPECT_EQ(model::valueKindOf(found->second->typeDescriptor()), e.kind);
    EXPECT_EQ(found->second->writableByCatalogue(), e.writable);
    EXPECT_EQ(main_.indexes[lower(e.name)], e.indexes);
  }
}

TEST_F(CompiledModelTest, MeasurementTreeHoldsTheOperativeParameters) {
  const Expected expected[] = {
      {"rEAd", range(0, 7), ValueKind::StoredDot, false},  {"r.CAL", range(0, 7), ValueKind::StoredDot, false},
      {"Set.P", range(0, 7), ValueKind::StoredDot, false}, {"r.OUt", range(0, 7), ValueKind::StoredDot, false},
      {"r.oe", range(0, 7), ValueKind::StoredDot, false},  {"rd.rg", range(0, 7), ValueKind::StoredDot, false},
      {"r.StP", range(0, 1), ValueKind::Enumeration, true}, {"r.PrG", range(0, 1), ValueKind::Enumeration, false},
      {"r.St", range(0, 1), ValueKind::Enumeration, false}, {"r.kEY", {0}, ValueKind::Enumeration, false},
      {"r.Cn", {0}, ValueKind::DecDot, false},             {"rtC", {0}, ValueKind::RealTimeClock, true},
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(e.name);
    auto found = measured_.first.find(lower(e.name));
    ASSERT_NE(found, measured_.first.end());
    EXPECT_EQ(model::valueKindOf(found->second->typeDescriptor()), e.kind);
    EXPECT_EQ(found->second->writableByCatalogue(), e.writable);
    EXPECT_EQ(measured_.indexes[lower(e.name)], e.indexes);
    EXPECT_TRUE(found->second->hasPollTimer());
  }
  EXPECT_LE(measured_.parameters, 126u);
}

TEST_F(CompiledModelTest, SensorTypeItemsSitAtCodePlusOne) {
  const std::string& descriptor = main_.first.at("in-t")->typeDescriptor();
  std::vector<std::string> items;
  for (size_t start = 0;;) {
    size_t colon = descriptor.find(':', start);
    items.push_back(descriptor.substr(start, colon - start));
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  ASSERT_EQ(items.size(), 29u);
  for (int code = 0; code <= 24; ++code) {
    char tag[8];
    std::snprintf(tag, sizeof tag, "'%02d'", code);
    EXPECT_TRUE(items[code + 1].ends_with(tag)) << items[code + 1];
  }
  EXPECT_TRUE(items[26].ends_with("'40'"));
  EXPECT_TRUE(items[27].ends_with("'41'"));
  EXPECT_TRUE(items[28].ends_with("'42'"));
}

TEST_F(CompiledModelTest, NetworkEnumerationsMatchTheValueConverter) {
  EXPECT_EQ(main_.first.at("bps")->typeDescriptor(), "2400:4800:9600:14400:19200:28800:38400:57600:115200");
  EXPECT_EQ(main_.first.at("prty")->typeDescriptor(), "Отсутствует:Четность:Нечетность");
  EXPECT_EQ(main_.first.at("len")->typeDescriptor(), "7:8");
  EXPECT_EQ(main_.first.at("sbit")->typeDescriptor(), "1:2");
  EXPECT_EQ(main_.first.at("a.len")->typeDescriptor(), "8:11");
  EXPECT_TRUE(main_.first.at("in.gr")->typeDescriptor().starts_with("Не_подключен:Вычислитель_№1:"));
}

TEST_F(CompiledModelTest, CatalogueUsesEveryKindAndEveryAttributeMultiplicity) {
  std::set<int32_t> kinds;
  bool none = false, single = false, group = false, readOnly = false, limited = false, unlimited = false;
  for (const auto& r : catalogueRecords()) {
    kinds.insert(r.kind);
    none = none || r.attributeMultiplicity == 0;
    single = single || r.attributeMultiplicity == 1;
    group = group || r.attributeMultiplicity > 1;
    readOnly = readOnly || r.readOnly != 0;
    limited = limited || r.minimum != 0 || r.maximum != 0;
    unlimited = unlimited || (r.minimum == 0 && r.maximum == 0);
  }
  for (int32_t kind = 100; kind <= 115; ++kind) EXPECT_TRUE(kinds.count(kind)) << kind;
  EXPECT_TRUE(none && single && group && readOnly && limited && unlimited);
}

TEST_F(CompiledModelTest, MainBranchAndSchemeLinksArePresent) {
  EXPECT_EQ(device_.mainBranch(), device_.mainTree());
  EXPECT_GT(main_.connectors, 0u);
  const model::Parameter* aply = main_.first.at("aply");
  EXPECT_FALSE(aply->writableHere()) << "APLY must not be sent by a bulk write";
}

}  // namespace
}  // namespace zelmot::desc
