// lintora-cli: compares two netlists from the command line.
//
//   lintora-cli --format1 Telesis --format2 PADSPCB schematic.net board.asc
//
// Exit status: 0 when nothing differs, 1 when the comparison found differences, 2 when the
// run stopped with a message (or the command line was wrong).

#include "cli/console_observer.h"
#include "run/check_sheet.h"
#include "run/comparison_run.h"
#include "run/format_table.h"

#include <CLI/CLI.hpp>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kExitSame = 0;
constexpr int kExitDifferent = 1;
constexpr int kExitStopped = 2;

std::string version() {
    return std::to_string(LINTORA_VERSION_MAJOR) + "." + std::to_string(LINTORA_VERSION_MINOR) +
           "." + std::to_string(LINTORA_VERSION_PATCH);
}

// "REF:BEFORE:AFTER" into the three pin-change columns of one row.
bool splitPinChange(const std::string& rule, std::string& reference, std::string& before,
                    std::string& after) {
    const auto first = rule.find(':');
    if (first == std::string::npos)
        return false;
    const auto second = rule.find(':', first + 1);
    if (second == std::string::npos || rule.find(':', second + 1) != std::string::npos)
        return false;
    reference = rule.substr(0, first);
    before = rule.substr(first + 1, second - first - 1);
    after = rule.substr(second + 1);
    return true;
}

void printResult(const std::string& resultText) {
    std::string out;
    out.reserve(resultText.size());
    for (std::size_t i = 0; i < resultText.size(); ++i) {
        if (resultText[i] == '\r' && i + 1 < resultText.size() && resultText[i + 1] == '\n')
            continue; // CR LF -> LF on a Linux terminal
        out += resultText[i];
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    // A file-size limit must show up as a failed write, not kill the process.
    std::signal(SIGXFSZ, SIG_IGN);

    lintora::RunInputs inputs;
    lintora::RunOptions options;
    std::vector<std::string> nonPolar;
    std::vector<std::string> pinChanges;
    std::vector<std::string> netlists;
    std::string workDir = ".";
    std::string encoding = "utf-8";
    std::string checkSheet;
    bool noLimits = false;
    bool listFormats = false;
    bool showVersion = false;
    bool showProgress = false;

    CLI::App app{"Lintora: compares two netlists net by net, by their pins."};
    app.add_option("--format1", inputs.format1, "Format of FILE1 (see --list-formats)");
    app.add_option("--format2", inputs.format2, "Format of FILE2");
    app.add_option("--swap", inputs.swapPath, "Swap file: old and new names for side 1");
    app.add_option("--adjust", inputs.adjustment,
                   "Percent of shared pins that makes two nets one net with differences")
        ->default_str("49");
    app.add_flag("--parts", inputs.compareParts, "Also compare the parts (cmpprt.txt)");
    app.add_option("--nonpolar", nonPolar,
                   "Reference (or letter prefix) of a non-polar part; up to 10")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--pin-change", pinChanges,
                   "REF:BEFORE:AFTER, renames side-1 pins; up to 10")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--ignore", inputs.ignoredParts,
                   "Part left out of both sides, by letter prefix (MH) or reference (TP3)")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--ignore-file", inputs.ignoreFile, "File of parts to leave out, one a line");
    app.add_flag("--skip-one-pin-nets", inputs.skipOnePinNets,
                 "Leave every net of a single pin out of both sides");
    app.add_option("--workdir", workDir, "Directory for scratch files and reports")
        ->default_str(".");
    app.add_option("--encoding", encoding, "Encoding of the reports")
        ->check(CLI::IsMember({"utf-8", "cp932"}))
        ->default_str("utf-8");
    app.add_option("--check-sheet", checkSheet,
                   "After the run, also write the check sheet workbook (.xlsx) to this file");
    app.add_flag("--no-limits", noLimits, "Lift every capacity (nets, pins, parts, swap pairs)");
    app.add_flag("--progress", showProgress, "Show the progress steps on standard error");
    app.add_flag("--list-formats", listFormats, "List the format names and exit");
    app.add_flag("--version", showVersion, "Show the version and exit");
    app.add_option("FILE1 FILE2", netlists, "The two netlists: side 1, then side 2")
        ->expected(0, 2);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? kExitSame : kExitStopped;
    }

    if (showVersion) {
        std::cout << "lintora-cli " << version() << '\n';
        return kExitSame;
    }
    if (listFormats) {
        for (const auto name : lintora::formatNamesForDisplay())
            std::cout << name << '\n';
        return kExitSame;
    }
    if (nonPolar.size() > inputs.nonPolar.size()) {
        std::cerr << "--nonpolar: at most 10 references\n";
        return kExitStopped;
    }
    if (pinChanges.size() > 10) {
        std::cerr << "--pin-change: at most 10 rules\n";
        return kExitStopped;
    }
    for (std::size_t i = 0; i < nonPolar.size(); ++i)
        inputs.nonPolar[i] = nonPolar[i];
    for (std::size_t r = 0; r < pinChanges.size(); ++r) {
        if (!splitPinChange(pinChanges[r], inputs.pinChange[r], inputs.pinChange[r + 10],
                            inputs.pinChange[r + 20])) {
            std::cerr << "--pin-change: expected REF:BEFORE:AFTER, got \"" << pinChanges[r]
                      << "\"\n";
            return kExitStopped;
        }
    }
    if (!netlists.empty())
        inputs.path1 = netlists[0];
    if (netlists.size() > 1)
        inputs.path2 = netlists[1];
    options.workDir = workDir;
    options.reportEncoding =
        encoding == "cp932" ? lintora::TextEncoding::Cp932 : lintora::TextEncoding::Utf8;
    if (noLimits)
        options.limits = lintora::Limits::unlimited();

    lintora::ConsoleObserver observer(showProgress);
    const lintora::RunResult result = lintora::runComparison(inputs, options, observer);
    if (result.sideWithoutNets != 0)
        std::cerr << "lintora-cli: no net was found in "
                  << (result.sideWithoutNets == 1 ? inputs.path1 : inputs.path2) << '\n';
    if (result.outcome != lintora::RunOutcome::Completed)
        return kExitStopped;
    printResult(result.resultText);
    if (!checkSheet.empty() && !lintora::writeCheckSheetFile(options.workDir, checkSheet, observer))
        return kExitStopped;
    return result.allClear && !result.partsDiffer ? kExitSame : kExitDifferent;
}
