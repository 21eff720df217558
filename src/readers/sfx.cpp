// SFX / CADIX XID / OHM-3 netlist reader.
//
//   # board CTRL-01
//   *PARTS
//   'U1' '74HC00' 'SOP' '14'
//   'R1' '10K' '' 'R1608'
//   *NET
//   'GND' *
//   'U1'/'7' 'R1'/'2'
//   'VCC' *
//   'U1'/'14'
//
// Every value stands in single quotes. A part line is reference, part name and two values
// that together give the footprint. A net is a header line (quoted name and "*") followed
// by lines of pins, each pin a quoted reference and a quoted pin number joined by "/".
// Lines starting with "#" are comments; keywords may be written in any case.

#include "readers/readers.h"

#include <algorithm>

namespace lintora {

using namespace std::string_view_literals;

namespace {

enum class Section { None, Parts, Net };

bool isBlankOrQuote(char c) {
    return c == ' ' || c == '\t' || c == '\'';
}

// The lines up to "*NET" (or the end of the file): the parts section opened by "*PARTS".
// Returns the section reached: None when "*PARTS" never came first.
Section readParts(ReaderInput& input, ReaderOutput& out) {
    FieldArray& f = out.fields;
    Section section = Section::None;
    std::string token;
    const auto isPlain = [](char c) { return !isBlankOrQuote(c); };
    std::string_view line;
    while (input.next(line)) {
        token.clear();
        int quotes = 0;
        f[1].clear();
        f[2].clear();
        f[3].clear();
        bool partLine = true; // false for a comment and the "*PARTS" line
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const char c = i < line.size() ? line[i] : '\0';
            const bool atEnd = i == line.size();
            if (i == 0 && c == '#' && !atEnd) {
                partLine = false;
                break;
            }
            if (token == "*PARTS"sv) {
                section = Section::Parts;
                partLine = false;
                break;
            }
            if (!atEnd && c == '\'')
                ++quotes;
            if (token == "*NET"sv)
                return section == Section::Parts ? Section::Net : Section::None;
            if (section == Section::Parts && !atEnd && c == '\'') {
                if (quotes == 2) {
                    f[2] = token;
                    token.clear();
                    continue;
                }
                if (quotes == 8) {
                    f[3] = token; // the third and fourth values joined
                    token.clear();
                    break;
                }
                if (quotes == 4) {
                    f[1] = token.empty() ? std::string("X") : token;
                    token.clear();
                    continue;
                }
            }
            if (!atEnd && !isBlankOrQuote(c)) {
                // The characters after this one up to a quote or blank join the token,
                // except in a token that starts with "*": the keywords are tested at each
                // of its characters.
                const bool keywordLike = (token.empty() ? c : token.front()) == '*';
                const std::size_t next = keywordLike ? i + 1 : endOfRun(line, i + 1, isPlain);
                token.append(line.substr(i, next - i));
                i = next - 1;
            }
        }
        // A line that gave no value at all (an empty line, say) describes no part.
        if (section == Section::Parts && partLine &&
            !(f.at(1).empty() && f.at(2).empty() && f.at(3).empty()))
            out.addPart();
    }
    return section;
}

// The lines after "*NET" to the end of the file.
void readNets(ReaderInput& input, ReaderOutput& out) {
    FieldArray& f = out.fields;
    f.clear();
    std::size_t pinCounter = 2;
    // A net is open from its header to the next header or the end of the file. A header
    // without a name opens none: its pins, like pins before the first header, belong to
    // no net and are not stored.
    const auto finishNet = [&] {
        if (f.at(0).empty())
            return;
        f[1] = std::to_string(pinCounter - 2);
        out.addNet();
        pinCounter = 2;
    };
    std::string token;
    // A value's characters: anything but quotes, blanks, TABs and "*".
    const auto isPlain = [](char c) { return c != '*' && !isBlankOrQuote(c); };
    std::string_view line;
    while (input.next(line)) {
        if (line.empty())
            continue;
        token.clear();
        std::size_t quotes = 0;
        std::size_t pinOnLine = 1;
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const char c = i < line.size() ? line[i] : '\0';
            const bool atEnd = i == line.size();
            if (i == 0 && c == '#' && !atEnd)
                break;
            if (!atEnd && c == '\'')
                ++quotes;
            if (!atEnd && c == '*' && quotes == 2) {
                finishNet();
                f[0] = token;
                pinCounter = 2;
                break;
            }
            if (!atEnd && c == '\'' && quotes == 4 * pinOnLine && !f.at(0).empty()) {
                std::string& pin = f[pinCounter];
                pin = token;
                std::replace(pin.begin(), pin.end(), '/', '.');
                ++pinCounter;
                ++pinOnLine;
                token.clear();
                continue;
            }
            if (!atEnd && !isBlankOrQuote(c)) {
                // The plain characters after this one join the token with it.
                const std::size_t next = endOfRun(line, i + 1, isPlain);
                token.append(line.substr(i, next - i));
                i = next - 1;
            }
        }
    }
    finishNet();
}

} // namespace

// readSfx: converts an SFX / CADIX XID / OHM-3 netlist into net.tmp and parts.tmp.
ReaderResult readSfx(Workspace& ws, const std::string& path) {
    ReaderInput input(path);
    input.upperCase(); // every line is read upper-cased
    ReaderOutput out(ws);
    out.reserveFor(input.text().size());
    const Section reached = readParts(input, out);
    if (reached == Section::None) {
        ws.observer.hideProgress();
        return ReaderResult::NotRecognised;
    }
    out.writePartsFile();
    readNets(input, out);
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
