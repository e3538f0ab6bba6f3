#pragma once
// What the program says about itself: the name and version it records for the device's
// registration, and the contents of "О программе..." (version, build date, copyright, the
// operating system and the libraries in use).
#include <string>
#include <vector>

#include "platform/library_version.h"

namespace zelmot {
class Settings;
}

namespace zelmot::app {

inline constexpr const char* kNameValue = "name";
inline constexpr const char* kVersionValue = "version";
inline constexpr const char* kAboutCaption = "О программе Configurator - ZELMOT";
inline constexpr const char* kMakerLine =
    "Kavrel. Программа настройки и обслуживания регуляторов ZELMOT";

// Writes "name" = "ZELMOT" and "version" = the program's version under the device's key,
// each only when that value does not exist yet.
void recordProgramInformation(Settings& settings);

struct AboutInformation {
  std::string programName;
  std::string version;     // "Версия 0.1.0"
  std::string buildDate;   // "Дата сборки: 08.12.2026"
  std::string copyright;
  std::string maker;
  std::string system;      // "Операционная система: ..."
  std::vector<LibraryVersion> libraries;
};

// The core's libraries and then `frontEndLibraries` (the toolkit of the window).
AboutInformation aboutInformation(const std::vector<LibraryVersion>& frontEndLibraries);

// "name version" lines of the libraries, one per line.
std::string libraryListText(const std::vector<LibraryVersion>& libraries);

}  // namespace zelmot::app
