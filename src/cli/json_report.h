#pragma once

#include "cli/format_choice.h"
#include "cli/options.h"
#include "run/comparison_run.h"

#include <string>
#include <vector>

namespace lintora::cli {

// Everything the JSON report tells (docs/json-report.md describes it).
struct JsonFacts {
    const CliOptions& options;
    const FormatChoice& formats;
    const RunResult* result = nullptr; // null when the run did not start
    std::vector<std::string> messages; // the run's messages, in order
    int exitStatus = 0;
    std::string context;          // the line that explained a stop
    bool proposalWritten = false; // the --propose-swap file was written
};

// The JSON report as one document.
std::string jsonReport(const JsonFacts& facts);

// The program's version, "major.minor.patch".
std::string programVersion();

} // namespace lintora::cli
