#pragma once
// Fixed texts of the exchange engine that other code keys on or shows to the user.
namespace zelmot::exchange {

inline constexpr const char* kNoDataText = "Нет данных";
inline constexpr const char* kTimeoutText = "Таймаут при передаче данных (нет связи)";
inline constexpr const char* kNotInitialisedText =
    "Значение не записанно, так как параметер не инициализирован";
inline constexpr const char* kMismatchPrefix = "Знач-е в приборе:";

inline constexpr const char* kTaskDoneText =
    "Задание выполнено. Окно будет закрыто автоматически.";
inline constexpr const char* kForcedReReadText =
    "Принудительное перечитывание некоторых параметров";
inline constexpr const char* kFiveWriteFailuresText = "Прошло 5 безуспешных попыток записи!";
inline constexpr const char* kPreReadText = "Прочитаем предварительно этот параметр";
inline constexpr const char* kErrorReturnedText = "Вернулась ошибка:";
inline constexpr const char* kNoErroneousText = "Ошибочных параметров не обнаружено!";
inline constexpr const char* kTreeUndefinedText = "Дерево не определено";
inline constexpr const char* kBranchUndefinedText = "Ветвь не определена";
inline constexpr const char* kOperationImpossibleCaption = "Операция невозможна";
inline constexpr const char* kWarningCaption = "Предупреждение";
// The error text of the parameter whose exchange found the line gone, and the start of the
// one message that ends the task.
inline constexpr const char* kLinkLostText = "Связь с прибором потеряна";
inline constexpr const char* kTaskStoppedText =
    "Задание прервано. Параметры, до которых не дошла очередь, не изменены.";
inline constexpr const char* kWritesUnansweredText = "прибор перестал отвечать на запись";

}  // namespace zelmot::exchange
