#pragma once

#include "cli/format_choice.h"
#include "cli/options.h"
#include "run/comparison_run.h"

#include <string>

namespace lintora::cli {

// The line that follows the message of a stopped run: which file, folder or value the stop
// concerns, and what to do about it.
std::string stopContext(const RunResult& result, const CliOptions& options,
                        const FormatChoice& formats);

} // namespace lintora::cli
