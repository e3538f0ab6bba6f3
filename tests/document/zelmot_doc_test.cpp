#include "document/zelmot_doc.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/version.h"
#include "document/config_file.h"
#include "exchange/exchange_engine.h"
#include "model/parameter.h"
#include "support/file_text.h"
#include "support/recording_prompt.h"
#include "support/temp_folder.h"

namespace zelmot::document {
namespace {

using ::testing::HasSubstr;

using test_support::readWholeFile;
using test_support::writeWholeFile;

class DocumentTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(doc.initialise(ZELMOT_BIN_DIR)) << "the compiled device model is missing";
    setPoint = doc.root()->FindParameter("SP", 2);
    ASSERT_NE(setPoint, nullptr);
    other = doc.root()->FindParameter("P.Hi", 1);
    ASSERT_NE(other, nullptr);
  }

  std::string path(const std::string& name) const { return folder.file(name); }

  test_support::TempFolder folder;
  test_support::RecordingPrompt prompts;
  CZELMOTDoc doc{&prompts};
  model::Parameter* setPoint = nullptr;
  model::Parameter* other = nullptr;
};

TEST_F(DocumentTest, SaveAndOpenKeepTheWholeParameterState) {
  ASSERT_FALSE(doc.names().empty());
  EXPECT_EQ(doc.names().front(), "Имя не задано");
  doc.names().front() = "Котельная №2";
  setPoint->setRawValueText("21.500");
  setPoint->setValueChanged(true);
  setPoint->setErrorText("Знач-е в приборе: '20.000',Ред-ый,польз.");
  other->setRawValueText(model::kNoDataText);
  other->setFactoryOwned(true);
  other->setEditable(false);
  ASSERT_TRUE(doc.save(path("a.zel")).ok);

  doc.resetDocument();
  EXPECT_EQ(setPoint->valueText(), model::kNoDataText);
  const FileResult opened = doc.open(path("a.zel"));
  ASSERT_TRUE(opened.ok) << opened.message;
  EXPECT_EQ(doc.names().front(), "Котельная №2");
  EXPECT_EQ(setPoint->valueText(), "21.500");
  EXPECT_TRUE(setPoint->valueChanged());
  EXPECT_EQ(setPoint->errorText(), "Знач-е в приборе: '20.000',Ред-ый,польз.");
  EXPECT_EQ(other->valueText(), model::kNoDataText);
  EXPECT_TRUE(other->factoryOwned());
  EXPECT_FALSE(other->editable());
  EXPECT_TRUE(prompts.messages().empty());  // same program version: no warning
}

TEST_F(DocumentTest, FailedOpenLeavesTheDocumentAsItWas) {
  ASSERT_TRUE(doc.save(path("good.zel")).ok);
  const std::string good = readWholeFile(path("good.zel"));
  setPoint->setRawValueText("33.000");
  setPoint->setErrorText("своя ошибка");
  doc.names().back() = "Своё имя";

  const std::vector<std::string> damaged = {good.substr(0, good.size() - 1),
                                            good.substr(0, good.size() * 3 / 4), good + '\0'};
  for (const std::string& bytes : damaged) {
    std::ofstream(path("bad.zel"), std::ios::binary | std::ios::trunc) << bytes;
    EXPECT_FALSE(doc.open(path("bad.zel")).ok);
    EXPECT_EQ(setPoint->valueText(), "33.000");
    EXPECT_EQ(setPoint->errorText(), "своя ошибка");
    EXPECT_EQ(doc.names().back(), "Своё имя");
  }
  EXPECT_FALSE(doc.open(path("missing.zel")).ok);
}

TEST_F(DocumentTest, FileOfAnotherTreeIsRefused) {
  // The same stream layout, written for a tree of one branch with one parameter.
  model::DescBranch foreign;
  foreign.setName(doc.root()->name());
  model::Parameter lone;
  lone.setName("SP");
  lone.setRawValueText("99");
  foreign.addParameter(&lone);
  std::vector<uint8_t> bytes;
  ASSERT_EQ(writeConfiguration(doc.commonParams(), doc.names(), &foreign, bytes),
            model::ArchiveError::None);
  writeWholeFile(path("foreign.zel"), std::string(bytes.begin(), bytes.end()));
  const std::string before = setPoint->valueText();
  const FileResult opened = doc.open(path("foreign.zel"));
  EXPECT_FALSE(opened.ok);
  EXPECT_THAT(opened.message, HasSubstr("\" не соответствует описанию прибора: ветвь \""));
  EXPECT_EQ(setPoint->valueText(), before);
}

