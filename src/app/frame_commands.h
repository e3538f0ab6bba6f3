#pragma once
// What the main window's commands mean apart from the window: which of them use the line
// or replace the document (off while a job runs), which run a bulk task on the whole tree
// or on the chosen branch, and the notices shown when a mode is switched on.
#include <optional>
#include <span>
#include <vector>

#include "exchange/task_kind.h"
#include "link/link_results.h"

namespace zelmot {
class UserPrompt;
}
namespace zelmot::exchange {
struct LinkCheckResult;
}
namespace zelmot::model {
class DescBranch;
class Parameter;
}  // namespace zelmot::model

namespace zelmot::app {

inline constexpr const char* kProgramCaption = "ZELMOT";
inline constexpr const char* kImmediateWriteNotice =
    "В режиме 'Моментальная запись' введеные значения\nавтоматически записываются в прибор\n"
    "сразу после ввода (без нажатия на 'Записать измененные')\nЭто ускоряет работу, но снижает "
    "надежность\nи увеличивает вероятность ошибок.\nРежим 'Моментальная запись' не "
    "записывает\nизмененные атрибуты доступа.";
inline constexpr const char* kNoAttributesNotice =
    "В режиме 'Не передавать атрибуты' обмен информацией\nоб индивидуальных защитных атрибутах "
    "параметров\nне производится.\nЭто ускоряет работу, но не дает возможность "
    "предварительно\nконтролировать доступность параметров на запись\nсо стороны компьютера "
    "(программы-конфигуратора).\nПри попытке записи защищенного параметра запрос записи\nбудет "
    "отвергнут прибором с соответствующим сообщением\nкак ошибка записи.\nЗапись измененных "
    "атрибутов принадлежности в режиме\n'Не передавать атрибуты' также не производится.";

// Commands that use the line or replace the document.
std::span<const int> taskCommands();
bool isTaskCommand(int id);

struct CommandTask {
  exchange::TaskCode code;
  bool wholeTree;  // else the branch chosen in the view
};
// The bulk task a command runs; none for other commands.
std::optional<CommandTask> commandTask(int id);

// The converter mode a converter command of the menu chooses.
link::ConverterMode converterModeForCommand(int id);

// False, told through `prompt`, when a task has no tree (or branch) to run on.
bool taskTargetDefined(const model::DescBranch* target, bool wholeTree, UserPrompt& prompt);
// The parameters of `root` whose last exchange failed, to be written again; empty, and
// told through `prompt`, when there is no tree or nothing failed.
std::vector<model::Parameter*> erroneousGroup(const model::DescBranch* root, UserPrompt& prompt);

// The status bar's link text after a link check.
const char* linkStatusAfterCheck(const exchange::LinkCheckResult& result);
// Tells the reads that failed, then the device's identity.
void tellLinkCheck(const exchange::LinkCheckResult& result, UserPrompt& prompt);

}  // namespace zelmot::app
