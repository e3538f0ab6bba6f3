// Feeds arbitrary arguments to the command-line grammar the desktop program and `legacy`
// share, and on into the port settings: the input is split at zero bytes into arguments.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/startup.h"
#include "model/net_rs485.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelmot::app;
  std::vector<std::string> arguments(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) arguments.emplace_back();
    else arguments.back().push_back(static_cast<char>(data[i]));
  }
  const CommandLine line = parseCommandLine(arguments);
  line.job();
  if (line.port < 0 || line.port > 255) std::abort();

  // The argv form must agree with the vector form.
  std::vector<const char*> argv{"zelmot"};
  for (const auto& argument : arguments) argv.push_back(argument.c_str());
  const CommandLine again = parseCommandLine(static_cast<int>(argv.size()), argv.data());
  if (again.documentPath != line.documentPath || again.job() != line.job()) std::abort();

  // The network options go on into the program's port settings.
  zelmot::model::NetRS485prg node;
  applyCommandLineNetwork(line, node);

  for (const auto& argument : arguments) parseCNumber(argument);
  return 0;
}
