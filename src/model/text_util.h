#pragma once
// Small text helpers shared by the model: texts from files and editors carry surrounding
// blanks and control characters that must not reach a conversion. (Case-insensitive ASCII
// helpers are in platform/ascii_text.h.)
#include <string>
#include <string_view>
#include <vector>

namespace zelmot::model {

// Removes characters with codes up to 32 (blanks and control characters).
std::string_view trimRight(std::string_view text);
std::string_view trimLeft(std::string_view text);
std::string_view trim(std::string_view text);

// Splits at every separator; an empty text gives one empty item.
std::vector<std::string> splitText(std::string_view text, char separator);

std::string replaceAll(std::string_view text, char from, char to);

// Number of characters of a UTF-8 text (continuation bytes are not counted).
size_t utf8Length(std::string_view text);

// True when every byte of the text is one of `allowed`.
bool consistsOf(std::string_view text, std::string_view allowed);

// printf-style formatting into a std::string.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace zelmot::model
