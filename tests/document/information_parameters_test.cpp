// The three information parameters of the common-parameters node, and configuration files
// of the earlier layout (one parameter in that block) that must still open.
#include <gtest/gtest.h>

#include "document/config_file.h"
#include "document/zelmot_doc.h"
#include "model/common_params.h"
#include "model/parameter.h"
#include "platform/system_info.h"
#include "platform/version.h"
#include "support/file_text.h"
#include "support/recording_prompt.h"
#include "support/temp_folder.h"

namespace zelmot::document {
namespace {

// Saved by version 0.1.0 from a read of the simulator: the common block holds the version
// parameter alone.
const std::string kOldFile = std::string(ZELMOT_SOURCE_DIR) + "/tests/document/fixtures/saved_by_0.1.0.zel";

class InformationParameters : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(doc.initialise(ZELMOT_BIN_DIR)); }
  const model::Parameter* information(const char* name) {
    for (const model::Parameter* p : doc.commonParams().parameters()) {
      if (p->name() == name) return p;
    }
    return nullptr;
  }
  test_support::TempFolder folder;
  test_support::RecordingPrompt prompts;
  CZELMOTDoc doc{&prompts};
};

TEST_F(InformationParameters, VersionCopyrightAndSystemAreReadOnlyServiceParameters) {
  const auto& parameters = doc.commonParams().parameters();
  ASSERT_GE(parameters.size(), 3u);
  const struct {
    const char* name;
    const char* description;
    std::string value;
  } expected[] = {{model::kVersionParameterName, "Версия", programVersion()},
                  {model::kCopyrightParameterName, "Копирайт", programCopyright()},
                  {model::kSystemParameterName, "Операционная система", operatingSystemText()}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(parameters[i]->name(), expected[i].name) << "in this order";
    EXPECT_EQ(parameters[i]->GetDescription(), expected[i].description);
    EXPECT_EQ(parameters[i]->valueText(), expected[i].value);
    EXPECT_FALSE(parameters[i]->isWritable());
  }
}

TEST_F(InformationParameters, FileOfTheEarlierLayoutOpensWithoutAnyWarning) {
  const FileResult result = doc.open(kOldFile);
  ASSERT_TRUE(result.ok) << result.message;
  // The file's version is this program's, so not even the version warning is due.
  EXPECT_TRUE(prompts.texts().empty());
  const model::Parameter* device = doc.root()->FindParameter("dev", -1);
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->valueText(), "ZELMOT");
  EXPECT_EQ(information(model::kSystemParameterName)->valueText(), operatingSystemText())
      << "the file's service parameters are not applied";
}

TEST_F(InformationParameters, FileOfAnotherVersionGivesOnlyTheVersionWarning) {
  std::string bytes = test_support::readWholeFile(kOldFile);
  const size_t at = bytes.find(std::string("\x05" "0.1.0", 6));
  ASSERT_NE(at, std::string::npos);
  bytes.replace(at, 6, std::string("\x05" "0.0.9", 6));
  test_support::writeWholeFile(folder / "older.zel", bytes);
  ASSERT_TRUE(doc.open(folder.file("older.zel")).ok);
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{versionWarningText(programVersion(), "0.0.9")});
}

TEST_F(InformationParameters, NewFilesCarryTheWholeBlockAndReopen) {
  ASSERT_TRUE(doc.open(kOldFile).ok);
  ASSERT_TRUE(doc.save(folder.file("new.zel")).ok);
  const std::string bytes = test_support::readWholeFile(folder / "new.zel");
  EXPECT_NE(bytes.find(std::string("\x02  ", 3)), std::string::npos) << "copyright record";
  EXPECT_GT(bytes.size(), test_support::readWholeFile(kOldFile).size());
  CZELMOTDoc reopened{&prompts};
  ASSERT_TRUE(reopened.initialise(ZELMOT_BIN_DIR));
  ASSERT_TRUE(reopened.open(folder.file("new.zel")).ok);
  EXPECT_TRUE(prompts.texts().empty());
  EXPECT_EQ(reopened.root()->FindParameter("dev", -1)->valueText(), "ZELMOT");
}

}  // namespace
}  // namespace zelmot::document
