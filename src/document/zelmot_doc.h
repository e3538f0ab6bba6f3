#pragma once
// The configuration document: the device model (catalogue and trees), the program's
// service parameters with the version, the table of user-given names, the device and
// program network nodes, and the device link that exchanges the tree with the device.
// Saves and opens ".zel" configuration files.
//
// Threads: the document is used from one thread; while a task of the link runs, only the
// link's thread touches the parameters (the caller waits or only reads them).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/device_network_node.h"
#include "document/program_port_settings.h"
#include "exchange/device_link.h"
#include "exchange/link_check.h"
#include "model/common_params.h"
#include "model/device_model.h"
#include "model/net_rs485.h"
#include "model/value_context.h"

namespace zelmot {
class UserPrompt;
}

namespace zelmot::document {

struct FileResult {
  bool ok = false;
  std::string message;  // why it failed, for the user
};

class CZELMOTDoc {
public:
  explicit CZELMOTDoc(UserPrompt* prompt = nullptr, link::ComPortMapper mapper = {});
  ~CZELMOTDoc();
  CZELMOTDoc(const CZELMOTDoc&) = delete;
  CZELMOTDoc& operator=(const CZELMOTDoc&) = delete;

  // Loads the constants and the description files of `dataDir`, sizes the names table and
  // attaches the network node. True when the main tree exists.
  bool initialise(const std::string& dataDir);

  model::DeviceModel& deviceModel() { return model_; }
  exchange::DeviceLink& deviceLink() { return link_; }
  model::CommonParams& commonParams() { return common_; }
  // The measurement archive's node among the program parameters (named with four blanks).
  model::Parameter& archiveNode() { return *archiveNode_; }
  DeviceNetworkNode& deviceNetwork() { return deviceNetwork_; }
  model::NetRS485prg& programNetwork() { return programNetwork_; }
  model::ValueContext& valueContext() { return context_; }
  model::DescBranch* root() const { return model_.mainTree(); }
  std::vector<std::string>& names() { return names_; }
  const std::vector<std::string>& names() const { return names_; }

  model::Parameter* findCatalogueParameter(const std::string& name, int32_t index = -1) const;
  exchange::CatalogueLookup catalogueLookup() const;
  // A branch by its names from the root joined with "/" (empty: the root); null if none.
  model::DescBranch* findBranch(const std::string& path) const;

  // In command-line runs the version warning is not shown.
  void setCommandLineMode(bool on) { commandLineMode_ = on; }

  // Writes the configuration through a temporary file renamed over `path`, so a failure
  // never leaves a half-written file.
  FileResult save(const std::string& path) const;
  // Reads a configuration. A file that is short, malformed, or written for another tree
  // is refused, and the document stays exactly as it was.
  FileResult open(const std::string& path);
  // Every name becomes "Имя не задано" and every value of the tree is reset.
  void resetDocument();

private:
  UserPrompt* prompt_;
  model::ValueContext context_;
  model::DeviceModel model_;  // before the nodes that refer to its parameters
  model::CommonParams common_;
  model::Parameter* archiveNode_ = nullptr;  // owned by common_
  DeviceNetworkNode deviceNetwork_;
  model::NetRS485prg programNetwork_;
  ProgramPortSettings portSettings_{programNetwork_};
  std::vector<std::string> names_;
  bool commandLineMode_ = false;
  exchange::DeviceLink link_;  // last: its thread touches everything above
};

}  // namespace zelmot::document
