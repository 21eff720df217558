#pragma once

#include "cli/options.h"

#include <optional>
#include <string>
#include <vector>

namespace lintora::cli {

// How a side's format name was arrived at.
struct SideFormat {
    std::string typed;         // as given on the command line ("" when not given)
    bool given = false;        // --formatN was given (auto counts as not given)
    bool detected = false;     // recognised from the file's content
    bool unknown = false;      // given, but no name or alias: passed on for the run to refuse
    bool undetermined = false; // left to detect, but not detected: the file could not be
                               // read, or the paths are wrong; the run stops and says why
};

struct FormatChoice {
    SideFormat sides[2];
    std::optional<int> exitStatus;       // set when detection stopped the run
    std::string stopNote;                // then: what it said
    std::vector<std::string> candidates; // then: the formats the content fits (maybe none)
};

// Resolves both sides' format options to the names of the format table, in place in
// `options.inputs`: names and aliases in any letter case, and detection for a side whose
// format is left out or auto. Prints what it detected (unless quiet); when the content of a
// file fits no format or several, says so and sets the exit status.
FormatChoice chooseFormats(CliOptions& options);

// The line that follows the run's message about an unknown format name: the names, and the
// closest ones when the name looks like one.
std::string unknownFormatLine(int side, const std::string& typed);

} // namespace lintora::cli
