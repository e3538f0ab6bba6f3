#pragma once
// Texts that several value encodings report. They reach the user as value texts or in
// message boxes, so they are kept exactly as the rest of the program words them.
namespace zelmot::model {

// printf format with the length of the data field.
inline constexpr const char* kReplyLengthError = "Ошибка; (Непонятная длина ответа:%i)";
inline constexpr const char* kValueTooLarge = "Значение слишком велико для формата параметра";
inline constexpr const char* kInvalidValue = "Некорректное значение параметра!";
inline constexpr const char* kNoData = "Нет данных";

}  // namespace zelmot::model
