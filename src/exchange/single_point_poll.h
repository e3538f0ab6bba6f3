#pragma once
// Free access to one parameter by its command name: read or write it once, outside the
// tree, with every data byte sent and received listed. The dialog that shows this state
// belongs to the desktop program; the CLI's get and set use it directly.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zelmot::link {
class DeviceProtocol;
}
namespace zelmot::model {
class DescBranch;
class Parameter;
}  // namespace zelmot::model

namespace zelmot::exchange {

inline constexpr const char* kUndefinedTypeText = "<тип неопределен>";
inline constexpr const char* kInitialCommandName = "vEr";
inline constexpr const char* kInitialDescription = "Описание параметра";

struct SinglePointRequest {
  std::string name = kInitialCommandName;
  bool write = false;
  std::string value;           // written value
  bool indexPresent = false;
  bool indexInAddress = false; // false: the index travels in the data field
  std::string indexText = "0";
};

// What the dialog shows for a command name before anything is sent.
struct CommandDescription {
  std::string codeText;                // "0x%X" of the command code
  std::string typeText;                // type descriptor, or "<тип неопределен>"
  std::string descriptionField;        // description + " (" + type + ")"
  std::vector<std::string> choices;    // enumeration items, "_" shown as a blank
};

struct SinglePointOutcome {
  bool described = false;         // false: nothing was sent; `refusal` says why
  std::string refusal;
  int result = 0;                 // result of the transaction
  std::vector<std::string> log;   // the log lines, result lines last
};

// Describes `temporary` as the catalogue describes `descriptor`: what a transaction and the
// value checks need (name, type, decimals, limits, context).
void describeTemporary(const model::Parameter& descriptor, model::Parameter& temporary);

class SinglePointPoll {
public:
  using Catalogue = std::vector<std::unique_ptr<model::Parameter>>;
  SinglePointPoll(link::DeviceProtocol& link, const Catalogue& catalogue);

  // Every descriptor name once (a name equal to an earlier one ignoring case is left out).
  std::vector<std::string> commandNames() const;
  CommandDescription describe(const std::string& name) const;
  SinglePointOutcome execute(const SinglePointRequest& request) const;

  // The parameter of the tree with that name and, when the index is present, that linear
  // index; null when there is none.
  static model::Parameter* findInTree(const model::DescBranch& root, const SinglePointRequest& request);

  // The catalogue's first descriptor of that name (ignoring case), or null.
  const model::Parameter* findDescriptor(const std::string& name) const;

private:

  link::DeviceProtocol& link_;
  const Catalogue& catalogue_;
};

}  // namespace zelmot::exchange
