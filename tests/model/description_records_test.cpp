#include <gtest/gtest.h>

#include <cstring>

#include "model/description_files.h"
#include "platform/byte_order.h"
#include "description_support.h"

namespace zelmot::model {
namespace {

std::vector<uint8_t> complemented(const std::string& text) {
  std::vector<uint8_t> bytes;
  for (char c : text) bytes.push_back(static_cast<uint8_t>(c) ^ 0xFF);
  return bytes;
}

int32_t le32(const std::vector<uint8_t>& bytes, size_t at) {
  return static_cast<int32_t>(loadLittleEndian32(&bytes.at(at)));
}

std::string textAt(const std::vector<uint8_t>& bytes, size_t at) {
  return std::string(reinterpret_cast<const char*>(bytes.data() + at));
}

// --- constants --------------------------------------------------------------------------

TEST(ConstantsText, CarriageReturnAndTabAreHarmlessAndCaseIsIgnored) {
  const auto tokens = constantsTokens(complemented("NOBJ 4\r\nnKey\t16"));
  int value = 0;
  ASSERT_TRUE(findConstantToken(tokens, "nObj", value));
  EXPECT_EQ(value, 4);
  ASSERT_TRUE(findConstantToken(tokens, "nKey", value));
  EXPECT_EQ(value, 16);
  EXPECT_FALSE(findConstantToken(tokens, "maxSensors", value));
}

TEST(ConstantsText, StoredFfOrZeroEndsTheText) {
  auto file = complemented("nObj 4 ");
  file.push_back(0xFF);  // complements to zero
  const auto tail = complemented("nKey 16");
  file.insert(file.end(), tail.begin(), tail.end());
  int value = 0;
  EXPECT_TRUE(findConstantToken(constantsTokens(file), "nobj", value));
  EXPECT_FALSE(findConstantToken(constantsTokens(file), "nkey", value));
}

TEST(ConstantsText, FirstOccurrenceWinsAndValueIsTheFollowingToken) {
  const auto tokens = constantsTokens(complemented("note nProf 3 pStep 8 nProf 9 lonely"));
  int value = 0;
  ASSERT_TRUE(findConstantToken(tokens, "NPROF", value));
  EXPECT_EQ(value, 3);
  // The name ending the text has no value: treated as not defined.
  EXPECT_FALSE(findConstantToken(tokens, "lonely", value));
  // The decoded list pairs tokens from the start; the lookup on it still finds first wins.
  const ConstantsText pairs = decodeConstants(complemented("nObj 4 nObj 5"));
  ASSERT_EQ(pairs.size(), 2u);
  ASSERT_TRUE(findConstant(pairs, "NOBJ", value));
  EXPECT_EQ(value, 4);
}

TEST(ConstantsText, ValueConversionLikeTheCLibrary) {
  const std::pair<const char*, int> cases[] = {
      {"4\r", 4},      {"\r5", 5},   {"-7", -7},        {"+3", 3},
      {"12abc", 12},   {"abc", 0},   {"", 0},           {"300", 300},
      {"99999999999999999999", 2147483647}, {"-99999999999999999999", -2147483647 - 1},
  };
  for (const auto& [token, expected] : cases) {
    EXPECT_EQ(constantValue(token), expected) << token;
  }
}

TEST(ConstantsText, EncodeDecodeRoundTrip) {
  const ConstantsText constants = {{"nobj", 4}, {"nkey", 16}, {"_node_qn", 2}, {"n_commut", 0}};
  const auto file = encodeConstants(constants);
  for (uint8_t b : file) EXPECT_NE(b, 0xFF);  // no complemented zero inside
  const ConstantsText back = decodeConstants(file);
  ASSERT_EQ(back.size(), constants.size());
  for (size_t i = 0; i < back.size(); ++i) {
    EXPECT_EQ(back[i].name, constants[i].name);
    EXPECT_EQ(back[i].value, constants[i].value);
  }
}

// --- catalogue --------------------------------------------------------------------------

TEST(CatalogueRecords, FieldsSitAtTheirOffsets) {
  CatalogueRecord r = testing::sampleCatalogueRecord(7);
  r.name = "Set.P";
  r.linearIndex = -5;
  r.kind = 109;
  r.attributeMultiplicity = 4;
  r.typeDescriptor = "вкл:выкл";
  r.minimum = 1.5f;
  r.errorText = "ошибка";
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(encodeCatalogue({r}, bytes, error)) << error;
  ASSERT_EQ(bytes.size(), 2343u);
  EXPECT_EQ(textAt(bytes, 0), "Set.P");
  EXPECT_EQ(le32(bytes, 265), -5);
  EXPECT_EQ(bytes[269], 1);
  EXPECT_EQ(bytes[270], 1);  // sample 7 is read only
  EXPECT_EQ(le32(bytes, 272), 109);
  EXPECT_EQ(le32(bytes, 277), 4);
  EXPECT_EQ(textAt(bytes, 283), "\xE2\xEA\xEB:\xE2\xFB\xEA\xEB");  // windows-1251 in the file
  EXPECT_EQ(le32(bytes, 1307), 2);
  float minimum = 0;
  std::memcpy(&minimum, bytes.data() + 1311, 4);
  EXPECT_EQ(minimum, 1.5f);
  EXPECT_EQ(textAt(bytes, 1575), "?\xC7\xED\xE0\xF7\xE5\xED\xE8\xE5_\xF3\xF1\xF2\xE0\xE2\xEA\xE8");
  EXPECT_EQ(textAt(bytes, 1831), "\xEE\xF8\xE8\xE1\xEA\xE0");
}

TEST(CatalogueRecords, RoundTripIsLossless) {
  std::vector<CatalogueRecord> records;
  for (int n = 0; n < 20; ++n) records.push_back(testing::sampleCatalogueRecord(n));
  records[3].name = "12345678";                    // longest name that fits
  records[4].caption = std::string(255, 'x');      // longest caption
  records[5].errorText = std::string(511, 'z');
  records[6].linearIndex = -1;
  records[6].indexMode = 0;
  records[7].maximum = -3.4e38f;
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(encodeCatalogue(records, bytes, error)) << error;
  const auto back = decodeCatalogue(bytes);
  ASSERT_EQ(back.size(), records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    const auto& a = records[i];
    const auto& b = back[i];
    EXPECT_EQ(std::tie(a.name, a.caption, a.linearIndex, a.indexMode, a.readOnly, a.flag, a.kind,
                       a.valueChanged, a.attributeMultiplicity, a.editable, a.factoryOwned,
                       a.typeDescriptor, a.decimals, a.minimum, a.maximum, a.initialValue, a.hint,
                       a.errorText),
              std::tie(b.name, b.caption, b.linearIndex, b.indexMode, b.readOnly, b.flag, b.kind,
                       b.valueChanged, b.attributeMultiplicity, b.editable, b.factoryOwned,
                       b.typeDescriptor, b.decimals, b.minimum, b.maximum, b.initialValue, b.hint,
                       b.errorText))
        << "record " << i;
  }
}

TEST(CatalogueRecords, EncoderNamesRecordAndFieldOfATextTooLong) {
  struct Case {
    void (*set)(CatalogueRecord&);
    const char* field;
  };
  const Case cases[] = {
      {[](CatalogueRecord& r) { r.name = "123456789"; }, "имя"},
      {[](CatalogueRecord& r) { r.caption = std::string(256, 'c'); }, "описание"},
      {[](CatalogueRecord& r) { r.typeDescriptor = std::string(1024, 't'); }, "описатель типа"},
      {[](CatalogueRecord& r) { r.initialValue = std::string(256, 'v'); }, "начальное значение"},
      {[](CatalogueRecord& r) { r.hint = std::string(256, 'h'); }, "подсказка"},
      {[](CatalogueRecord& r) { r.errorText = std::string(512, 'e'); }, "текст ошибки"},
      // Cyrillic takes two bytes in UTF-8 but one in the file: 255 letters still fit.
  };
  for (const Case& c : cases) {
    std::vector<CatalogueRecord> records(3, testing::sampleCatalogueRecord(1));
    c.set(records[2]);
    std::vector<uint8_t> bytes = {1};
    std::string error;
    EXPECT_FALSE(encodeCatalogue(records, bytes, error)) << c.field;
    EXPECT_NE(error.find("запись 2"), std::string::npos) << error;
    EXPECT_NE(error.find(c.field), std::string::npos) << error;
    EXPECT_EQ(bytes, std::vector<uint8_t>{1});
  }
  std::vector<CatalogueRecord> records = {testing::sampleCatalogueRecord(1)};
  std::string caption;
  for (int i = 0; i < 255; ++i) caption += "Ж";
  records[0].caption = caption;
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(encodeCatalogue(records, bytes, error)) << error;
  records[0].caption = "emoji \xF0\x9F\x98\x80";  // has no windows-1251 form
  EXPECT_FALSE(encodeCatalogue(records, bytes, error));
}

TEST(CatalogueRecords, RecordCountIgnoresARemainder) {
  for (const auto& [size, count] : {std::pair<size_t, size_t>{0, 0}, {2342, 0}, {2343, 1},
                                   {4686, 2}, {4700, 2}}) {
    EXPECT_EQ(decodeCatalogue(std::vector<uint8_t>(size, 0)).size(), count) << size;
  }
}

TEST(CatalogueRecords, UnterminatedTextsStayWithinTheirFields) {
  // An exactly sized buffer without a single zero: every text is its whole field.
  const auto records = decodeCatalogue(std::vector<uint8_t>(2343, 'A'));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].name, std::string(9, 'A'));
  EXPECT_EQ(records[0].caption, std::string(256, 'A'));
  EXPECT_EQ(records[0].typeDescriptor, std::string(1024, 'A'));
  EXPECT_EQ(records[0].errorText, std::string(512, 'A'));
}

