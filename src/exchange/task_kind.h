#pragma once
// The bulk tasks of the exchange thread, numbered as the progress dialog knows them.
#include <string>

namespace zelmot::exchange {

enum class TaskCode {
  Read = 1,
  WriteAll = 4,
  WriteChanged = 5,
  Compare = 6,
  GroupWrite = 18,
  GroupRead = 100,  // only ever chained by the task finish (forced re-read)
};

// Window title of the progress dialog while the task runs.
std::string taskTitle(TaskCode code);

}  // namespace zelmot::exchange
