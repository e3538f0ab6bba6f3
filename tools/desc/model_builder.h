#pragma once
// `zelmot-desc build`: reads the model source, applies every rule, and writes the four
// description files. Nothing is written when the source has an error.
#include <filesystem>

#include "model_source.h"
#include "source_error.h"

namespace zelmot::desc {

// Reads the source and checks the records; the errors point at file and line.
bool compileModel(const std::filesystem::path& modelDir, SourceModel& model, SourceErrors& errors);

// Writes the four files into outDir (created when missing).
bool writeDescriptionFiles(const SourceModel& model, const std::filesystem::path& outDir, SourceErrors& errors);

bool buildModel(const std::filesystem::path& modelDir, const std::filesystem::path& outDir, SourceErrors& errors);

}  // namespace zelmot::desc
