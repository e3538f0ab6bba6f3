#include "cli/session.h"

#include <cstdio>

#include "exchange/error_log.h"
#include "link/frame_trace.h"
#include "link/port_names.h"
#include "model/description_files.h"
#include "platform/paths.h"

namespace zelmot::cli {

Session::Session(const ConnectionOptions& options, CancelRelay& cancel)
    : options_(options), cancel_(cancel), progress_(progressModeFor(options)) {}

Session::~Session() {
  if (doc_) cancel_.attach(nullptr);
}

std::string Session::comPortPath(int number) const {
  std::string path = link::defaultComPortPath(number);
  settings_.readString("ports", "COM" + std::to_string(number), path);
  return path;
}

bool Session::portConfigured() const {
  std::uint32_t number = 0;
  return !options_.port.empty() ||
         settings_.readInt(document::kProgramSettingsKey, "port_number", number) == SettingsStatus::Ok;
}

bool Session::start(std::string& error) {
  settings_.load();
  std::string dataDir = options_.dataDir;
  if (dataDir.empty()) {
    const auto found = findDataDir(model::kCatalogueFileName);
    if (!found) {
      error = "Не найдены файлы описания прибора (укажите --data-dir)";
      return false;
    }
    dataDir = found->string();
  }
  doc_ = std::make_unique<document::CZELMOTDoc>(
      &prompt_, [this](int number) { return comPortPath(number); });
  doc_->setCommandLineMode(true);
  if (!doc_->initialise(dataDir)) {
    error = "Не удалось загрузить описание прибора из " + dataDir;
    return false;
  }
  document::loadProgramPortSettings(settings_, doc_->programNetwork());
  applyConnectionOptions();
  exchange::ExchangeEngine& engine = doc_->deviceLink().engine();
  engine.setProgressSink(&progress_);
  cancel_.attach(&engine.cancelEvent());
  if (!options_.elog.empty()) {
    if (!exchange::truncateErrorLog(options_.elog)) {
      error = "Не удается создать файл " + options_.elog;
      return false;
    }
    engine.setErrorLogPath(options_.elog);
  }
  return true;
}

void Session::applyConnectionOptions() {
  model::NetRS485prg& node = doc_->programNetwork();
  if (!options_.port.empty()) node.SetValueByName("Port", options_.port, false);
  if (options_.baud > 0) node.SetValueByName("bPS", std::to_string(options_.baud), false);
  if (options_.parity == "none") node.SetValueByName("PrtY", "Отсутствует", false);
  if (options_.parity == "even") node.SetValueByName("PrtY", "Четность", false);
  if (options_.parity == "odd") node.SetValueByName("PrtY", "Нечетность", false);
  if (options_.dataBits > 0) node.SetValueByName("LEn", std::to_string(options_.dataBits), false);
  if (options_.stopBits > 0) node.SetValueByName("Sbit", std::to_string(options_.stopBits), false);
  if (options_.address >= 0) node.SetValueByName("Addr", std::to_string(options_.address), false);
  if (options_.addressLength > 0) {
    node.SetValueByName("A.Len", std::to_string(options_.addressLength), false);
  }
  exchange::DeviceLink& link = doc_->deviceLink();
  std::uint32_t converter = 0;
  settings_.readInt(document::kProgramSettingsKey, "RS485type", converter);
  link.port().setConverterMode(link::converterModeForCode(converter));
  applyConverterOption();
  link.setNoAttributeTransfer(options_.noAttributes);
  link.setSuppressMessages(true);
  if (options_.trace) {
    link.setFrameTrace([](const link::TraceEvent& event) {
      std::fprintf(stderr, "%s\n", link::formatTraceEvent(event).c_str());
    });
  }
  link.load_port_settings();
}

void Session::applyConverterOption() {
  link::ByteTransport& port = doc_->deviceLink().port();
  if (options_.converter == "auto") port.setConverterMode(link::ConverterMode::Automatic);
  if (options_.converter == "rts") port.setConverterMode(link::ConverterMode::SemiAutomatic);
}

bool openConfiguration(Session& session, const std::string& path) {
  const document::FileResult result = session.doc().open(path);
  // The document's message names the file already.
  if (!result.ok) std::fprintf(stderr, "%s\n", result.message.c_str());
  return result.ok;
}

void printNote(const Session& session, const std::string& text) {
  if (session.options().quiet) return;
  std::printf("%s\n", text.c_str());
  std::fflush(stdout);
}

}  // namespace zelmot::cli
