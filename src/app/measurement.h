#pragma once
// The measuring side of the window without the window: which parameters an expanded
// branch reads, the poll period typed in the "Параметр" column, the immediate write's
// result, and what the rows of polled parameters and of the archive node show.
#include <functional>
#include <string>
#include <vector>

namespace zelmot {
class UserPrompt;
}
namespace zelmot::exchange {
class ExchangeEngine;
class PollScheduler;
}  // namespace zelmot::exchange
namespace zelmot::model {
class Parameter;
}

namespace zelmot::app {

class TreeRow;

inline constexpr const char* kReadingNoticeText = "Чтение параметров...";
inline constexpr const char* kPollPeriodRefusedText =
    "Период опроса должен быть задан числом в миллисекундах.\n"
    "Период опроса не может быть меньше 1000 миллисекунд";
inline constexpr const char* kPollPeriodRefusedCaption = "Неудалось изменить период опроса";
// The program parameter that stands for the measurement archive: its box is the switch.
inline constexpr const char* kArchiveNodeName = "    ";

// Results of the read on expand, besides those of read one.
inline constexpr int kExpandNoParameter = -3;
inline constexpr int kExpandNoTree = -1;
inline constexpr int kExpandNothingToDo = -2;
// Result of the immediate write when nothing was written (mode off or value unchanged).
inline constexpr int kWritePending = 1000;

bool isArchiveNode(const model::Parameter& parameter);

// Reads one parameter of an expanded branch when it was never read, has no error, is no
// polled or archive parameter and automatic reading is on; kExpandNothingToDo otherwise.
int readOnExpand(exchange::ExchangeEngine& engine, model::Parameter* parameter, bool treeExists);

// The parameters among the children of `row` that an expansion would read, in row order;
// empty when automatic reading is off.
std::vector<model::Parameter*> expandReadList(const TreeRow& row, bool autoReading);

// Reads the list in order with read one; stops when automatic reading was switched off
// (the fifth time-out in a row does that). `before` runs before the first read (the
// notice), `after` after each. Returns the number of reads made.
int readExpanded(exchange::ExchangeEngine& engine, const std::vector<model::Parameter*>& list,
                 const std::function<void()>& before,
                 const std::function<void(model::Parameter&)>& after);

// Write one with all-mode on when the mode is on and the value changed; kWritePending else.
int immediateWrite(exchange::ExchangeEngine& engine, model::Parameter& parameter, bool modeOn);

// Takes a period typed in the "Параметр" column: a whole number of milliseconds not below
// 1000 is stored (a running poll starts its period anew); anything else is refused with
// the message and false, and the cell shows the old period again.
bool takePollPeriodEdit(exchange::PollScheduler& polling, model::Parameter& parameter,
                        const std::string& text, UserPrompt& prompt);

// Whether the row carries a check box: a polled parameter, or the archive node.
bool rowHasCheckBox(const TreeRow& row);

}  // namespace zelmot::app