// Hand edits of a saved file: each one is refused with the first place it departs from the
// device model, and the document keeps what it held.
class EditedFileTest : public DocumentTest {
protected:
  void SetUp() override {
    DocumentTest::SetUp();
    setPoint->setRawValueText("21.125");  // marks the record of SP:2 in the file
    ASSERT_TRUE(doc.save(path("saved.zel")).ok);
    saved = readWholeFile(path("saved.zel"));
    valueAt = saved.find(std::string("\x02SP\x06") + "21.125");
    ASSERT_NE(valueAt, std::string::npos);
    const size_t descriptionAt = valueAt + 10;
    hasIndexAt = descriptionAt + 1 + static_cast<uint8_t>(saved[descriptionAt]);
    std::vector<uint8_t> prefix;  // the common block and the names: where the tree starts
    ASSERT_EQ(writeConfiguration(doc.commonParams(), doc.names(), nullptr, prefix),
              model::ArchiveError::None);
    treeAt = prefix.size();
    setPoint->setRawValueText("33.000");
    doc.names().back() = "Своё имя";
  }

  // Opens `bytes` as a file; expects the refusal "<path> не соответствует описанию
  // прибора: <detail>" and the document as it was.
  void expectRefused(const std::string& bytes, const std::string& detail) {
    writeWholeFile(path("edited.zel"), bytes);
    const FileResult opened = doc.open(path("edited.zel"));
    EXPECT_FALSE(opened.ok);
    EXPECT_EQ(opened.message, "Файл \"" + path("edited.zel") +
                                  "\" не соответствует описанию прибора: " + detail);
    EXPECT_EQ(setPoint->valueText(), "33.000");
    EXPECT_EQ(setPoint->linearIndex(), 2);
    EXPECT_EQ(doc.names().back(), "Своё имя");
  }

  std::string saved;
  size_t valueAt = 0;
  size_t hasIndexAt = 0;
  size_t treeAt = 0;
};

TEST_F(EditedFileTest, ChangedIndexNameOrFlagIsRefused) {
  std::string bytes = saved;
  bytes[hasIndexAt + 1] = 3;  // linear index 2 -> 3
  expectRefused(bytes, "параметр SP:2: в файле линейный индекс 3, в описании 2");

  bytes = saved;
  bytes[valueAt + 2] = 'Q';
  expectRefused(bytes, "параметр SP:2: в файле имя \"SQ\"");

  bytes = saved;
  bytes[hasIndexAt] = 2;
  expectRefused(bytes, "параметр SP:2: в файле байт признака 2 (допустимы 0 и 1)");

  bytes = saved;
  bytes[hasIndexAt] = 0;
  expectRefused(bytes, "параметр SP:2: в файле признак линейного индекса 0, в описании 1");
}

TEST_F(EditedFileTest, CountOffByOneIsRefused) {
  const std::string& title = doc.root()->name();
  ASSERT_LT(title.size(), 255u);  // windows-1251 is no longer than the UTF-8 text
  const size_t countAt = treeAt + 1 + static_cast<uint8_t>(saved[treeAt]);
  const size_t count = doc.root()->parameters().size();
  ASSERT_EQ(static_cast<uint8_t>(saved[countAt]), count);
  std::string bytes = saved;
  bytes[countAt] = static_cast<char>(count + 1);
  expectRefused(bytes, "ветвь \"" + title + "\": в файле параметров " +
                           std::to_string(count + 1) + ", в описании " + std::to_string(count));
}

TEST_F(EditedFileTest, NameDifferingOnlyInCaseAndBlanksIsAccepted) {
  std::string bytes = saved;
  bytes.replace(valueAt, 3, std::string("\x03s p"));
  writeWholeFile(path("edited.zel"), bytes);
  const FileResult opened = doc.open(path("edited.zel"));
  ASSERT_TRUE(opened.ok) << opened.message;
  EXPECT_EQ(setPoint->valueText(), "21.125");
}