// --- trees ------------------------------------------------------------------------------

TEST(TreeRecords, RoundTripOfAllThreeKinds) {
  BranchRecord branch{2, 0, 1, -1, 7, 8, 100, "Канал 1"};
  LinkRecord link{"из", std::string(255, 'k'), "r.oe", 3, -4};
  ReferenceRecord ref{9, 4999, 1, 12, "Нижняя граница"};
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(encodeTree({branch, link, ref}, bytes, error)) << error;
  ASSERT_EQ(bytes.size(), 3u * 512);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(le32(bytes, 9), 1);
  EXPECT_EQ(le32(bytes, 25), 100);
  EXPECT_EQ(bytes[512], 2);
  EXPECT_EQ(textAt(bytes, 512 + 495), "r.oe");
  EXPECT_EQ(le32(bytes, 512 + 508), -4);
  EXPECT_EQ(bytes[1024], 9);
  EXPECT_EQ(le32(bytes, 1024 + 1), 4999);
  EXPECT_EQ(bytes[1024 + 13], 1);
  EXPECT_EQ(le32(bytes, 1024 + 14), 12);

  const auto back = decodeTree(bytes);
  ASSERT_EQ(back.size(), 3u);
  const auto& b = std::get<BranchRecord>(back[0]);
  EXPECT_EQ(std::tie(b.countA, b.countB, b.countC, b.value1, b.value2, b.value3, b.marker, b.name),
            std::tie(branch.countA, branch.countB, branch.countC, branch.value1, branch.value2,
                     branch.value3, branch.marker, branch.name));
  const auto& l = std::get<LinkRecord>(back[1]);
  EXPECT_EQ(std::tie(l.text1, l.text2, l.text3, l.number1, l.number2),
            std::tie(link.text1, link.text2, link.text3, link.number1, link.number2));
  const auto& r = std::get<ReferenceRecord>(back[2]);
  EXPECT_EQ(std::tie(r.kind, r.catalogueIndex, r.locked, r.subIndex, r.caption),
            std::tie(ref.kind, ref.catalogueIndex, ref.locked, ref.subIndex, ref.caption));
}

