// The operating-system text of the service parameters and the build date of the About box.
#include "platform/system_info.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/version.h"
#include "support/temp_folder.h"

namespace zelmot {
namespace {

std::string prettyNameOf(const std::string& contents) {
  test_support::TempFolder dir;
  std::ofstream(dir / "os-release") << contents;
  return osReleasePrettyName(dir / "os-release");
}

TEST(SystemInfo, PrettyNameIsUnquotedAndUnescaped) {
  EXPECT_EQ(prettyNameOf("NAME=\"Debian\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"),
            "Debian GNU/Linux 12 (bookworm)");
  EXPECT_EQ(prettyNameOf("PRETTY_NAME=Plain\n"), "Plain");
  EXPECT_EQ(prettyNameOf("PRETTY_NAME='Single quoted'\n"), "Single quoted");
  EXPECT_EQ(prettyNameOf("PRETTY_NAME=\"Say \\\"hi\\\"\"\n"), "Say \"hi\"");
  EXPECT_EQ(prettyNameOf("NAME=Other\n# PRETTY_NAME=\"commented\"\n"), "");
  EXPECT_EQ(osReleasePrettyName("/no/such/os-release"), "");
}

TEST(SystemInfo, TextTakesWhatIsKnownAndSaysWhenNothingIs) {
  EXPECT_EQ(operatingSystemText("Debian GNU/Linux 12 (bookworm)", "6.1.0-18-amd64"),
            "Debian GNU/Linux 12 (bookworm), Linux 6.1.0-18-amd64");
  EXPECT_EQ(operatingSystemText("", "6.1.0"), "Linux 6.1.0");
  EXPECT_EQ(operatingSystemText("Alpine", ""), "Alpine");
  EXPECT_EQ(operatingSystemText("", ""), "<неизвестно>");
  EXPECT_NE(operatingSystemText(), "<неизвестно>") << "this machine has a kernel release at least";
}

TEST(Version, BuildDateIsDayMonthYear) {
  EXPECT_EQ(buildDateText("Dec  8 2026"), "08.12.2026");
  EXPECT_EQ(buildDateText("Jan 31 2025"), "31.01.2025");
  EXPECT_EQ(buildDateText("Foo  1 2025"), "");
  EXPECT_EQ(buildDateText("anJ  1 2025"), "") << "a month name is not found across two names";
  EXPECT_EQ(buildDateText(""), "");
  EXPECT_EQ(programBuildDate().size(), 10u);
}

}  // namespace
}  // namespace zelmot
