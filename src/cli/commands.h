#pragma once
// The sub-commands of zelmot-cli. Each returns the exit status.
#include <string>
#include <vector>

#include "cli/session.h"

namespace zelmot::cli {

struct ExchangeArgs {
  std::string input;   // configuration to write or compare
  std::string output;  // where to save the result ("" = nowhere)
  std::string branch;  // branch names joined with "/" ("" = the whole tree)
  bool changedOnly = false;
  bool errorsOnly = false;
};

int runCheck(Session& session);
int runRead(Session& session, const ExchangeArgs& args);
int runWrite(Session& session, const ExchangeArgs& args);
int runCompare(Session& session, const ExchangeArgs& args);

struct PollArgs {
  std::string parameter;  // NAME[:INDEX]
  std::string value;
  bool write = false;
  bool indexInAddress = false;
};

int runPoll(Session& session, const PollArgs& args);

struct AplyArgs {
  bool broadcast = false;  // also to every device on the line
  bool once = false;       // one broadcast instead of three
};

int runAply(Session& session, const AplyArgs& args);

// A command line of the desktop program ("/read/port:3 file.zel") run without a window.
int runLegacy(Session& session, const std::vector<std::string>& arguments);
// Signals the named exit event of a running program.
int signalExitEvent(const std::string& name);

int runShow(Session& session, const std::string& file, const std::string& branch, bool json);
int runSetValue(Session& session, const std::string& file, const std::string& parameter,
                const std::string& value);

}  // namespace zelmot::cli
