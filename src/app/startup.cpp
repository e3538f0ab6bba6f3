#include "app/startup.h"

#include <cstdio>
#include <system_error>

#include "app/program_information.h"
#include "app/program_network_edit.h"
#include "document/program_port_settings.h"
#include "document/zelmot_doc.h"
#include "exchange/error_log.h"
#include "link/serial_port.h"
#include "model/description_files.h"
#include "model/net_rs485.h"
#include "platform/paths.h"
#include "platform/settings.h"
#include "platform/user_prompt.h"

namespace zelmot::app {
namespace {

const char* parityText(LineParity parity) {
  switch (parity) {
    case LineParity::Even: return "Четность";
    case LineParity::Odd: return "Нечетность";
    case LineParity::None: return "Отсутствует";
    case LineParity::NotGiven: break;
  }
  return nullptr;
}

std::string withoutQuotes(std::string text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code error;
  const bool same = std::filesystem::equivalent(a, b, error);
  return !error && same;
}

}  // namespace

bool createWorkingFolders(const std::filesystem::path& home, std::string& error) {
  if (home.empty()) {
    error = "Не найдена домашняя папка программы";
    return false;
  }
  return ensureDir(home / kProtocolFolder, &error) && ensureDir(home / kTempFolder, &error);
}

void storeModeChoices(Settings& settings, const CommandLine& line) {
  if (line.autoRead) settings.writeInt(kModeSettingsKey, kAutoReadValue, *line.autoRead ? 1 : 0);
  if (line.autoWrite) {
    settings.writeInt(kModeSettingsKey, kImmediateWriteValue, *line.autoWrite ? 1 : 0);
  }
}

InitialModes initialModes(const Settings& settings, const CommandLine& line) {
  InitialModes modes;
  modes.autoReading = !line.silent && !line.newNetParam;
  std::uint32_t stored = 0;
  settings.readInt(kModeSettingsKey, kImmediateWriteValue, stored);
  modes.immediateWrite = stored != 0;
  return modes;
}

void applyCommandLineNetwork(const CommandLine& line, model::NetRS485prg& node) {
  if (!line.networkGiven) return;
  if (line.port > 0) node.SetValueByName("Port", "COM" + std::to_string(line.port), false);
  if (line.baud > 0) node.SetValueByName("bPS", std::to_string(line.baud), false);
  if (const char* parity = parityText(line.parity)) node.SetValueByName("PrtY", parity, false);
  if (!line.address.empty()) node.SetValueByName("Addr", line.address, false);
  if (line.addressLength > 0) node.SetValueByName("A.Len", std::to_string(line.addressLength), false);
  if (line.dataBits > 0) node.SetValueByName("LEn", std::to_string(line.dataBits), false);
  if (!line.stopBits.empty()) node.SetValueByName("Sbit", line.stopBits, false);
  node.clearStateFlags();
}

std::string severalConfiguratorsQuestion(const std::string& ownPath, const std::string& storedPath) {
  return "Вероятно, на вашем компьютере установлено несколько конфигураторов этого прибора,\n"
         "что не рекомендуется, но допускается.\n\nУстановить запущенный конфигуратор (\"" +
         ownPath +
         "\")\nкак основной или оставить ссылку на конфигуратор прибора ZELMOT как она сейчас "
         "есть\n(\"" +
         storedPath + "\")?";
}

void registerApplication(Settings& settings, const std::filesystem::path& ownPath,
                         UserPrompt* prompt, bool commandLineMode) {
  settings.writeString(kDevicesKey, kDescriptionValue, kDeviceName);
  if (ownPath.empty()) return;
  const std::string quotedOwn = "\"" + ownPath.string() + "\"";
  std::string stored;
  if (settings.readString(kDevicesKey, kApplicationValue, stored) != SettingsStatus::Ok) {
    settings.writeString(kDevicesKey, kApplicationValue, quotedOwn);
    return;
  }
  const std::filesystem::path storedPath = withoutQuotes(stored);
  std::error_code error;
  if (!std::filesystem::is_regular_file(storedPath, error) || sameFile(storedPath, ownPath)) return;
  if (commandLineMode || prompt == nullptr) return;
  const PromptAnswer answer =
      prompt->ask(severalConfiguratorsQuestion(ownPath.string(), storedPath.string()), kDeviceName,
                  PromptIcon::Question, PromptButtons::YesNo);
  if (answer == PromptAnswer::Yes) settings.writeString(kDevicesKey, kApplicationValue, quotedOwn);
}

link::ConverterMode converterModeFor(const CommandLine& line, const Settings& settings) {
  switch (line.converter) {
    case ConverterChoice::On: return link::ConverterMode::SemiAutomatic;
    case ConverterChoice::Auto:
    case ConverterChoice::Off: return link::ConverterMode::Automatic;
    case ConverterChoice::NotGiven: break;
  }
  std::uint32_t stored = 0;
  settings.readInt(document::kProgramSettingsKey, kConverterValue, stored);
  return link::converterModeForCode(stored);
}

void storeConverterMode(Settings& settings, link::ConverterMode mode) {
  settings.writeInt(document::kProgramSettingsKey, kConverterValue,
                    static_cast<std::uint32_t>(link::modeCode(mode)));
}

bool configureDocument(const CommandLine& line, const Settings& settings,
                       document::CZELMOTDoc& doc, std::string& error) {
  exchange::DeviceLink& link = doc.deviceLink();
  doc.setCommandLineMode(line.commandLineMode);
  link.setNoDeviceExchange(line.noExchange);
  link.setKeepPortClosed(line.noExchange || line.silent);
  // A message box would stop an unattended run until someone comes by.
  link.setSuppressMessages(line.commandLineMode);
  link.engine().setSuppressWarnings(line.commandLineMode);
  link.port().setConverterMode(converterModeFor(line, settings));
  if (line.commandLineMode) applyCommandLineNetwork(line, doc.programNetwork());
  if (line.errorLog && !line.errorLog->empty()) {
    if (!exchange::truncateErrorLog(*line.errorLog)) {
      error = "Не удается создать файл " + *line.errorLog;
      return false;
    }
    link.engine().setErrorLogPath(*line.errorLog);
  }
  return true;
}

std::filesystem::path ownExecutablePath() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : path;
}

