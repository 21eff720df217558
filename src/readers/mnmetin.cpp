// Mentor netlist reader.
//
//   # components: reference, footprint, part name, each followed by a blank
//   U1 DIP14 74LS00 (PROPERTIES)
//   NET 'GND' U1-7 U2-7
//   NET 'VCC' U1-14
//   NET 'GND' U3-7
//
// Text in parentheses is dropped, even across lines. A net may be spread over several
// "NET" lines; they are merged into one net, placed where its name first appeared.

#include "readers/net_merge.h"
#include "readers/readers.h"

namespace lintora {

namespace {

constexpr std::string_view kNetKeyword = "NET";

// The input upper-cased, without parenthesised text, with a lone LF turned into a real line
// break and starting with an empty line: the form the passes walk.
std::string normalisedCopy(const std::string& input) {
    // A "(" that no ")" follows anywhere would swallow the rest of the file; such a "(" is
    // dropped like any other but starts no skipping.
    const std::size_t lastClose = input.rfind(')');
    std::string copy;
    copy.reserve(input.size() + input.size() / 16 + 2);
    bool skipping = false;
    LineReader lines(input);
    std::string_view line;
    while (lines.next(line)) {
        copy += "\r\n";
        const std::size_t lineStart = static_cast<std::size_t>(line.data() - input.data());
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            if (c == '\n') {
                copy += "\r\n";
            } else if (c == '(') {
                if (lastClose != std::string::npos && lineStart + i < lastClose)
                    skipping = true;
            } else if (c == ')') {
                skipping = false;
            } else if (!skipping) {
                copy += c;
            }
        }
    }
    upperCaseInPlace(copy);
    return copy;
}

// The component lines before the first "NET" token. Returns true when one was found and
// leaves the line that holds it in `netLine`.
bool readComponents(LineReader& copy, ReaderOutput& out, std::string_view& netLine) {
    FieldArray& f = out.fields;
    std::string token;
    std::string_view line;
    while (copy.next(line)) {
        f[1].clear();
        f[2].clear();
        f[3].clear();
        token.clear();
        if (!line.empty() && line.front() == '#')
            continue; // a comment
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const bool atEnd = i == line.size();
            const char c = atEnd ? '\0' : line[i];
            if (token == kNetKeyword) {
                netLine = line;
                return true;
            }
            if (c == ' ' && !token.empty()) {
                // Reference, footprint, then the part name; a further token replaces it.
                if (f.at(2).empty())
                    f[2] = token;
                else if (f.at(3).empty())
                    f[3] = token;
                else
                    f[1] = token;
                token.clear();
            } else if (!atEnd && c != '\t' && c != ' ') {
                token += c;
            }
        }
        if (!f.at(1).empty())
            out.addPart();
    }
    return false;
}

// One "NET" line: its quoted name and its pins, handed to the merger. A line without a
// quoted name (a component line between the nets, a stray word) contributes nothing.
void readNetLine(std::string_view line, ReaderOutput& out, NetMerger& merger,
                 std::string& netLine) {
    FieldArray& f = out.fields;
    std::string token;
    std::size_t pinCounter = 2;
    bool named = false;
    f[0].clear();
    for (std::size_t i = 0; i <= line.size(); ++i) {
        const bool atEnd = i == line.size();
        const char c = atEnd ? '\0' : line[i];
        if (token == kNetKeyword) {
            token.clear();
            continue;
        }
        if (!atEnd && c == '\'' && !named) {
            // The name runs to the next quote (or the end of the line), blanks included.
            const std::size_t close = line.find('\'', i + 1);
            const std::size_t nameEnd = close == std::string_view::npos ? line.size() : close;
            f[0] = line.substr(i + 1, nameEnd - i - 1);
            named = true;
            pinCounter = 2;
            // Go on right after the closing quote: a pin written without a blank after the
            // name keeps its first character.
            i = nameEnd == line.size() ? line.size() - 1 : nameEnd;
        } else if (!atEnd && c != ' ' && c != '\t') {
            token += c;
        } else if (!token.empty()) {
            // A blank, a TAB or the end of the line ends a pin.
            convertFirstSeparator(token, '-');
            f[pinCounter] = token;
            ++pinCounter;
            token.clear();
        }
    }
    if (!named)
        return;
    f[1] = std::to_string(pinCounter - 2);
    mntsout(f, netLine);
    merger.add(netLine);
    f[0].clear();
}

} // namespace

// mnmetin: converts a Mentor netlist into net.tmp and parts.tmp.
void mnmetin(Workspace& ws, const std::string& path, std::string& status) {
    status = kStatusBad;
    const ReaderInput input(path);
    const std::string copy = normalisedCopy(input.text());
    LineReader copyLines(copy);
    ReaderOutput out(ws);

    std::string_view line;
    if (!readComponents(copyLines, out, line)) {
        // Not a Mentor file: net.tmp is left holding the normalised copy.
        printTextFile(ws.file(files::net), copy);
        ws.observer.hideProgress();
        return;
    }
    status = kStatusGood;
    out.writePartsFile();

    out.fields.clear();
    NetMerger merger(ws);
    std::string netLine;
    do {
        if (line.empty() || line.front() == '#')
            continue;
        readNetLine(line, out, merger, netLine);
    } while (copyLines.next(line));
    merger.appendTo(out.netText());
    out.writeNetFile();
}

} // namespace lintora
