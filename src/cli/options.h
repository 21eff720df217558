#pragma once

#include "run/comparison_run.h"

#include <optional>
#include <string>
#include <vector>

namespace lintora::cli {

// Everything the command line can say, as given.
struct CliOptions {
    RunInputs inputs;          // format1/format2 as typed; see format1Given
    bool format1Given = false; // --format1 was on the command line (perhaps empty or "auto")
    bool format2Given = false;
    std::vector<std::string> nonPolar;
    std::vector<std::string> pinChanges; // REF:BEFORE:AFTER
    std::string workDir = ".";
    std::string encoding = "utf-8";
    std::string jsonPath;    // empty: no JSON report; "-": standard output
    std::string checkSheet;  // empty: no check sheet workbook
    std::string proposeSwap; // where the proposed swap file goes; see proposeSwapGiven
    bool proposeSwapGiven = false;
    bool noLimits = false;
    bool listFormats = false;
    bool showVersion = false;
    bool showProgress = false;
    bool quiet = false;
    bool strict = false;
};

// Reads the command line into `options`. Returns an exit status when the program is done
// already (--help, or a command line it cannot take, after saying why on standard error).
std::optional<int> parseCommandLine(int argc, char** argv, CliOptions& options);

// Fills the run's non-polar and pin-change boxes from the options. Returns an exit status
// after saying why on standard error when they do not fit.
std::optional<int> fillAdjustmentBoxes(CliOptions& options);

// Refuses a --propose-swap FILE that is one of the run's own inputs (a netlist, the swap
// file, the ignore file) or another of its outputs (--json, --check-sheet, the reports in the
// working folder): the proposal is written over whatever is there. Returns an exit status after saying why on standard error.
std::optional<int> checkProposalPath(const CliOptions& options);

// Warnings for options that cannot do what the user meant (the run goes on), one line each.
std::vector<std::string> optionWarnings(const CliOptions& options);

} // namespace lintora::cli
