// The parameter list page as a file: where it goes, its code page, what happens without a
// tree or a writable place, and how a browser shows the page of the real device model.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/parameter_list_export.h"
#include "document/zelmot_doc.h"
#include "platform/code_page.h"
#include "support/external_program.h"
#include "support/file_text.h"
#include "support/temp_folder.h"

namespace zelmot::app {
namespace {

using ::testing::HasSubstr;
using test_support::readWholeFile;

class ParameterListExport : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(doc.initialise(ZELMOT_BIN_DIR)) << "the compiled device model is missing";
  }
  test_support::TempFolder folder;
  document::CZELMOTDoc doc;
};

TEST_F(ParameterListExport, GoesIntoTheProgramsTempFolder) {
  test_support::ScopedEnv home("ZELMOT_HOME", folder.file("home").c_str());
  EXPECT_EQ(defaultParameterListPath(), folder.path() / "home" / "temp" / "parlist.html");
}

TEST_F(ParameterListExport, PageIsWrittenInWindows1251) {
  const std::filesystem::path page = folder.path() / "made" / "temp" / "parlist.html";
  const PageResult written = writeParameterList(doc.root(), page);
  ASSERT_TRUE(written.ok) << written.message;
  const std::string bytes = readWholeFile(page);
  EXPECT_THAT(bytes, HasSubstr(utf8ToCp1251("<h4>Список параметров</h4>")));
  EXPECT_THAT(bytes, HasSubstr(utf8ToCp1251("Список оперативных параметров")));
  EXPECT_EQ(bytes.find("Список"), std::string::npos) << "no UTF-8 left in the file";
  EXPECT_THAT(bytes, HasSubstr("\t<td>rEAd\t</td>\n\t<td>8784\t</td>\n"));
}

TEST_F(ParameterListExport, NothingWithoutATreeOrAPlace) {
  const std::filesystem::path page = folder.path() / "parlist.html";
  const PageResult noTree = writeParameterList(nullptr, page);
  EXPECT_FALSE(noTree.ok);
  EXPECT_EQ(noTree.message, "Дерево не определено");
  EXPECT_FALSE(std::filesystem::exists(page));

  // A folder where the page should be: the message names the path; nothing is opened.
  std::filesystem::create_directories(page);
  const PageResult blocked = writeParameterList(doc.root(), page);
  EXPECT_FALSE(blocked.ok);
  EXPECT_THAT(blocked.message, HasSubstr(page.string()));
  test_support::writeWholeFile(folder.path() / "file", "x");
  const PageResult noFolder = writeParameterList(doc.root(), folder.path() / "file" / "parlist.html");
  EXPECT_FALSE(noFolder.ok);
}

TEST_F(ParameterListExport, DateFollowsTheUsersLocale) {
  test_support::ScopedEnv all("LC_ALL", "C");
  const std::string date = currentDateText();
  EXPECT_THAT(date, ::testing::MatchesRegex("[A-Z][a-z]+day, [A-Z][a-z]+ [0-9][0-9], 2[0-9][0-9][0-9]"));
}

// The page of the compiled device model in headless Chromium: the browser must read the
// code page from the meta line, and the screenshot is kept for the documentation.
TEST_F(ParameterListExport, RendersInABrowser) {
  const std::string chromium = "/usr/bin/chromium";
  if (!std::filesystem::exists(chromium)) GTEST_SKIP() << "chromium is not installed";
  const std::filesystem::path page = folder.path() / "parlist.html";
  ASSERT_TRUE(writeParameterList(doc.root(), page).ok);
  const std::string url = "file://" + page.string();
  const std::vector<std::string> browser = {"/usr/bin/timeout", "60", chromium, "--headless",
                                            "--no-sandbox", "--disable-gpu"};

  std::vector<std::string> dump = browser;
  dump.insert(dump.end(), {"--dump-dom", url});
  const test_support::ProgramRun dom = test_support::runProgram(dump, folder.path());
  ASSERT_EQ(dom.exitCode, 0) << dom.err;
  EXPECT_THAT(dom.out, HasSubstr("<h4>Список параметров</h4>"));
  EXPECT_THAT(dom.out, HasSubstr("<td>Set.P\t</td>"));
  EXPECT_THAT(dom.out, HasSubstr("Список оперативных параметров"));

  const std::filesystem::path shot = folder.path() / "parameter_list.png";
  std::vector<std::string> screenshot = browser;
  screenshot.insert(screenshot.end(), {"--screenshot=" + shot.string(), "--window-size=1200,900", url});
  const test_support::ProgramRun shown = test_support::runProgram(screenshot, folder.path());
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  const std::string png = readWholeFile(shot);
  ASSERT_GT(png.size(), 10000u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  const std::filesystem::path kept = std::filesystem::path(ZELMOT_BIN_DIR) / ".." / "screenshots";
  std::filesystem::create_directories(kept);
  std::filesystem::copy_file(shot, kept / "parameter_list.png",
                             std::filesystem::copy_options::overwrite_existing);
}

}  // namespace
}  // namespace zelmot::app