TEST(TreeRecords, EncoderRefusesReferenceKindsOfBranchOrLinkAndLongTexts) {
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_FALSE(encodeTree({ReferenceRecord{1, 0, 0, 0, ""}}, bytes, error));
  EXPECT_FALSE(encodeTree({ReferenceRecord{2, 0, 0, 0, ""}}, bytes, error));
  EXPECT_FALSE(encodeTree({BranchRecord{}, LinkRecord{"", "", "123456789", 0, 0}}, bytes, error));
  EXPECT_NE(error.find("запись 1"), std::string::npos) << error;
}

TEST(TreeRecords, AnyOtherKindIsAReferenceAndRemainderIsIgnored) {
  std::vector<uint8_t> bytes(3 * 512 + 100, 0);
  bytes[512] = 255;
  bytes[1024] = 3;
  const auto records = decodeTree(bytes);
  ASSERT_EQ(records.size(), 3u);
  for (const auto& record : records) EXPECT_TRUE(std::holds_alternative<ReferenceRecord>(record));
  EXPECT_EQ(std::get<ReferenceRecord>(records[1]).kind, 255);
}

// --- whole files ------------------------------------------------------------------------

TEST(DescriptionFiles, WriteThenReadAllFourFormats) {
  testing::TempDir dir;
  std::string error;
  const ConstantsText constants = {{"nobj", 4}};
  ASSERT_TRUE(writeConstantsFile(dir.file(kConstantsFileName), constants, error)) << error;
  ConstantsText constantsBack;
  ASSERT_TRUE(readConstantsFile(dir.file(kConstantsFileName), constantsBack, error)) << error;
  ASSERT_EQ(constantsBack.size(), 1u);

  const std::vector<CatalogueRecord> records = {testing::sampleCatalogueRecord(0),
                                                testing::sampleCatalogueRecord(1)};
  ASSERT_TRUE(writeCatalogueFile(dir.file(kCatalogueFileName), records, error)) << error;
  std::vector<CatalogueRecord> recordsBack;
  ASSERT_TRUE(readCatalogueFile(dir.file(kCatalogueFileName), recordsBack, error)) << error;
  EXPECT_EQ(recordsBack.size(), 2u);

  const std::vector<TreeRecord> tree = {BranchRecord{1, 0, 0, 0, 0, 0, 100, "root"},
                                        ReferenceRecord{3, 1, 0, 0, ""}};
  ASSERT_TRUE(writeTreeFile(dir.file(kMainTreeFileName), tree, error)) << error;
  std::vector<TreeRecord> treeBack;
  ASSERT_TRUE(readTreeFile(dir.file(kMainTreeFileName), treeBack, error)) << error;
  EXPECT_EQ(treeBack.size(), 2u);

  // Only the four files remain: no temporary file is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
}

TEST(DescriptionFiles, ErrorsNameTheFile) {
  testing::TempDir dir;
  std::vector<CatalogueRecord> records;
  std::string error;
  EXPECT_FALSE(readCatalogueFile(dir.file("absent.zip"), records, error));
  EXPECT_NE(error.find("absent.zip"), std::string::npos) << error;

  ASSERT_TRUE(writeFileBytes(dir.file("junk.zip"), {0x1F, 0x8B, 8, 0, 1, 2}, error));
  EXPECT_FALSE(readCatalogueFile(dir.file("junk.zip"), records, error));
  EXPECT_NE(error.find("junk.zip"), std::string::npos) << error;

  EXPECT_FALSE(writeFileBytes(dir.file("no/such/folder/x"), {1}, error));
  EXPECT_FALSE(error.empty());

  std::vector<CatalogueRecord> tooLong = {testing::sampleCatalogueRecord(0)};
  tooLong[0].name = "much.too.long";
  EXPECT_FALSE(writeCatalogueFile(dir.file("p.zip"), tooLong, error));
  EXPECT_NE(error.find("p.zip"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.file("p.zip")));
}

}  // namespace
}  // namespace zelmot::model
