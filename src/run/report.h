#pragma once

#include "run/net_compare.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace lintora {

// The settings the report's header repeats, exactly as the user typed them.
struct ReportSettings {
    std::string path1;
    std::string format1;
    std::string path2;
    std::string format2;
    std::string swapPath;
    std::array<std::string, 30> pinChange; // references 0-9, before 10-19, after 20-29
    std::array<std::string, 10> nonPolar;
    std::vector<std::string> ignoredParts; // as typed, then as read from the ignore file
};

// The net comparison report as first written: settings header, difference blocks,
// unpaired nets of side 1, unpaired nets of side 2. Every line ends in CR LF.
std::string buildReport(const ReportSettings& settings, const NetComparison& comparison);

// Cuts every line of a written report after its 70th character and then after every
// further 62, continuing on lines indented by 12 blanks; characters are counted, not bytes.
// `fileText` is the file as written; the result holds each reflowed line followed by CR LF.
std::string reflowReport(std::string_view fileText);

// The banner shown above a report without differences.
std::string_view fullMatchBanner();

// True when a report read back from cmp.txt (any line ends) records no difference block and
// no unpaired net: its three section headings follow one another with nothing but empty lines
// between and after them. Decided by content, so a header cut by the reflow (a long path)
// still counts as clean. False for text that is not such a report.
bool reportHasNoDifferences(std::string_view reportText);

} // namespace lintora
