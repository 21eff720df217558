// MM-COLMO_NEO & MM2 netlist reader.
//
//   $NET
//   GND; U1-7, U2-7, R1-2
//   VCC; U1-14,
//        U2-14
//   ; C5-1, C6-1
//   $END
//
// After "$NET" each line is a net: name ";" pins separated by ","; a line ending in ","
// continues on the next line. A net without a name is named "un0", "un1", ... in file
// order. The list ends at "$END", at the first empty line or at the end of the file.
//
// Parts come from a separate parts file, when one is given:
//
//   $PTS
//   DIP14 ! 74HC00 ; U1
//   $END

#include "readers/readers.h"

#include <algorithm>

namespace lintora {

using namespace std::string_view_literals;

namespace {

// "$NET" is tested at every character: a run of plain characters taken at once stops where
// a shorter token reaches its length.
constexpr std::size_t kKeywordLength = 4;

// Characters of a name or pin: none of the separators, blanks or TABs.
bool isPlain(char c) {
    return c != ';' && c != ',' && !isBlankOrTab(c);
}

// A parts file line: footprint "!" part name ";" reference designator. Blanks are dropped.
void readPartsFile(const std::string& partsPath, ReaderOutput& out) {
    FieldArray& f = out.fields;
    ReaderInput parts(partsPath);
    parts.upperCase();
    std::string token;
    std::string_view line;
    while (parts.next(line)) {
        if (line == "$END"sv)
            break;
        if (line == "$PTS"sv)
            continue;
        f[1].clear();
        f[2].clear();
        f[3].clear();
        token.clear();
        bool named = false; // the ";" after the part name came
        for (const char c : line) {
            if (c == '!') {
                f[3] = token; // footprint
                token.clear();
            } else if (c == ';') {
                f[1] = token; // part name
                token.clear();
                named = true;
            } else if (!isBlankOrTab(c)) {
                token += c;
            }
        }
        f[2] = token; // reference designator
        // A part with an empty name ("DIP14 ! ; U1") is kept: it pairs by its reference.
        if (!f[1].empty() || (named && !f[2].empty()))
            out.addPart();
    }
}

} // namespace

// readMm: converts an MM-COLMO_NEO / MM2 netlist into net.tmp, and the parts file at
// `partsPath` (none when empty) into parts.tmp.
ReaderResult readMm(Workspace& ws, const std::string& path, const std::string& partsPath) {
    bool sawNetKeyword = false;
    ReaderOutput out(ws);
    if (!partsPath.empty())
        readPartsFile(partsPath, out);
    out.writePartsFile();

    ReaderInput input(path);
    input.upperCase();
    out.reserveFor(input.text().size());
    FieldArray& f = out.fields;
    f.clear();
    std::string token;
    std::size_t pinCounter = 0;
    std::size_t unnamedNets = 0;
    const auto completeNet = [&] {
        f[1] = std::to_string(pinCounter - 2);
        out.addNet();
        f[0].clear();
    };
    std::string_view line;
    while (input.next(line)) {
        token.clear();
        if (line == "$END"sv || line.empty())
            break;
        bool lineScanned = true; // false for the "$NET" line and a continued line
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const char c = i < line.size() ? line[i] : kEndOfLine;
            const bool atEnd = i == line.size();
            if (token == "$NET"sv) {
                sawNetKeyword = true;
                lineScanned = false;
                break;
            }
            if (!atEnd && c == ';') {
                if (!sawNetKeyword) {
                    // A net before "$NET": not a file of this format.
                    ws.observer.hideProgress();
                    return ReaderResult::NotRecognised;
                }
                if (token.empty())
                    token = "un" + std::to_string(unnamedNets++);
                f[0] = token; // net name
                token.clear();
                pinCounter = 2;
            } else if ((atEnd && !f.at(0).empty()) ||
                       (c == ',' && !atEnd && !token.empty() && !f.at(0).empty())) {
                // The end of the line takes the last pin, even an empty one.
                convertFirstSeparator(token, '-');
                f[pinCounter] = token;
                ++pinCounter;
                token.clear();
                // A "," that ends the line (blanks after it do not count) continues the net
                // on the next line.
                if (!atEnd && onlyBlanksAfter(line, i)) {
                    lineScanned = false;
                    break;
                }
            } else if (!atEnd && !isBlankOrTab(c)) {
                // The plain characters after this one join the token with it.
                std::size_t next = endOfRun(line, i + 1, isPlain);
                if (token.size() < kKeywordLength)
                    next = std::min(next, i + kKeywordLength - token.size());
                token.append(line.substr(i, next - i));
                i = next - 1;
            }
        }
        // A line that belongs to no net (before the first ";", or after a closed net
        // without a ";" of its own) writes nothing.
        if (lineScanned && !f.at(0).empty())
            completeNet();
    }
    // A net whose last line ended in "," is still open at "$END", an empty line or the end
    // of the file: it is complete with what it has.
    if (!f.at(0).empty())
        completeNet();
    out.writeNetFile();
    // Without "$NET" the file is not of this format; the run hides the progress window.
    return sawNetKeyword ? ReaderResult::Recognised : ReaderResult::NotRecognised;
}

} // namespace lintora
