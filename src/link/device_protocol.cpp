#include "link/device_protocol.h"

#include <cerrno>

#include "link/error_catalogue.h"

namespace zelmot::link {
namespace {

constexpr const char* kChecksumText = "Ошибка в контрольной сумме ответа";
constexpr const char* kForeignCommandText =
    "Пришла посылка с кодом команды, отличным от посланной и от n.Err.\n";
constexpr const char* kNoNetworkText = ". Связь с сетью отсутствует. Проверьте сетевые параметры";
constexpr const char* kDialoutHint =
    "\nДоступ к порту есть у группы dialout: добавьте пользователя в неё "
    "(sudo usermod -aG dialout $USER) и войдите в систему заново.";
constexpr const char* kNoRtsText =
    "Порт не управляет линией RTS: полуавтоматический преобразователь с ним работать не "
    "может, посылки передаются целиком, как для автоматического преобразователя. ";

}  // namespace

DeviceProtocol::DeviceProtocol(ComPortMapper mapper)
    : port_(std::make_unique<SerialPort>(std::move(mapper))) {}

DeviceProtocol::DeviceProtocol(std::unique_ptr<ByteTransport> transport)
    : port_(std::move(transport)) {}

DeviceProtocol::~DeviceProtocol() = default;

void DeviceProtocol::setFrameTrace(FrameTrace trace) {
  std::lock_guard lock(requestLock_);
  trace_ = std::move(trace);
}

void DeviceProtocol::trace(TraceEvent::Kind kind, std::string text,
                           ExchangeResult exchangeResult) {
  if (trace_) trace_(TraceEvent{kind, std::move(text), exchangeResult});
}

int DeviceProtocol::transact_frame(int requestFlag, uint16_t command, const uint8_t* data,
                                   size_t dataLength, FrameReply& reply, std::string& errorText,
                                   int addressOffset) {
  // Both come from outside (settings, description files): add without signed overflow;
  // the frame keeps only the low 8 or 11 bits anyway.
  const int address =
      addressOffset == -1
          ? 255
          : static_cast<int>(static_cast<uint32_t>(baseAddress_.load()) +
                             static_cast<uint32_t>(addressOffset));
  reply = FrameReply{};

  RequestFields fields;
  fields.address = address;
  fields.addressLength = addressLength_;
  fields.requestFlag = requestFlag;
  fields.command = command;
  fields.data = data;
  fields.dataLength = dataLength;
  std::string frame;
  if (!build_request(fields, frame, errorText)) return 0;

  ReplyBuffer chars{};
  size_t count = 0;
  {
    std::lock_guard lock(requestLock_);
    if (!exchangeUnderLock(frame, chars, count, errorText)) return 0;
  }

  const Reply parsed = read_reply(chars.data(), count);
  if (parsed.verdict != FrameVerdict::Good) {
    errorText = kChecksumText;
    return 0;
  }
  reply.length = parsed.length;
  std::copy_n(parsed.data.begin(), parsed.length, reply.data.begin());
  if (parsed.command == command) return 1;
  if (parsed.command == kErrorReplyCode) {
    describe_error_reply(reply.data.data(), reply.length, errorText);
    return 0;
  }
  errorText = kForeignCommandText;
  return 0;
}

bool DeviceProtocol::exchangeUnderLock(const std::string& frame, ReplyBuffer& chars,
                                       size_t& count, std::string& errorText) {
  ExchangeRetries retries;
  if (trace_ && !converterNoticeGiven_) traceConverterNotice();
  while (true) {
    if (trace_) trace(TraceEvent::Kind::Sent, frame);
    const ExchangeResult result = port_->port_exchange(frame.data(), frame.size(), chars, count);
    if (trace_) trace(TraceEvent::Kind::Received, std::string(chars.data(), count), result);

    switch (retries.judge(result, chars.data(), count, errorText)) {
      case ExchangeRetries::Verdict::Accept:
        return true;
      case ExchangeRetries::Verdict::Retry:
        continue;
      case ExchangeRetries::Verdict::Fail:
        if (trace_) traceFailure(result);
        return false;
    }
  }
}

// The reason behind a failure goes to the trace only: callers compare the error texts.
void DeviceProtocol::traceFailure(ExchangeResult lastResult) {
  if (lastResult == ExchangeResult::NoReply) {
    trace(TraceEvent::Kind::Note, "Прибор не отвечает. " + describeLineSettings());
  } else if (lastResult == ExchangeResult::LineError) {
    trace(TraceEvent::Kind::Note, "Ошибки на линии. " + describeLineSettings());
  } else if (lastResult == ExchangeResult::Aborted) {
    trace(TraceEvent::Kind::Note, port_->stop_event().isSet()
                                      ? std::string("Обмен прерван: работа завершается")
                                      : "Ошибка порта: " + port_->lastErrorText());
  }
}

void DeviceProtocol::traceConverterNotice() {
  if (!semiAutomaticConverterUnusable()) return;
  converterNoticeGiven_ = true;
  trace(TraceEvent::Kind::Note, kNoRtsText + describeLineSettings());
}

bool DeviceProtocol::semiAutomaticConverterUnusable() const {
  return port_->converterMode() == ConverterMode::SemiAutomatic && port_->rtsUnavailable();
}

void DeviceProtocol::load_port_settings() {
  if (settingsSource_ == nullptr) return;
  PortSettingsSource& source = *settingsSource_;
  const std::string nameBefore = port_->portName();
  const LineSettings lineBefore = port_->lineSettings();
  port_->setPortName(source.GetValueByName("Port"));
  LineSettings line = port_->lineSettings();
  line.baud = decimalTextToInt(source.GetValueByName("bPS"));
  baseAddress_ = decimalTextToInt(source.GetValueByName("Addr"));
  addressLength_ = decimalTextToInt(source.GetValueByName("A.Len"));
  line.dataBits = decimalTextToInt(source.GetValueByName("LEn"));
  line.stopBits = decimalTextToInt(source.GetValueByName("Sbit"));
  parityForText(source.GetValueByName("PrtY"), line.parity);  // an unknown text keeps it
  port_->setLineSettings(line);
  source.clearStateFlags();
  portSettingsLoaded();
  // An open port keeps what it was opened with: new settings reach the line only by
  // opening it again.
  if (port_->isOpen() && (port_->portName() != nameBefore || !(line == lineBefore))) {
    port_->close_port();
    if (port_->open_port() != OpenResult::Ok && !suppressMessages_ && prompt_ != nullptr) {
      prompt_->tell(openFailureText(), kOpenFailedCaption, PromptIcon::Stop);
    }
  }
}

OpenResult DeviceProtocol::reopen_port() {
  port_->close_port();
  load_port_settings();
  if (keepPortClosed_ || noDeviceExchange_) return OpenResult::NotOpened;
  const OpenResult result = port_->open_port();
  if (result != OpenResult::Ok && !suppressMessages_ && prompt_ != nullptr) {
    prompt_->tell(openFailureText(), kOpenFailedCaption, PromptIcon::Stop);
  }
  return result;
}

std::string DeviceProtocol::openFailureText() const {
  const std::string name = port_->portName();
  const std::string path = port_->portPath();
  std::string text = "Неудается открыть порт " + name;
  if (path != name) text += " (" + path + ")";
  const std::string reason = port_->lastErrorText();
  if (!reason.empty()) text += ": " + reason;
  text += kNoNetworkText;
  if (port_->lastError() == EACCES) text += kDialoutHint;
  return text;
}

std::string DeviceProtocol::describeLineSettings() const {
  const LineSettings line = port_->lineSettings();
  const std::string name = port_->portName();
  const std::string path = port_->portPath();
  std::string text = "Порт " + name;
  if (path != name) text += " (" + path + ")";
  text += ", " + std::to_string(line.baud) + " бод, четность: " + parityText(line.parity);
  text += ", бит данных " + std::to_string(line.dataBits);
  text += ", стоп-бит " + std::to_string(line.stopBits);
  text += ", адрес " + std::to_string(baseAddress_.load());
  text += addressLength_ == 11 ? " (11-битная адресация)" : " (8-битная адресация)";
  text += port_->converterMode() == ConverterMode::SemiAutomatic ? ", преобразователь полуавтоматический"
                                                           : ", преобразователь автоматический";
  return text;
}

DeviceProtocol::TemporaryOpen DeviceProtocol::openForExchange() {
  std::lock_guard lock(temporaryOpenLock_);
  portOpenFailed_ = false;
  if (temporaryOpenUsers_ > 0) {
    ++temporaryOpenUsers_;
    return TemporaryOpen::Opened;
  }
  if (port_->isOpen()) return TemporaryOpen::NotNeeded;
  if (port_->open_port() != OpenResult::Ok) {
    port_->close_port();  // a port left open by a refused setting
    portOpenFailed_ = true;
    return TemporaryOpen::Failed;
  }
  temporaryOpenUsers_ = 1;
  return TemporaryOpen::Opened;
}

void DeviceProtocol::closeAfterExchange() {
  std::lock_guard lock(temporaryOpenLock_);
  if (--temporaryOpenUsers_ == 0) port_->close_port();
}

}  // namespace zelmot::link
