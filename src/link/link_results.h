#pragma once
// The results and modes of the device link, each its own type. The numbers are the ones the
// program has always used; they are taken out only where a number is shown or stored.
namespace zelmot::link {

// open_port.
enum class OpenResult : int {
  Ok = 0,
  NotOpened = -1,        // the device did not open (lastErrorText() says why)
  SettingRefused = -2,   // the line state could not be read, or parity, stop bits or baud refused
  DataBitsRefused = -3,  // data bits outside 5..8
  NotApplied = -4,       // applying the line state failed
};

// close_port.
enum class CloseResult : int {
  Closed = 0,
  PurgeFailed = -1,  // the port stays open
  NotOpen = -2,
};

// One frame exchange on the line.
enum class ExchangeResult : int {
  Done = 0,       // a reply (perhaps empty) ended by a carriage return
  Aborted = -1,   // stop_event, the port closed, or the port failed
  NoReply = 2,    // nothing complete within the reply deadline
  LineError = 3,  // a line error or break without the carriage return
};

// exchange_parameter.
enum class ParameterResult : int {
  Ok = 0,
  Failed = 1,        // the transaction failed; the parameter's error text says why
  NotDecoded = 2,    // the reply could not be decoded into a value
  NoEncoding = 3,    // no encoding for the type (judged only with a log)
  NotEncodable = 4,  // the value cannot be encoded (judged only with a log)
  AttributeExchangeFailed = 200,
  AttributeReplySize = 201,
};

// Parity codes. None sends no parity bit but still counts one in the character time.
enum class Parity : int {
  NoneUnchecked = 0,
  Even = 1,
  Mark = 2,
  None = 3,
  Odd = 4,
  Space = 5,
};

// Semi-automatic: the program switches the converter's transmitter with RTS. Stored as 0
// and 1; any stored value but 0 reads as automatic.
enum class ConverterMode : int {
  SemiAutomatic = 0,
  Automatic = 1,
};

constexpr int resultCode(OpenResult result) { return static_cast<int>(result); }
constexpr int resultCode(CloseResult result) { return static_cast<int>(result); }
constexpr int resultCode(ExchangeResult result) { return static_cast<int>(result); }
constexpr int resultCode(ParameterResult result) { return static_cast<int>(result); }
constexpr int parityCode(Parity parity) { return static_cast<int>(parity); }
constexpr int modeCode(ConverterMode mode) { return static_cast<int>(mode); }
constexpr ConverterMode converterModeForCode(long long code) {
  return code == 0 ? ConverterMode::SemiAutomatic : ConverterMode::Automatic;
}

}  // namespace zelmot::link
