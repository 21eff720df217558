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
// What ends a run of copied characters: a lone LF, or a parenthesis.
constexpr ByteSet kLfOrParenthesis("\n()");
// What ends a pin before the name and after it.
constexpr ByteSet kPinEndBeforeName(" \t'");
constexpr ByteSet kPinEnd(" \t");

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
            // The text up to the next LF or parenthesis is kept or dropped as a whole.
            const std::size_t end = kLfOrParenthesis.findIn(line, i);
            if (!skipping)
                copy.append(line.substr(i, end - i));
            if (end == line.size())
                break;
            i = end;
            const char c = line[i];
            if (c == '\n') {
                copy += "\r\n";
            } else if (c == '(') {
                if (lastClose != std::string::npos && lineStart + i < lastClose)
                    skipping = true;
            } else {
                skipping = false;
            }
        }
    }
    upperCaseQuickly(copy);
    return copy;
}

// The component lines before the first "NET" token. Returns true when one was found and
// leaves the line that holds it in `netLine`.
bool readComponents(LineReader& copy, ReaderOutput& out, std::string_view& netLine) {
    FieldArray& f = out.fields;
    std::string withoutTabs;
    std::string_view line;
    while (copy.next(line)) {
        f[1].clear();
        f[2].clear();
        f[3].clear();
        if (!line.empty() && line.front() == '#')
            continue; // a comment
        // The words between blanks; TABs inside a word are dropped.
        for (std::size_t start = 0; start <= line.size();) {
            const std::size_t blank = std::min(line.find(' ', start), line.size());
            std::string_view token = line.substr(start, blank - start);
            if (token.find('\t') != std::string_view::npos) {
                withoutTabs.clear();
                for (const char c : token)
                    if (c != '\t')
                        withoutTabs += c;
                token = withoutTabs;
            }
            // A word that begins with "NET" makes the line the first net line.
            if (token.starts_with(kNetKeyword)) {
                netLine = line;
                return true;
            }
            if (blank == line.size())
                break; // a word needs the blank after it
            if (!token.empty()) {
                // Reference, footprint, then the part name; a further token replaces it.
                if (f.at(2).empty())
                    f[2] = token;
                else if (f.at(3).empty())
                    f[3] = token;
                else
                    f[1] = token;
            }
            start = blank + 1;
        }
        if (!f.at(1).empty())
            out.addPart();
    }
    return false;
}

// What readNetLine reuses from line to line.
struct NetLineScratch {
    std::string token;
    std::string pins; // each followed by ", ", as the net line holds them
};

// One "NET" line: its quoted name and its pins, handed to the merger. A line without a
// quoted name (a component line between the nets, a stray word) contributes nothing.
void readNetLine(std::string_view line, std::size_t fieldSlots, NetMerger& merger,
                 NetLineScratch& scratch) {
    std::string& token = scratch.token;
    std::string& pins = scratch.pins;
    token.clear();
    pins.clear();
    std::size_t pinCounter = 2; // the field slot of the next pin
    std::string_view name;
    bool named = false;
    for (std::size_t i = 0; i <= line.size();) {
        const bool atEnd = i == line.size();
        const char c = atEnd ? '\0' : line[i];
        if (!atEnd && c == '\'' && !named) {
            // The name runs to the next quote (or the end of the line), blanks included.
            const std::size_t close = line.find('\'', i + 1);
            const std::size_t nameEnd = close == std::string_view::npos ? line.size() : close;
            name = line.substr(i + 1, nameEnd - i - 1);
            named = true;
            pinCounter = 2;
            pins.clear();
            // Go on right after the closing quote: a pin written without a blank after the
            // name keeps its first character.
            i = nameEnd == line.size() ? line.size() : nameEnd + 1;
        } else if (!atEnd && c != ' ' && c != '\t') {
            // The token's characters up to the next blank, TAB or opening quote.
            const std::size_t end = (named ? kPinEnd : kPinEndBeforeName).findIn(line, i);
            const std::size_t missing = kNetKeyword.size() - std::min(token.size(), kNetKeyword.size());
            if (missing > 0 && end - i >= missing && kNetKeyword.starts_with(token) &&
                line.substr(i, missing) == kNetKeyword.substr(token.size())) {
                // A token that becomes "NET" is dropped, and the character after it.
                token.clear();
                i += missing + 1;
                continue;
            }
            token.append(line.substr(i, end - i));
            i = end;
        } else {
            if (!token.empty()) {
                // A blank, a TAB or the end of the line ends a pin.
                if (pinCounter >= fieldSlots) {
                    merger.catchUp(); // the lines before fail first
                    throwFieldSlotExceeded(pinCounter);
                }
                convertFirstSeparator(token, '-');
                pins.append(token).append(", ");
                ++pinCounter;
                token.clear();
            }
            ++i;
        }
    }
    if (named)
        merger.add(name, pinCounter - 2, pins);
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

    NetMerger merger(ws);
    NetLineScratch scratch;
    do {
        if (line.empty() || line.front() == '#')
            continue;
        readNetLine(line, out.fields.capacity(), merger, scratch);
    } while (copyLines.next(line));
    merger.appendTo(out.netText());
    out.writeNetFile();
}

} // namespace lintora
