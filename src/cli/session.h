#pragma once
// One run of zelmot-cli: the settings, the description files, the document with its link,
// the terminal prompt and progress, and the connection options applied for this run only.
#include <memory>
#include <string>

#include "cli/cancel_relay.h"
#include "cli/terminal_progress.h"
#include "cli/terminal_prompt.h"
#include "document/zelmot_doc.h"
#include "platform/settings.h"

namespace zelmot::cli {

struct ConnectionOptions {
  std::string port;        // "COMn" or a device path
  int baud = 0;            // 0: as saved
  std::string parity;      // none | even | odd
  int dataBits = 0;
  int stopBits = 0;
  int address = -1;
  int addressLength = 0;
  std::string converter;   // auto | rts
  bool noAttributes = false;
  std::string elog;
  std::string dataDir;
  bool trace = false;
  bool quiet = false;    // only errors
  bool verbose = false;  // the progress-log lines and the byte log of get and set
};

class Session {
public:
  Session(const ConnectionOptions& options, CancelRelay& cancel);
  ~Session();

  // Loads settings and description files and applies the options. False with `error` set
  // when the description files cannot be found or hold no tree.
  bool start(std::string& error);

  document::CZELMOTDoc& doc() { return *doc_; }
  const ConnectionOptions& options() const { return options_; }
  // Where Ctrl+C goes; a command with its own cancel event attaches it here.
  CancelRelay& cancelRelay() { return cancel_; }
  // --converter, when given, over whatever chose the converter before.
  void applyConverterOption();
  // A port was given on the command line or is stored in the settings.
  bool portConfigured() const;

private:
  void applyConnectionOptions();
  std::string comPortPath(int number) const;

  ConnectionOptions options_;
  CancelRelay& cancel_;
  Settings settings_;
  TerminalProgress progress_;
  TerminalPrompt prompt_{[this] { progress_.endLine(); }};
  std::unique_ptr<document::CZELMOTDoc> doc_;
};

// Opens a configuration file into the session's document; a refusal is printed with the
// file's path. False when the file was not taken.
bool openConfiguration(Session& session, const std::string& path);

// The one-line summaries and notes of a command: on standard output unless --quiet.
void printNote(const Session& session, const std::string& text);

}  // namespace zelmot::cli
