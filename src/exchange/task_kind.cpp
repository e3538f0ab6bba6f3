#include "exchange/task_kind.h"

namespace zelmot::exchange {

std::string taskTitle(TaskCode code) {
  switch (code) {
    case TaskCode::Read:
    case TaskCode::GroupRead:
      return "Идет чтение параметров из прибора";
    case TaskCode::WriteAll:
      return "Идет запись параметров в прибор";
    case TaskCode::WriteChanged:
      return "Идет запись измененных значений параметров в прибор";
    case TaskCode::Compare:
      return "Идет сравнение параметров в конфигурации и в приборе";
    case TaskCode::GroupWrite:
      return "Идет запись группы параметров в прибор";
  }
  return {};
}

}  // namespace zelmot::exchange
