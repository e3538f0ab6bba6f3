#include <gtest/gtest.h>

#include <functional>

#include "model/description_check.h"
#include "device_model_support.h"

namespace zelmot::model {
namespace {

using testing::branch;
using testing::reference;
using testing::TempDir;

// A sound set of four files; each case spoils one thing and names what must be reported.
struct SoundSet {
  ConstantsText constants = testing::sampleConstants();
  std::vector<CatalogueRecord> catalogue = testing::sampleCatalogue(4);
  std::vector<TreeRecord> mainTree = {branch(0, 1, 1, "root", 100), reference(0),
                                      branch(0, 0, 1, "b"), reference(1)};
  std::vector<TreeRecord> measurement = {branch(1, 0, 0, "op"), reference(3)};

  void write(const TempDir& dir) const {
    testing::writeSet(dir, &constants, &catalogue, &mainTree, &measurement);
  }
};

std::string joined(const std::vector<std::string>& messages) {
  std::string all;
  for (const auto& m : messages) all += m + "\n";
  return all;
}

void writePacked(const TempDir& dir, const char* name, const std::vector<uint8_t>& data) {
  std::string error;
  ASSERT_TRUE(writeFileBytes(dir.file(name), gzipCompress(data), error)) << error;
}

std::vector<uint8_t> catalogueBytes(const std::vector<CatalogueRecord>& records) {
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(encodeCatalogue(records, bytes, error)) << error;
  return bytes;
}

std::vector<uint8_t> treeBytes(const std::vector<TreeRecord>& records) {
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(encodeTree(records, bytes, error)) << error;
  return bytes;
}

TEST(DescriptionCheck, SoundSetGivesNoMessages) {
  TempDir dir;
  SoundSet().write(dir);
  EXPECT_EQ(joined(checkDescriptionFiles(dir.path().string())), "");
}

struct Fault {
  const char* what;
  std::function<void(SoundSet&)> spoilRecords;                  // before writing
  std::function<void(const TempDir&, const SoundSet&)> spoilFiles;  // after writing
  std::vector<std::string> expected;                            // all must appear in one message
};

TEST(DescriptionCheck, EachFaultIsReportedWithFileAndRecord) {
  const Fault faults[] = {
      {"missing constant", [](SoundSet& s) { s.constants.erase(s.constants.begin() + 1); }, {},
       {kConstantsFileName, "nKey"}},
      {"constant beyond 8 bits", [](SoundSet& s) { s.constants[0].value = 300; }, {},
       {kConstantsFileName, "nObj", "300", "44"}},
      {"position outside its table",
       [](SoundSet& s) {
         s.catalogue[2].kind = 105;
         s.catalogue[2].linearIndex = 8;  // maxSensors is 8
       },
       {}, {kCatalogueFileName, "запись 2", "таблицу C"}},
      {"divisor constant zero",
       [](SoundSet& s) {
         s.constants[8].value = 0;  // nZELCh
         s.catalogue[1].kind = 110;
       },
       {}, {kCatalogueFileName, "запись 1", "nZELCh"}},
      {"enumeration of 128 items",
       [](SoundSet& s) {
         std::string items = "a";
         for (int i = 1; i < 128; ++i) items += ":a";
         s.catalogue[3].typeDescriptor = items;
       },
       {}, {kCatalogueFileName, "запись 3", "128"}},
      {"reference out of range", [](SoundSet& s) { s.measurement = {branch(1, 0, 0, "op"), reference(4)}; },
       {}, {kMeasurementTreeFileName, "запись 1", "4"}},
      {"children past the file", [](SoundSet& s) { s.mainTree[2] = branch(0, 0, 2, "b"); }, {},
       {kMainTreeFileName, "запись 2"}},
      {"records after the root", [](SoundSet& s) { s.measurement.push_back(reference(0)); }, {},
       {kMeasurementTreeFileName, "не входящих в дерево: 1"}},
      {"first record not a branch", [](SoundSet& s) { s.measurement = {reference(0)}; }, {},
       {kMeasurementTreeFileName, "запись 0"}},
      {"missing measurement tree", {},
       [](const TempDir& dir, const SoundSet&) {
         std::filesystem::remove(dir.file(kMeasurementTreeFileName));
       },
       {kMeasurementTreeFileName, "не найден"}},
      {"crc mismatch", {},
       [](const TempDir& dir, const SoundSet& s) {
         auto member = gzipCompress(catalogueBytes(s.catalogue));
         member[member.size() - 7] ^= 1;
         std::string error;
         writeFileBytes(dir.file(kCatalogueFileName), member, error);
       },
       {kCatalogueFileName, "CRC-32"}},
      {"catalogue remainder", {},
       [](const TempDir& dir, const SoundSet& s) {
         auto bytes = catalogueBytes(s.catalogue);
         bytes.resize(bytes.size() + 10);
         writePacked(dir, kCatalogueFileName, bytes);
       },
       {kCatalogueFileName, "10 байт"}},
      {"unterminated name", {},
       [](const TempDir& dir, const SoundSet& s) {
         auto bytes = catalogueBytes(s.catalogue);
         std::fill(bytes.begin() + 2343, bytes.begin() + 2343 + 9, 'n');
         writePacked(dir, kCatalogueFileName, bytes);
       },
       {kCatalogueFileName, "запись 1", "имя"}},
      {"unterminated tree caption", {},
       [](const TempDir& dir, const SoundSet& s) {
         auto bytes = treeBytes(s.mainTree);
         std::fill(bytes.begin() + 512 + 18, bytes.begin() + 1024, 'c');
         writePacked(dir, kMainTreeFileName, bytes);
       },
       {kMainTreeFileName, "запись 1", "описание в дереве"}},
  };
  for (const Fault& fault : faults) {
    TempDir dir;
    SoundSet set;
    if (fault.spoilRecords) fault.spoilRecords(set);
    set.write(dir);
    if (fault.spoilFiles) fault.spoilFiles(dir, set);
    const auto messages = checkDescriptionFiles(dir.path().string());
    bool found = false;
    for (const std::string& message : messages) {
      bool all = true;
      for (const std::string& part : fault.expected) all &= message.find(part) != std::string::npos;
      found |= all;
    }
    EXPECT_TRUE(found) << fault.what << ":\n" << joined(messages);
  }
}

TEST(DescriptionCheck, EnumerationOf127ItemsIsAccepted) {
  TempDir dir;
  SoundSet set;
  std::string items = "a";
  for (int i = 1; i < 127; ++i) items += ":a";
  set.catalogue[0].typeDescriptor = items;
  set.write(dir);
  EXPECT_EQ(joined(checkDescriptionFiles(dir.path().string())), "");
}

TEST(DescriptionCheck, EmptyFolderReportsEveryFile) {
  TempDir dir;
  const std::string all = joined(checkDescriptionFiles(dir.path().string()));
  for (const char* name :
       {kConstantsFileName, kCatalogueFileName, kMainTreeFileName, kMeasurementTreeFileName}) {
    EXPECT_NE(all.find(name), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace zelmot::model
