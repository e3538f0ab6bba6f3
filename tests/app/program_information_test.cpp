// The program's name and version in the settings, and what "О программе..." lists.
#include "app/program_information.h"

#include <gtest/gtest.h>

#include "app/startup.h"
#include "platform/settings.h"
#include "platform/version.h"
#include "support/temp_folder.h"

namespace zelmot::app {
namespace {

std::string stored(const Settings& settings, const char* name) {
  std::string text = "<absent>";
  settings.readString(kDevicesKey, name, text);
  return text;
}

TEST(ProgramInformation, NameAndVersionAreWrittenOnlyWhenAbsent) {
  test_support::TempFolder dir;
  Settings settings(dir / "zelmot.ini");
  recordProgramInformation(settings);
  EXPECT_EQ(stored(settings, kNameValue), "ZELMOT");
  EXPECT_EQ(stored(settings, kVersionValue), programVersion());

  settings.writeString(kDevicesKey, kNameValue, "Другой");
  settings.writeString(kDevicesKey, kVersionValue, "9.9");
  recordProgramInformation(settings);
  EXPECT_EQ(stored(settings, kNameValue), "Другой");
  EXPECT_EQ(stored(settings, kVersionValue), "9.9");
}

TEST(ProgramInformation, AboutListsVersionBuildDateAndEveryLibrary) {
  const AboutInformation info = aboutInformation({{"Qt", "6.4.2"}});
  EXPECT_EQ(info.version, "Версия " + programVersion());
  EXPECT_EQ(info.buildDate, "Дата сборки: " + programBuildDate());
  const std::string libraries = libraryListText(info.libraries);
  for (const char* name : {"GLib ", "zlib ", "libgsf ", "libxlsxwriter ", "Qt 6.4.2"}) {
    EXPECT_NE(libraries.find(name), std::string::npos) << name << " in\n" << libraries;
  }
  EXPECT_EQ(libraries.back(), '2') << "the front end's libraries come last";
}

}  // namespace
}  // namespace zelmot::app
