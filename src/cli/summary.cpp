#include "cli/summary.h"

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

} // namespace

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
