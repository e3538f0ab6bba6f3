#include "app/program_information.h"

#include <zlib.h>

#include "app/startup.h"
#include "archive/library_versions.h"
#include "platform/settings.h"
#include "platform/system_info.h"
#include "platform/version.h"

namespace zelmot::app {
namespace {

void writeWhenAbsent(Settings& settings, const char* name, const std::string& value) {
  std::string stored;
  const SettingsStatus status = settings.readString(kDevicesKey, name, stored);
  if (status == SettingsStatus::ValueAbsent || status == SettingsStatus::KeyNotOpened) {
    settings.writeString(kDevicesKey, name, value);
  }
}

}  // namespace

void recordProgramInformation(Settings& settings) {
  writeWhenAbsent(settings, kNameValue, kDeviceName);
  writeWhenAbsent(settings, kVersionValue, programVersion());
}

AboutInformation aboutInformation(const std::vector<LibraryVersion>& frontEndLibraries) {
  AboutInformation info;
  info.programName = "Configurator - ZELMOT";
  info.version = "Версия " + programVersion();
  info.buildDate = "Дата сборки: " + programBuildDate();
  info.copyright = programCopyright();
  info.maker = kMakerLine;
  info.system = "Операционная система: " + operatingSystemText();
  info.libraries = platformLibraries();
  info.libraries.push_back({"zlib", zlibVersion()});
  for (const LibraryVersion& library : archive::archiveLibraries()) info.libraries.push_back(library);
  info.libraries.insert(info.libraries.end(), frontEndLibraries.begin(), frontEndLibraries.end());
  return info;
}

std::string libraryListText(const std::vector<LibraryVersion>& libraries) {
  std::string text;
  for (const LibraryVersion& library : libraries) {
    if (!text.empty()) text += '\n';
    text += library.name + " " + library.version;
  }
  return text;
}

}  // namespace zelmot::app
