// lintora-cli: compares two netlists from the command line.
//
//   lintora-cli schematic.net board.asc
//   lintora-cli --format1 telesis --format2 padspcb --json result.json schematic.net board.asc
//
// Exit status: 0 when nothing differs, 1 when the comparison found differences, 2 when the
// run stopped with a message (or the command line was wrong).

#include "base/messages.h"
#include "base/text_file.h"
#include "cli/console_observer.h"
#include "cli/exit_status.h"
#include "cli/format_choice.h"
#include "cli/json_report.h"
#include "cli/options.h"
#include "cli/stop_context.h"
#include "cli/summary.h"
#include "run/check_sheet.h"
#include "run/comparison_run.h"
#include "run/format_table.h"
#include "run/swap_proposal.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>

using namespace lintora;
using namespace lintora::cli;

namespace {

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

void listFormats() {
    std::cout << "Format names for --format1 and --format2 (any letter case), their aliases, and "
                 "what they read:\n\n";
    for (const std::string_view name : formatNamesForDisplay()) {
        const FormatEntry* entry = findFormat(name);
        std::string aliases;
        for (const std::string_view alias : entry->aliases)
            if (!alias.empty())
                aliases += (aliases.empty() ? "" : ", ") + std::string(alias);
        std::string line(name);
        line.resize(std::max<std::size_t>(line.size() + 2, 24), ' ');
        line += aliases;
        line.resize(std::max<std::size_t>(line.size() + 2, 50), ' ');
        std::cout << line << entry->reads << '\n';
    }
    std::cout
        << "\nauto (or leaving the option out) recognises the format by the file's content.\n";
}

// Writes the JSON report where asked; false (after the message) when it cannot be written.
bool writeJson(const CliOptions& options, const JsonFacts& facts, ConsoleObserver& observer) {
    if (options.jsonPath.empty())
        return true;
    const std::string text = jsonReport(facts);
    if (options.jsonPath == "-") {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
        return true;
    }
    try {
        writeFileAtomically(options.jsonPath, text);
        return true;
    } catch (const std::exception&) {
        observer.message(std::string(messages::kWriteFailed) + options.jsonPath);
        printNote("the JSON report " + options.jsonPath +
                  " cannot be written: no permission, a missing folder, or a full disk");
        return false;
    }
}

// Writes the swap proposal where --propose-swap asked; false (after the message) when it
// cannot be written.
bool writeProposal(const CliOptions& options, const SwapProposal& proposal,
                   ConsoleObserver& observer) {
    try {
        writeSwapProposalFile(options.proposeSwap, proposal);
        return true;
    } catch (const std::exception&) {
        observer.message(std::string(messages::kWriteFailed) + options.proposeSwap);
        return false;
    }
}

} // namespace

int main(int argc, char** argv) {
    // A file-size limit must show up as a failed write, not kill the process.
    std::signal(SIGXFSZ, SIG_IGN);

    CliOptions options;
    if (const auto done = parseCommandLine(argc, argv, options))
        return *done;
    if (options.showVersion) {
        std::cout << "lintora-cli " << programVersion() << '\n';
        return kExitSame;
    }
    if (options.listFormats) {
        listFormats();
        return kExitSame;
    }
    if (const auto done = fillAdjustmentBoxes(options))
        return *done;
    if (const auto done = checkProposalPath(options))
        return *done;
    for (const std::string& warning : optionWarnings(options))
        printNote("warning: " + warning);

    ConsoleObserver observer(options.showProgress, options.workDir);
    const FormatChoice formats = chooseFormats(options);
    if (formats.exitStatus) {
        JsonFacts facts{options,         formats, nullptr, observer.messages(), *formats.exitStatus,
                        formats.stopNote};
        writeJson(options, facts, observer);
        return *formats.exitStatus;
    }

    RunOptions runOptions;
    runOptions.workDir = options.workDir;
    runOptions.reportEncoding =
        options.encoding == "cp932" ? TextEncoding::Cp932 : TextEncoding::Utf8;
    if (options.noLimits)
        runOptions.limits = Limits::unlimited();
    if (options.proposeSwapGiven)
        runOptions.swapProposal = RunOptions::SwapProposal::AlongsideComparison;
    const RunResult result = runComparison(options.inputs, runOptions, observer);

    if (result.outcome != RunOutcome::Completed) {
        const std::string context = stopContext(result, options, formats);
        if (!context.empty())
            printNote(context);
        JsonFacts facts{options, formats, &result, observer.messages(), kExitStopped, context};
        writeJson(options, facts, observer);
        return kExitStopped;
    }

    const bool differs = !result.allClear || result.partsDiffer;
    int exitStatus =
        differs || (options.strict && result.hasDuplicates()) ? kExitDifferent : kExitSame;
    std::string context;
    for (const std::string& warning : resultWarnings(result, options))
        printNote("warning: " + warning);
    if (options.jsonPath != "-")
        printResult(result.resultText);
    if (!options.checkSheet.empty() &&
        !writeCheckSheetFile(options.workDir, options.checkSheet, observer)) {
        context = "the check sheet " + options.checkSheet +
                  " cannot be written: a missing folder, no permission, or a spreadsheet "
                  "program holds it open";
        printNote(context);
        exitStatus = kExitStopped;
    }
    bool proposalWritten = false;
    if (options.proposeSwapGiven && result.proposal) {
        proposalWritten = writeProposal(options, *result.proposal, observer);
        if (proposalWritten) {
            for (const std::string& warning :
                 proposalWarnings(*result.proposal, options, runOptions.limits))
                printNote("warning: " + warning);
        } else {
            const std::string note = "the swap proposal " + options.proposeSwap +
                                     " cannot be written: no permission, a missing folder, or "
                                     "a full disk";
            printNote(note);
            if (context.empty())
                context = note;
            exitStatus = kExitStopped;
        }
    }
    if (!options.quiet) {
        for (const std::string& line : summaryLines(result, options, formats))
            printNote(line);
        if (options.proposeSwapGiven && result.proposal)
            for (const std::string& line :
                 proposalSummaryLines(*result.proposal, options, proposalWritten))
                printNote(line);
        if (options.strict && !differs && result.hasDuplicates())
            printNote("--strict: duplicate net names or pins make the exit status 1");
    }
    JsonFacts facts{options,    formats, &result,        observer.messages(),
                    exitStatus, context, proposalWritten};
    if (!writeJson(options, facts, observer))
        return kExitStopped;
    return exitStatus;
}
