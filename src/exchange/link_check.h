#pragma once
// The link check: reads the four service parameters that identify the device and report
// its health, and the narrower check that the device is of the type this program configures.
#include <cstdint>
#include <functional>
#include <string>

namespace zelmot {
class UserPrompt;
}
namespace zelmot::model {
class Parameter;
}

namespace zelmot::exchange {

class ExchangeEngine;

// Finds a catalogue parameter by name (ignoring case), any index; nullptr when absent.
using CatalogueLookup = std::function<model::Parameter*(const std::string& name)>;

inline constexpr uint8_t kIdentityAnswered = 2;    // the device answered "dev"
inline constexpr uint8_t kIdentityOurType = 1;     // ... with our device type
inline constexpr const char* kDeviceType = "ZELMOT";
inline constexpr const char* kDeviceInfoCaption = "Общие параметры прибора";

struct LinkCheckResult {
  std::string errorText;  // one block per failed read, in the order n.Err, dev, ver, exit
  std::string infoText;
  uint8_t identity = 0;
};

// Reads n.Err, dev, ver and exit through read one (so the reads are logged and count
// towards the consecutive time-outs). A service parameter missing from the catalogue is
// reported as a failed read with the "not described" text.
LinkCheckResult checkLink(ExchangeEngine& engine, const CatalogueLookup& find);

// checkLink, then (with `showMessages`) the error text and the information text as messages.
// Returns the error text, empty when every read succeeded.
std::string linkCheck(ExchangeEngine& engine, const CatalogueLookup& find, UserPrompt* prompt,
                      bool showMessages, uint8_t* identity);

// True when `dev` answered with a type other than ours (blanks ignored); the user is
// warned through `prompt`. A failed read or a match gives false.
bool deviceTypeMismatch(ExchangeEngine& engine, const CatalogueLookup& find, UserPrompt* prompt);

}  // namespace zelmot::exchange