std::optional<InitialModes> startDocument(const CommandLine& line, const StartupPlaces& places,
                                          Settings& settings, document::CZELMOTDoc& doc,
                                          UserPrompt* prompt, std::string& error) {
  std::string dataDir = places.dataDir;
  if (dataDir.empty()) {
    const auto found = findDataDir(model::kCatalogueFileName);
    if (!found) {
      error = "Не найдены файлы описания прибора";
      return std::nullopt;
    }
    dataDir = found->string();
  }
  doc.initialise(dataDir);  // without a main tree the program goes on (it has said why)
  document::loadProgramPortSettings(settings, doc.programNetwork());
  if (!places.port.empty()) doc.programNetwork().SetValueByName(kPortSetting, places.port, false);
  storeModeChoices(settings, line);
  std::string folderError;
  const std::filesystem::path home = places.home.empty() ? programHomeDir() : std::filesystem::path(places.home);
  if (!createWorkingFolders(home, folderError)) std::fprintf(stderr, "%s\n", folderError.c_str());
  if (!configureDocument(line, settings, doc, error)) return std::nullopt;
  registerApplication(settings, ownExecutablePath(), prompt, line.commandLineMode);
  recordProgramInformation(settings);
  const InitialModes modes = initialModes(settings, line);
  doc.deviceLink().engine().setAutoReading(modes.autoReading);
  doc.deviceLink().load_port_settings();
  return modes;
}

}  // namespace zelmot::app
