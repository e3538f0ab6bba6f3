#pragma once
// What an accepted edit of a value, or of the program's port settings in their dialog,
// asks of the link afterwards: new port settings are stored at once and brought to the
// port, the configuration may be reset, a value may be written at once. All but the
// storing waits for a running job: the port and the values are that job's until it ends.
#include <functional>
#include <string>

#include "app/edit_state.h"

namespace zelmot {
class Settings;
class UserPrompt;
}  // namespace zelmot
namespace zelmot::document {
class CZELMOTDoc;
}
namespace zelmot::model {
class Parameter;
}

namespace zelmot::app {

class TaskController;

struct LinkFollowUp {
  bool portSettingsChanged = false;  // store the program's port settings, then apply them
  bool reopenPort = false;           // apply them by reopening the port
  bool resetDocument = false;
  model::Parameter* writeNow = nullptr;  // to be written to the device at once

  bool empty() const { return !portSettingsChanged && !reopenPort && !resetDocument && !writeNow; }
};

struct SubmittedEdit {
  bool modified = false;  // the document changed
  LinkFollowUp followUp;
};

// Takes the text edited in `column` of `parameter`'s row. A value of one of the network
// nodes is checked as that node's setting; refusals and questions go through `prompt`.
SubmittedEdit submitEdit(document::CZELMOTDoc& doc, model::Parameter& parameter, Column column,
                         const std::string& text, bool configurationLoaded, bool immediateWrite,
                         UserPrompt* prompt);

// Carries out follow-ups on the document's link once the task controller is idle.
class LinkFollowUps {
public:
  struct Hooks {
    std::function<void()> valuesChanged;  // the whole tree is to be redrawn
    std::function<void()> portChanged;    // the port's description changed
    std::function<void(model::Parameter&)> writeAtOnce;
  };

  LinkFollowUps(document::CZELMOTDoc& doc, Settings& settings, TaskController& tasks, Hooks hooks)
      : doc_(doc), settings_(settings), tasks_(tasks), hooks_(std::move(hooks)) {}

  void take(const LinkFollowUp& followUp);

private:
  void run(const LinkFollowUp& followUp);

  document::CZELMOTDoc& doc_;
  Settings& settings_;
  TaskController& tasks_;
  Hooks hooks_;
};

}  // namespace zelmot::app
