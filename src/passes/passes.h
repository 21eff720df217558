#pragma once

// The checks and transformations that run between a side's conversion and the comparison.

#include "base/workspace.h"

#include <string>
#include <vector>

namespace lintora {

// A net name or pin that occurs more than once on a side, with how often.
struct RepeatedName {
    std::string name;
    std::size_t occurrences = 0;
};

// What a duplicate check read and found, for callers that want it as data besides the text.
struct DuplicateFindings {
    std::size_t itemsRead = 0;         // net lines (for names) or pins looked at
    std::vector<RepeatedName> repeats; // in binary order
};

// checkDuplicateNetNames: finds net names that occur on more than one line of net.tmp, warns once
// and appends them to the error text. Never changes the file or stops the run.
void checkDuplicateNetNames(Workspace& ws, std::string& errorText,
                            DuplicateFindings* findings = nullptr);

// checkDuplicatePins: finds pins that occur more than once in net.tmp (in two nets or twice in
// one), warns once and appends them to the error text. Never changes the file or stops the run.
void checkDuplicatePins(Workspace& ws, std::string& errorText,
                        DuplicateFindings* findings = nullptr);

} // namespace lintora

#include <array>
#include <string_view>
#include <vector>

namespace lintora {

// The option list that carries the non-polar references (entries 0-9; entry 10 stays
// empty) or the pin-number change table (references 0-9, pins before 10-19, pins after
// 20-29) to the passes, upper-cased.
using OptionList = std::array<std::string, 31>;

// A line of the swap file that the pass passed over (it holds a single name).
struct SkippedSwapLine {
    std::size_t lineNumber = 0; // from 1
    std::string text;
};

// A pair of the swap file: every pin of `oldName` (a reference) or the one pin `oldName`
// becomes `newName`.
struct SwapPair {
    std::string oldName;
    std::string newName;
};

// applySwapFile: renames side 1's references and pins in net.tmp and parts1.tmp by the pairs of
// old and new names in the swap file, and returns the pairs in file order. Lines it cannot
// use are listed in the error text (and in `skipped`, when given).
std::vector<SwapPair> applySwapFile(Workspace& ws, const std::string& swapPath,
                                    std::string& errorText,
                                    std::vector<SkippedSwapLine>* skipped = nullptr);

// A reference both sides have, with different part names.
struct PartMismatch {
    std::string reference;
    std::string name1;
    std::string name2;
};

// A part only one side has.
struct UnpairedPart {
    std::string reference;
    std::string name;
};

// What the parts comparison found, as cmpprt.txt lists it.
struct PartsFindings {
    std::size_t parts1 = 0; // parts of each side taken into the comparison
    std::size_t parts2 = 0;
    std::vector<PartMismatch> mismatches; // in side-1 file order
    std::vector<UnpairedPart> onlyIn1;    // parts side 2 lacks, in side-1 file order
    std::vector<UnpairedPart> onlyIn2;    // parts side 1 lacks, in side-2 file order
};

// compareParts: pairs the parts of parts1.tmp and parts2.tmp by reference and writes the
// references whose part names differ, and the parts either side lacks, to cmpprt.txt.
// Returns true when it found any difference.
bool compareParts(Workspace& ws, PartsFindings* findings = nullptr);

// makeNonPolar: turns every pin of a non-polar part into "reference.*" in a sorted net file.
void makeNonPolar(Workspace& ws, std::string_view fileName, const OptionList& options);

// changePinNumbers: renames pins of side 1 by the pin-number change table.
void changePinNumbers(Workspace& ws, std::string_view fileName, const OptionList& options);

// What the user leaves out of both sides: parts only one side has by nature (mounting holes,
// fiducials, test points), and nets of a single pin (unconnected pins that one tool writes as
// nets and another leaves out).
struct IgnoreList {
    std::vector<std::string> parts; // upper-cased letter prefixes ("MH") or references ("TP3")
    bool onePinNets = false;
    bool empty() const { return parts.empty() && !onePinNets; }
};

// ignoreParts: leaves the listed parts out of net.tmp and parts.tmp of the side just read:
// their pins leave their nets (a net left without pins goes too) and their lines leave the
// parts. With onePinNets, every net left with one pin goes as well.
void ignoreParts(Workspace& ws, const IgnoreList& ignored);

} // namespace lintora
