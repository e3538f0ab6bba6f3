#pragma once
// The help and the command-line errors of zelmot-cli in Russian, like the rest of its texts.
#include <CLI/CLI.hpp>

#include <string>

namespace zelmot::cli {

// Labels of the help screen and the text of the help flag; sub-commands added later inherit
// the formatter, this sets the help flag of `app` itself.
void setRussianHelp(CLI::App& app);

// "Ошибка в командной строке: ..." for a parse error, with CLI11's own detail.
std::string parseErrorText(const CLI::Error& error);

}  // namespace zelmot::cli
