#include "run/report.h"

#include "base/text_encoding.h"
#include "base/text_file.h"

namespace lintora {

namespace {

constexpr std::string_view kStarRule =
    "****************************************************************"; // 64
constexpr std::string_view kBlockRule = "----------------------------";   // 28
constexpr std::string_view kEntryRule = "---------------------------------"; // 33
constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kDifferencesHeading = "＜異なるネット＞";
constexpr std::string_view kUnpaired1Heading = "＜ネット２に存在しないネット１のネット＞";
constexpr std::string_view kUnpaired2Heading = "＜ネット１に存在しないネット２のネット＞";

void appendLine(std::string& text, std::string_view a, std::string_view b = {}) {
    text += a;
    text += b;
    text += kCrLf;
}

void appendPins(std::string& text, std::string_view label, const std::vector<std::string>& pins) {
    text += label;
    for (const auto& pin : pins) {
        text += pin;
        text += ", ";
    }
    text += kCrLf;
}

void appendUnpaired(std::string& text, const std::vector<std::string>& netLines) {
    for (const auto& line : netLines) {
        appendLine(text, line);
        text += kCrLf;
        text += kCrLf;
        appendLine(text, kEntryRule);
    }
}

} // namespace

std::string buildReport(const ReportSettings& s, const NetComparison& comparison) {
    std::string text;
    appendLine(text, kStarRule);
    appendLine(text, "ネット１：　　　", s.path1);
    appendLine(text, "フォーマット：　", s.format1);
    appendLine(text, "ネット２：　　　", s.path2);
    appendLine(text, "フォーマット：　", s.format2);
    appendLine(text, "スワップ：　　　", s.swapPath);
    appendLine(text, "                   **********設定状態**********                  ");
    appendLine(text, "＜ピン番変換＞");
    std::string pinChanges;
    for (std::size_t r = 0; r < 10; ++r) {
        const std::string& reference = s.pinChange[r];
        if (reference.empty())
            continue;
        pinChanges += reference + "XX." + s.pinChange[r + 10] + "-->" + reference + "XX." +
                      s.pinChange[r + 20] + " ";
    }
    appendLine(text, pinChanges);
    appendLine(text, "＜無極性部品＞");
    std::string nonPolar;
    for (const auto& reference : s.nonPolar)
        nonPolar += reference;
    appendLine(text, nonPolar);
    if (!s.ignoredParts.empty()) {
        std::string ignored;
        for (const auto& entry : s.ignoredParts)
            ignored += (ignored.empty() ? "" : " ") + entry;
        appendLine(text, "除外部品　ﾘﾌｧﾚﾝｽ指定：", ignored);
    }
    appendLine(text, "");
    appendLine(text, kStarRule);
    appendLine(text, kDifferencesHeading);
    for (const auto& block : comparison.differences) {
        appendLine(text, "ネット名; 　", block.name1 + " = " + block.name2);
        appendPins(text, "ネット１; 　", block.only1);
        appendPins(text, "ネット２;   ", block.only2);
        appendPins(text, "同一個所;   ", block.shared);
        appendLine(text, kBlockRule);
    }
    appendLine(text, kUnpaired1Heading);
    appendUnpaired(text, comparison.unpaired1);
    appendLine(text, "");
    appendLine(text, kUnpaired2Heading);
    appendUnpaired(text, comparison.unpaired2);
    appendLine(text, "");
    return text;
}

std::string reflowReport(std::string_view fileText) {
    constexpr std::size_t firstWidth = 70;
    constexpr std::string_view indent = "            "; // 12 blanks
    std::string out;
    out.reserve(fileText.size() + fileText.size() / 8);
    LineReader lines(fileText);
    std::string_view line;
    while (lines.next(line)) {
        std::size_t column = 1;
        std::size_t row = 1;
        std::size_t i = 0;
        const std::size_t length = charCount(line);
        for (std::size_t p = 1; p <= length + 1; ++p) {
            if (p <= length) { // copy character p (nothing at the position after the end)
                const std::size_t n = utf8SequenceLength(static_cast<unsigned char>(line[i]));
                out.append(line.substr(i, n));
                i += n;
            }
            if (column == firstWidth * row) {
                out += kCrLf;
                out += indent;
                ++row;
                column += 8;
            }
            ++column;
        }
        out += kCrLf;
    }
    return out;
}

std::string_view fullMatchBanner() {
    return "****************************************************************\r\n"
           "***********************完全一致しました。***********************\r\n"
           "****************************************************************\r\n"
           "\r\n";
}

bool reportHasNoDifferences(std::string_view reportText) {
    // Header lines never equal a heading: each starts with its label, and a continuation
    // line of a long one starts with blanks.
    LineReader lines(reportText, LineReader::LoneLf::EndsLine);
    std::string_view line;
    bool found = false;
    while (!found && lines.next(line))
        found = line == kDifferencesHeading;
    if (!found)
        return false;
    for (const std::string_view expected : {kUnpaired1Heading, kUnpaired2Heading}) {
        do {
            if (!lines.next(line))
                return false;
        } while (line.empty());
        if (line != expected)
            return false;
    }
    while (lines.next(line))
        if (!line.empty())
            return false;
    return true;
}

} // namespace lintora
