#include <gtest/gtest.h>

#include <thread>

#include "model/byte_archive.h"
#include "model/parameter.h"

namespace zelmot::model {
namespace {

void fillNonDefault(Parameter& p) {
  p.setName("A.i.j");
  p.setRawValueText("Знач");
  p.setCatalogueCaption("Каталог");
  p.setTreeCaption("Дерево");
  p.setHasLinearIndex(true);
  p.setLinearIndex(7);
  p.setRequestIndex(3);
  p.setWritableByCatalogue(false);
  p.setWritableHere(true);
  p.setErrorText("Знач-е в приборе: 5");
  p.setValueChanged(true);
  p.setEditAttributeChanged(false);
  p.setOwnerAttributeChanged(true);
  p.setEditable(false);
  p.setFactoryOwned(true);
  p.setPrivacy(-9);
  p.setCatalogueFlag(true);
}

TEST(ParameterSerialize, ByteLayoutIsFixed) {
  Parameter p;
  p.setName("Ab");
  p.setRawValueText("1");
  p.setCatalogueCaption("d");
  p.setHasLinearIndex(true);
  p.setLinearIndex(2);
  p.setRequestIndex(0x0102);
  p.setErrorText("");
  p.setValueChanged(true);
  p.setPrivacy(5);
  p.setCatalogueFlag(true);
  ArchiveWriter writer;
  ASSERT_EQ(p.Serialize(writer), ArchiveError::None);
  const std::vector<uint8_t> expected{
      2, 'A', 'b',                // name
      1, '1',                     // value text
      1, 'd',                     // description
      1,                          // has linear index
      2, 0, 0, 0,                 // linear index
      0x02, 0x01, 0, 0,           // request index
      1, 1,                       // writable by catalogue, writable here
      0,                          // error text
      1, 0, 0,                    // value, edit, owner changed
      1, 0,                       // editable, factory owned
      5, 0, 0, 0,                 // privacy
      1};                         // catalogue flag
  EXPECT_EQ(writer.bytes(), expected);
}

TEST(ParameterSerialize, RoundTripKeepsEveryStoredField) {
  Parameter source;
  fillNonDefault(source);
  ArchiveWriter writer;
  ASSERT_EQ(source.Serialize(writer), ArchiveError::None);

  Parameter target;
  target.setCatalogueCaption("Своё описание");
  ArchiveReader reader(writer.bytes());
  ASSERT_EQ(target.Serialize(reader), ArchiveError::None);
  EXPECT_EQ(reader.remaining(), 0u);
  EXPECT_EQ(target.name(), "A.i.j");
  EXPECT_EQ(target.valueText(), "Знач");
  EXPECT_EQ(target.GetDescription(), "Своё описание");  // descriptions come from the tree
  EXPECT_TRUE(target.hasLinearIndex());
  EXPECT_EQ(target.linearIndex(), 7);
  EXPECT_EQ(target.requestIndex(), 3);
  EXPECT_FALSE(target.writableByCatalogue());
  EXPECT_TRUE(target.writableHere());
  EXPECT_EQ(target.errorText(), "Знач-е в приборе: 5");
  EXPECT_TRUE(target.valueChanged());
  EXPECT_FALSE(target.editAttributeChanged());
  EXPECT_TRUE(target.ownerAttributeChanged());
  EXPECT_FALSE(target.editable());
  EXPECT_TRUE(target.factoryOwned());
  EXPECT_EQ(target.privacy(), -9);
  EXPECT_TRUE(target.catalogueFlag());
}

TEST(ParameterSerialize, NoDataSurvivesAsIs) {
  Parameter source;
  ArchiveWriter writer;
  source.Serialize(writer);
  Parameter target;
  target.setRawValueText("1");
  ArchiveReader reader(writer.bytes());
  ASSERT_EQ(target.Serialize(reader), ArchiveError::None);
  EXPECT_EQ(target.valueText(), "Нет данных");
  EXPECT_TRUE(target.hasNoData());
}

TEST(ParameterSerialize, NegativeLinearIndexRefusedOnStore) {
  Parameter p;
  p.setHasLinearIndex(true);
  p.setLinearIndex(-1);
  ArchiveWriter writer;
  EXPECT_EQ(p.Serialize(writer), ArchiveError::BadIndex);
  EXPECT_TRUE(writer.bytes().empty());
}

TEST(ParameterSerialize, NegativeLinearIndexRefusedOnLoadAndNothingChanges) {
  Parameter source;
  fillNonDefault(source);
  ArchiveWriter writer;
  source.Serialize(writer);
  std::vector<uint8_t> bytes = writer.bytes();
  // The linear index follows name, value, description (1 + 5, 1 + 4, 1 + 6 bytes in
  // windows-1251) and the has-index byte.
  const size_t indexOffset = 6 + 5 + 7 + 1;
  ASSERT_EQ(bytes[indexOffset], 7);
  bytes[indexOffset + 3] = 0x80;

  Parameter target;
  target.setName("old");
  ArchiveReader reader(bytes);
  EXPECT_EQ(target.Serialize(reader), ArchiveError::BadIndex);
  EXPECT_EQ(target.name(), "old");
  EXPECT_EQ(target.valueText(), "Нет данных");
}

TEST(ParameterSerialize, FlagByteOtherThanZeroOrOneIsMalformedAndNothingChanges) {
  Parameter source;
  fillNonDefault(source);
  ArchiveWriter writer;
  source.Serialize(writer);
  std::vector<uint8_t> bytes = writer.bytes();
  bytes.back() = 2;  // the catalogue flag

  Parameter target;
  target.setName("old");
  ArchiveReader reader(bytes);
  EXPECT_EQ(target.Serialize(reader), ArchiveError::BadFormat);
  EXPECT_EQ(target.name(), "old");
}

TEST(ParameterSerialize, TruncatedRecordChangesNothing) {
  Parameter source;
  fillNonDefault(source);
  ArchiveWriter writer;
  source.Serialize(writer);
  const std::vector<uint8_t>& full = writer.bytes();
  for (size_t size = 0; size < full.size(); ++size) {
    const std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(size));
    Parameter target;
    ArchiveReader reader(cut.data(), cut.size());
    EXPECT_EQ(target.Serialize(reader), ArchiveError::EndOfFile);
    EXPECT_EQ(target.name(), "<неизвестный параметр>");
    EXPECT_FALSE(target.valueChanged());
  }
}

// The exchange thread writes while the view reads: under AddressSanitizer a torn string
// shows up as a heap error, and the reader must only ever see whole texts.
TEST(ParameterThreads, ConcurrentWritesAndReadsSeeWholeTexts) {
  Parameter p;
  p.setCatalogueCaption("Описание");
  const std::string errorA = "Таймаут при передаче данных (нет связи)";
  const std::string errorB = "Знач-е в приборе: 1234.567";
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    for (int i = 0; i < 20000; ++i) {
      p.setErrorText(i % 2 ? errorA : errorB);
      p.setRawValueText(i % 2 ? "1.000" : "Нет данных");
      p.setValueChanged(i % 3 == 0);
      p.setLinkAttributes(i % 2 == 0, i % 5 == 0);
      p.setTreeCaption(i % 2 ? "Дерево" : "");
    }
    stop = true;
  });
  int reads = 0;
  while (!stop) {
    const std::string error = p.errorText();
    ASSERT_TRUE(error == errorA || error == errorB || error.empty());
    const std::string value = p.valueText();
    ASSERT_TRUE(value == "1.000" || value == "Нет данных");
    const std::string description = p.GetDescription();
    ASSERT_TRUE(description == "Дерево" || description == "Описание");
    (void)p.rowColour();
    (void)p.editAttributeText();
    (void)p.exportRecord();
    ++reads;
  }
  writer.join();
  EXPECT_GT(reads, 0);
}

}  // namespace
}  // namespace zelmot::model
