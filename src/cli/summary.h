#pragma once

#include "cli/format_choice.h"
#include "cli/options.h"
#include "run/comparison_run.h"

#include <string>
#include <vector>

namespace lintora::cli {

// The short summary of a completed run for people: a line per side (format, nets, pins and
// parts read, path), then a line of what the comparison found.
std::vector<std::string> summaryLines(const RunResult& result, const CliOptions& options,
                                      const FormatChoice& formats);

// Warnings about what a completed run read: a side without any net was most likely read
// with the wrong format.
std::vector<std::string> resultWarnings(const RunResult& result, const CliOptions& options);

} // namespace lintora::cli
