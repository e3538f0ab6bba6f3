#pragma once
// The small language of the model source: index ranges ("0..7"), integer expressions over
// the variables of `repeat` ("p*10+s") and texts with placeholders ("Вход {n}", "{i+1}").
// A literal brace is written twice ("{{", "}}").
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zelmot::desc {

using Bindings = std::vector<std::pair<std::string, int>>;

// "a..b" (a <= b) or a single number "a". False with `error` set otherwise.
bool parseRange(std::string_view text, int& first, int& last, std::string& error);

// Integers, variables, + - * / % and parentheses. Division by zero is an error.
bool evaluateExpression(std::string_view text, const Bindings& bindings, int& value,
                        std::string& error);

// Replaces every {expression} by its value.
bool expandTemplate(std::string_view text, const Bindings& bindings, std::string& out,
                    std::string& error);

// Doubles the braces so that expandTemplate gives the text back unchanged.
std::string escapeTemplate(std::string_view text);

}  // namespace zelmot::desc
