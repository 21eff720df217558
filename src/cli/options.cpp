#include "cli/options.h"

#include "base/workspace.h"
#include "cli/exit_status.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <system_error>

namespace lintora::cli {

namespace {

constexpr std::string_view kDescription =
    "Lintora compares two netlists of one printed-circuit board net by net, by their pins\n"
    "rather than their names, and writes its reports to the working folder: cmp.txt (the\n"
    "nets), cmpprt.txt (the parts, with --parts) and errlog.txt (duplicate net names and pins\n"
    "on either side).\n";

constexpr std::string_view kFooter = R"(Formats:
  Give each file's format with --format1 and --format2, by a name or alias that
  --list-formats prints, in any letter case: telesis, pcad-wrl, "Expedition PCB". Leave the
  option out (or give auto) and Lintora recognises the format from the file's content and
  says which it took; when the content could be more than one format, the run stops and lists
  them, so that you name one.

Swap file (--swap FILE):
  One pair per line, the old name then the new one, separated by blanks or TABs. A reference
  (U1 U7) renames every pin of that part, a pin (U7.3 U7.5) that one pin. Only side 1 is
  changed. A line with a single name is skipped and listed in errlog.txt.

Swap proposal (--propose-swap FILE):
  When the board's parts were renumbered, or a library renamed a part's pins, few nets match
  by their pins. Lintora pairs side 1's parts with side 2's by the nets they sit on, whatever
  their names, and writes the pairs to FILE in the swap file's form, after the pairs of --swap
  if you gave one. FILE is written after every completed run, also when the nets differ. Look
  it over, then run again with --swap FILE to see the real differences.

Output:
  The net report, as cmp.txt holds it, goes to standard output. Messages, warnings and a short
  summary (per side the format, nets, pins and parts read; then the differences found) go to
  standard error, one line each. --json FILE writes every finding as one JSON document (see
  docs/json-report.md); --json - writes it to standard output instead of the report.

Exit status:
  0  nothing differs
  1  the nets differ (or the parts, with --parts; or, with --strict, either side has
     duplicate net names or duplicate pins)
  2  the run stopped with a message: a wrong command line, a file that is missing, unreadable
     or not of its format, a capacity overrun, a folder that cannot be written, ...

Messages:
  The run's own messages are in Japanese, like the reports; every message that stops a run is
  followed by a line in English naming the file, folder or value it concerns.)";

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

// Whether two paths as typed name one file: the same place once "." and ".." and links are
// resolved, or, for files that exist, the same file by any other way (a hard link).
bool samePath(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty())
        return false;
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path canonicalA = fs::weakly_canonical(fs::absolute(a, error), error);
    const fs::path canonicalB = fs::weakly_canonical(fs::absolute(b, error), error);
    if (!error && canonicalA == canonicalB)
        return true;
    error.clear();
    return fs::exists(a, error) && fs::exists(b, error) && fs::equivalent(a, b, error) && !error;
}

bool hasDigit(std::string_view text) {
    for (const char c : text)
        if (c >= '0' && c <= '9')
            return true;
    return false;
}

} // namespace

std::optional<int> parseCommandLine(int argc, char** argv, CliOptions& o) {
    CLI::App app{std::string(kDescription), "lintora-cli"};
    app.footer(std::string(kFooter));
    app.get_formatter()->column_width(32);

    // Every option, in the order --help lists them.
    CLI::Option* format1 = app.add_option("--format1", o.inputs.format1,
                                          "Format of FILE1 (--list-formats), or auto: recognised")
                               ->type_name("NAME");
    CLI::Option* format2 =
        app.add_option("--format2", o.inputs.format2, "Format of FILE2, as for --format1")
            ->type_name("NAME");
    app.add_option("--swap", o.inputs.swapPath, "Swap file: old and new names for side 1")
        ->type_name("FILE");
    app.add_option("--adjust", o.inputs.adjustment,
                   "Percent of shared pins that make two nets one net with differences")
        ->type_name("N")
        ->default_str("49");
    app.add_flag("--parts", o.inputs.compareParts, "Also compare the parts, into cmpprt.txt");
    app.add_option("--nonpolar", o.nonPolar,
                   "Non-polar part by letter prefix (C) or reference (C12); up to 10")
        ->type_name("REF")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--pin-change", o.pinChanges,
                   "Rename side-1 pins of parts with that prefix (D:1:A); up to 10")
        ->type_name("REF:BEFORE:AFTER")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--ignore", o.inputs.ignoredParts,
                   "Part left out of both sides, by letter prefix (MH) or reference (TP3)")
        ->type_name("REF")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--ignore-file", o.inputs.ignoreFile, "File of parts to leave out, one a line")
        ->type_name("FILE");
    app.add_flag("--skip-one-pin-nets", o.inputs.skipOnePinNets,
                 "Leave every net of a single pin out of both sides");
    app.add_option("--workdir", o.workDir, "Existing folder for the reports and scratch files")
        ->type_name("DIR")
        ->default_str(".");
    app.add_option("--encoding", o.encoding, "Encoding of the reports: utf-8 or cp932")
        ->type_name("NAME")
        ->check(CLI::IsMember({"utf-8", "cp932"}))
        ->default_str("utf-8");
    app.add_option("--check-sheet", o.checkSheet,
                   "After the run, also write the check sheet workbook (.xlsx) here")
        ->type_name("FILE");
    CLI::Option* proposeSwap =
        app.add_option("--propose-swap", o.proposeSwap,
                       "After the run, also write a swap file pairing the parts by their nets")
            ->type_name("FILE");
    app.add_option("--json", o.jsonPath, "Also write the findings as JSON (- : standard output)")
        ->type_name("FILE");
    app.add_flag("--strict", o.strict, "Exit with 1 on duplicate net names or pins as well");
    app.add_flag("--no-limits", o.noLimits, "Lift every capacity, for very large boards");
    app.add_flag("--progress", o.showProgress, "Show the progress steps on standard error");
    app.add_flag("-q,--quiet", o.quiet, "Leave out the summary and the recognised formats");
    app.add_flag("--list-formats", o.listFormats, "List the formats, their aliases and exports");
    app.add_flag("--version", o.showVersion, "Show the version and exit");
    app.add_option("FILE1", o.inputs.path1, "Netlist of side 1")->type_name("");
    app.add_option("FILE2", o.inputs.path2, "Netlist of side 2")->type_name("");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? kExitSame : kExitStopped;
    }
    o.format1Given = format1->count() > 0;
    o.format2Given = format2->count() > 0;
    o.proposeSwapGiven = proposeSwap->count() > 0;
    return std::nullopt;
}