TEST_F(DocumentTest, ValueItsTypeCannotEncodeIsLoadedAsAnErrorAndNotSent) {
  setPoint->setRawValueText("двадцать");
  setPoint->setValueChanged(true);
  ASSERT_TRUE(doc.save(path("bad-value.zel")).ok);
  doc.resetDocument();
  const FileResult opened = doc.open(path("bad-value.zel"));
  ASSERT_TRUE(opened.ok) << opened.message;
  EXPECT_EQ(setPoint->valueText(), "двадцать");
  EXPECT_TRUE(setPoint->hasProblem(false));
  EXPECT_EQ(other->errorText(), "");  // "Нет данных" is no value to encode
  // No port is open: a write that got past the encoding check would fail otherwise.
  EXPECT_EQ(doc.deviceLink().engine().writeOne(*setPoint, true), exchange::kResultNotEncodable);
}

TEST_F(DocumentTest, OtherProgramVersionIsWarnedAboutButRead) {
  doc.commonParams().parameters().front()->setRawValueText("0.0.1");
  setPoint->setRawValueText("5.000");
  ASSERT_TRUE(doc.save(path("old.zel")).ok);
  doc.commonParams().parameters().front()->setRawValueText(programVersion());
  setPoint->setRawValueText("6.000");
  ASSERT_TRUE(doc.open(path("old.zel")).ok);
  EXPECT_EQ(setPoint->valueText(), "5.000");
  ASSERT_EQ(prompts.messages().size(), 1u);
  EXPECT_EQ(prompts.messages()[0], "Версии не совпадают: " + versionWarningText(programVersion(), "0.0.1"));

  doc.setCommandLineMode(true);
  ASSERT_TRUE(doc.open(path("old.zel")).ok);
  EXPECT_EQ(prompts.messages().size(), 1u);
}

TEST_F(DocumentTest, OtherVersionIsWarnedAboutBeforeTheRestOfTheFileFails) {
  doc.commonParams().parameters().front()->setRawValueText("0.0.1");
  ASSERT_TRUE(doc.save(path("old.zel")).ok);
  doc.commonParams().parameters().front()->setRawValueText(programVersion());
  std::string bytes = readWholeFile(path("old.zel"));
  bytes.resize(bytes.size() / 2);  // the names and tree are cut off
  writeWholeFile(path("cut.zel"), bytes);
  EXPECT_FALSE(doc.open(path("cut.zel")).ok);
  ASSERT_EQ(prompts.messages().size(), 1u);
  EXPECT_EQ(prompts.messages()[0], "Версии не совпадают: " + versionWarningText(programVersion(), "0.0.1"));
}

TEST_F(DocumentTest, SaveThatCannotCompleteLeavesTheOldFile) {
  ASSERT_TRUE(doc.save(path("keep.zel")).ok);
  const std::string before = readWholeFile(path("keep.zel"));
  const int32_t index = setPoint->linearIndex();
  setPoint->setLinearIndex(-1);
  const FileResult saved = doc.save(path("keep.zel"));
  setPoint->setLinearIndex(index);
  EXPECT_FALSE(saved.ok);
  EXPECT_TRUE(readWholeFile(path("keep.zel")) == before);
  EXPECT_FALSE(doc.save((folder / "no-such-dir" / "x.zel").string()).ok);
}

TEST_F(DocumentTest, BranchPathsAndCatalogueLookups) {
  EXPECT_EQ(doc.findBranch(""), doc.root());
  model::DescBranch* regulators = doc.findBranch("Регуляторы");
  ASSERT_NE(regulators, nullptr);
  ASSERT_FALSE(regulators->children().empty());
  const std::string first = regulators->children().front()->name();
  EXPECT_EQ(doc.findBranch("Регуляторы/" + first), regulators->children().front().get());
  EXPECT_EQ(doc.findBranch("Регуляторы/нет такой"), nullptr);
  EXPECT_NE(doc.findCatalogueParameter("DEV"), nullptr);
  EXPECT_EQ(doc.findCatalogueParameter("SP", 2)->linearIndex(), 2);
  EXPECT_EQ(doc.deviceNetwork().parameters().size(), 6u);
}

TEST(NamesTable, SizeIsTheByteProductLessTwo) {
  EXPECT_EQ(namesTableSize(4, 8), 30u);
  EXPECT_EQ(namesTableSize(16, 16), 0u);  // 256 is 0 as a byte
  EXPECT_EQ(namesTableSize(17, 16), 14u);  // 272 is 16 as a byte
  EXPECT_EQ(namesTableSize(1, 2), 0u);
  EXPECT_EQ(namesTableSize(0, 9), 0u);
}

}  // namespace
}  // namespace zelmot::document
