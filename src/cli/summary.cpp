#include "cli/summary.h"

#include <array>

namespace lintora::cli {

namespace {

std::string counted(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string sideLine(int side, const RunResult& result, const CliOptions& options,
                     const FormatChoice& formats) {
    const SideFacts& facts = result.sides[side - 1];
    const RunInputs& in = options.inputs;
    std::string line =
        "side " + std::to_string(side) + ": " + (side == 1 ? in.format1 : in.format2);
    if (formats.sides[side - 1].detected)
        line += " (recognised)";
    line += ", " + counted(facts.nets, "net", "nets") + ", " + counted(facts.pins, "pin", "pins") +
            ", " + counted(facts.parts, "part", "parts");
    const std::size_t names = facts.duplicateNetNames.repeats.size();
    const std::size_t pins = facts.duplicatePins.repeats.size();
    if (names + pins > 0)
        line += " (duplicates: " + counted(names, "net name", "net names") + ", " +
                counted(pins, "pin", "pins") + ")";
    return line + ": " + (side == 1 ? in.path1 : in.path2);
}

// How many parts a summary line names before it only counts the rest.
constexpr std::size_t kNamedParts = 10;

std::string_view reasonText(NotProposedReason reason) {
    switch (reason) {
    case NotProposedReason::NoCounterpart:
        return "could not be paired";
    case NotProposedReason::NameTaken:
        return "its new name is kept by an unpaired part";
    case NotProposedReason::PinNames:
        return "pins not renamed, their names overlap the partner's (see --pin-change)";
    case NotProposedReason::RenamedByUser:
        return "named by your swap file";
    }
    return "could not be paired";
}

// "R7", "R7 (as R9)", "C9 (side 2)", "C9 (side 2, with C4)"; a partner of the same name
// goes unsaid.
std::string notProposedEntry(const NotProposedPart& part) {
    const bool partner = !part.partner.empty() && part.partner != part.reference;
    if (part.side == 1)
        return partner ? part.reference + " (as " + part.partner + ")" : part.reference;
    std::string entry = part.reference + " (side " + std::to_string(part.side);
    if (partner)
        entry += ", with " + part.partner;
    return entry + ")";
}

} // namespace

std::vector<std::string> proposalSummaryLines(const SwapProposal& p, const CliOptions& options,
                                              bool written) {
    std::vector<std::string> lines;
    std::string pairs = "swap proposal: ";
    if (p.proposesNothing())
        pairs += "nothing to propose";
    else
        pairs += counted(p.referencePairs.size(), "reference pair", "reference pairs") + " and " +
                 counted(p.pinPairs.size(), "pin pair", "pin pairs") + " proposed";
    pairs += "; " + counted(p.partsPairedAsThemselves, "part", "parts") + " paired as themselves";
    lines.push_back(pairs);
    lines.push_back("swap proposal: side-1 nets matching a side-2 net: " +
                    std::to_string(p.netsMatchingBefore) + " of " + std::to_string(p.nets1) +
                    " before, " + std::to_string(p.netsMatchingAfter) + " of " +
                    std::to_string(p.nets1) + " after");

    constexpr std::array reasons{NotProposedReason::NoCounterpart, NotProposedReason::NameTaken,
                                 NotProposedReason::PinNames, NotProposedReason::RenamedByUser};
    for (const NotProposedReason reason : reasons) {
        std::size_t count = 0;
        std::string named;
        for (const NotProposedPart& part : p.notProposed) {
            if (part.reason != reason)
                continue;
            if (count++ < kNamedParts)
                named += (named.empty() ? "" : ", ") + notProposedEntry(part);
        }
        if (count == 0)
            continue;
        std::string line = "swap proposal: not proposed, " + std::string(reasonText(reason)) +
                           " (" + std::to_string(count) + "): " + named;
        if (count > kNamedParts)
            line += " and " + std::to_string(count - kNamedParts) + " more";
        lines.push_back(line);
    }

    if (!written)
        return lines;
    const std::string& file = options.proposeSwap;
    std::string wrote = "wrote " + file + " (" + counted(p.pairCount(), "pair", "pairs");
    if (p.proposesNothing()) {
        wrote += p.userPairs.empty() ? "): nothing to swap" : ", all from your swap file)";
    } else {
        if (!p.userPairs.empty())
            wrote += ", " + std::to_string(p.userPairs.size()) + " of them from your swap file";
        wrote += "); run again with --swap " + file;
        if (p.pairCount() > Limits{}.swapPairs)
            wrote += " --no-limits";
        wrote += " to see the real differences";
    }
    lines.push_back(wrote);
    return lines;
}

std::vector<std::string> proposalWarnings(const SwapProposal& p, const CliOptions& options,
                                          const Limits& limits) {
    if (p.pairCount() <= limits.swapPairs)
        return {};
    return {options.proposeSwap + " holds " + std::to_string(p.pairCount()) +
            " pairs, more than the " + std::to_string(limits.swapPairs) +
            " a swap file may hold: the run with --swap " + options.proposeSwap +
            " needs --no-limits"};
}

std::vector<std::string> summaryLines(const RunResult& result, const CliOptions& options,
                                      const FormatChoice& formats) {
    std::vector<std::string> lines{sideLine(1, result, options, formats),
                                   sideLine(2, result, options, formats)};
    const NetComparison& c = result.comparison;
    std::string found = "found: ";
    if (c.identical())
        found += "no net differences";
    else
        found += counted(c.differences.size(), "net", "nets") + " with differences, " +
                 counted(c.unpaired1.size(), "net", "nets") + " only on side 1, " +
                 counted(c.unpaired2.size(), "net", "nets") + " only on side 2";
    if (result.parts) {
        const PartsFindings& p = *result.parts;
        if (p.mismatches.empty() && p.onlyIn1.empty() && p.onlyIn2.empty())
            found += "; no parts differences";
        else
            found += "; parts: " + counted(p.mismatches.size(), "name differs", "names differ") +
                     ", " + counted(p.onlyIn1.size(), "part", "parts") + " only on side 1, " +
                     counted(p.onlyIn2.size(), "part", "parts") + " only on side 2";
    }
    lines.push_back(found);
    return lines;
}

std::vector<std::string> resultWarnings(const RunResult& result, const CliOptions& options) {
    std::vector<std::string> warnings;
    for (int side = 1; side <= 2; ++side) {
        if (!result.sides[side - 1].read || result.sides[side - 1].nets > 0)
            continue;
        const RunInputs& in = options.inputs;
        warnings.push_back("FILE" + std::to_string(side) + " (" +
                           (side == 1 ? in.path1 : in.path2) + ") gave no nets: is it really a " +
                           (side == 1 ? in.format1 : in.format2) + " netlist?");
    }
    return warnings;
}

} // namespace lintora::cli