std::optional<int> fillAdjustmentBoxes(CliOptions& o) {
    if (o.nonPolar.size() > o.inputs.nonPolar.size()) {
        std::cerr << "lintora-cli: --nonpolar: at most 10 references\n";
        return kExitStopped;
    }
    if (o.pinChanges.size() > 10) {
        std::cerr << "lintora-cli: --pin-change: at most 10 rules\n";
        return kExitStopped;
    }
    for (std::size_t i = 0; i < o.nonPolar.size(); ++i)
        o.inputs.nonPolar[i] = o.nonPolar[i];
    for (std::size_t r = 0; r < o.pinChanges.size(); ++r) {
        if (!splitPinChange(o.pinChanges[r], o.inputs.pinChange[r], o.inputs.pinChange[r + 10],
                            o.inputs.pinChange[r + 20])) {
            std::cerr << "lintora-cli: --pin-change: expected REF:BEFORE:AFTER, got \""
                      << o.pinChanges[r] << "\"\n";
            return kExitStopped;
        }
    }
    return std::nullopt;
}

std::optional<int> checkProposalPath(const CliOptions& o) {
    if (!o.proposeSwapGiven)
        return std::nullopt;
    if (o.proposeSwap.empty()) {
        std::cerr << "lintora-cli: --propose-swap: give the file to write the proposal to\n";
        return kExitStopped;
    }
    const RunInputs& in = o.inputs;
    const std::pair<const std::string*, const char*> others[] = {
        {&in.path1, "FILE1, the netlist of side 1"}, {&in.path2, "FILE2, the netlist of side 2"},
        {&in.swapPath, "your --swap file"},          {&in.ignoreFile, "your --ignore-file"},
        {&o.jsonPath, "the --json report"},          {&o.checkSheet, "the --check-sheet workbook"},
    };
    const auto refuse = [&o](std::string_view what) {
        std::cerr << "lintora-cli: --propose-swap " << o.proposeSwap << " is also " << what
                  << "; the proposal would be written over it, so give another file\n";
        return kExitStopped;
    };
    for (const auto& [path, what] : others)
        if (samePath(o.proposeSwap, *path))
            return refuse(what);
    for (const std::string_view report : {files::report, files::partsReport, files::errorLog})
        if (samePath(o.proposeSwap, (std::filesystem::path(o.workDir) / report).string()))
            return refuse("a report of the run, " + std::string(report));
    return std::nullopt;
}

std::vector<std::string> optionWarnings(const CliOptions& o) {
    std::vector<std::string> warnings;
    long adjustment = 0;
    if (parseAdjustment(o.inputs.adjustment, adjustment)) {
        if (adjustment < 0)
            warnings.push_back("--adjust " + o.inputs.adjustment +
                               " is below 0: every net is reported as one net with differences "
                               "with the first net that shares any pin with it");
        else if (adjustment > 100)
            warnings.push_back("--adjust " + o.inputs.adjustment +
                               " is above 100: no two nets with different pins pair; each is "
                               "reported as missing on the other side");
    }
    for (const std::string& rule : o.pinChanges) {
        const std::string reference = rule.substr(0, rule.find(':'));
        if (hasDigit(reference))
            warnings.push_back("--pin-change " + rule +
                               ": a rule matches the letters of a "
                               "reference (\"U\" for U1, U2, ...), so \"" +
                               reference + "\" matches no pin");
        else if (reference.empty())
            warnings.push_back("--pin-change " + rule +
                               ": without a reference the rule "
                               "changes nothing");
    }
    for (const std::string& entry : o.nonPolar)
        if (entry.empty())
            warnings.push_back("--nonpolar with an empty value makes no part non-polar");
    return warnings;
}

} // namespace lintora::cli
