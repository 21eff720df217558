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

#include <algorithm>
#include <cstring>

namespace lintora {

namespace {

constexpr std::string_view kNetKeyword = "NET";
// What ends a pin before the name and after it.
constexpr ByteSet kPinEndBeforeName(" \t'");
constexpr ByteSet kPinEnd(" \t");
constexpr ByteSet kBlankOrTab(" \t");

// The next position from a given one on that holds one byte, found with memchr (fast on
// long text) and kept until the walk passes it; text.size() when there is none.
class NextByte {
public:
    NextByte(std::string_view text, char c) : m_text(text), m_c(c), m_at(search(0)) {}
    std::size_t from(std::size_t position) {
        if (m_at < position)
            m_at = search(position);
        return m_at;
    }

private:
    std::size_t search(std::size_t position) const {
        const void* at = std::memchr(m_text.data() + position, m_c, m_text.size() - position);
        return at == nullptr ? m_text.size()
                             : static_cast<std::size_t>(static_cast<const char*>(at) - m_text.data());
    }

    std::string_view m_text;
    char m_c;
    std::size_t m_at;
};

// The input upper-cased, without parenthesised text, with a lone LF turned into a real line
// break and starting with an empty line: the form the passes walk. Each line of the input
// (ended by CR or CR LF) becomes CR LF and the line, so the copy keeps the text from line
// to line and breaks it up only where something changes.
std::string normalisedCopy(const std::string& input) {
    // A "(" that no ")" follows anywhere would swallow the rest of the file; such a "(" is
    // dropped like any other but starts no skipping.
    const void* const lastCloseAt = ::memrchr(input.data(), ')', input.size()); // (fast rfind)
    const std::size_t lastClose =
        lastCloseAt == nullptr ? std::string::npos
                               : static_cast<std::size_t>(static_cast<const char*>(lastCloseAt) - input.data());
    std::string copy;
    if (input.empty())
        return copy;
    copy.reserve(input.size() + input.size() / 16 + 2);
    copy += "\r\n"; // before the first line
    bool skipping = false;
    std::size_t kept = 0; // where the text not yet copied (or dropped) begins
    const auto copyUpTo = [&](std::size_t end) {
        if (!skipping)
            copy.append(input, kept, end - kept);
    };
    NextByte cr(input, '\r');
    NextByte lf(input, '\n');
    NextByte open(input, '(');
    NextByte close(input, ')');
    for (std::size_t i = 0;;) {
        i = std::min({cr.from(i), lf.from(i), open.from(i), close.from(i)});
        if (i == input.size())
            break;
        const char c = input[i];
        if (c == '\r') {
            // A line end, CR or CR LF: the CR LF before the next line, none after the last.
            const std::size_t next = i + 1 < input.size() && input[i + 1] == '\n' ? i + 2 : i + 1;
            if (next - i == 2 && next < input.size() && !skipping) {
                i = next; // already as it should be
                continue;
            }
            copyUpTo(i);
            if (next < input.size())
                copy += "\r\n";
            kept = i = next;
            continue;
        }
        copyUpTo(i);
        if (c == '\n') {
            copy += "\r\n"; // a lone LF, inside a line
        } else if (c == '(') {
            if (lastClose != std::string::npos && i < lastClose)
                skipping = true;
        } else {
            skipping = false;
        }
        kept = i = i + 1;
    }
    copyUpTo(input.size());
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
            std::size_t blank = kBlankOrTab.findIn(line, start);
            std::string_view token = line.substr(start, blank - start);
            if (blank < line.size() && line[blank] == '\t') {
                withoutTabs.assign(token);
                for (; blank < line.size() && line[blank] != ' '; ++blank)
                    if (line[blank] != '\t')
                        withoutTabs += line[blank];
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

// One "NET" line: its quoted name and its pins, handed to the merger. A line without a
// quoted name (a component line between the nets, a stray word) contributes nothing.
// `pins` holds the completed pins, each followed by ", ", and then the token being read.
void readNetLine(std::string_view line, std::size_t fieldSlots, NetMerger& merger,
                 std::string& pins) {
    pins.clear();
    std::size_t tokenStart = 0;
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
            // The pins before the name are dropped; a token the name interrupts goes on.
            pinCounter = 2;
            pins.erase(0, tokenStart);
            tokenStart = 0;
            // Go on right after the closing quote: a pin written without a blank after the
            // name keeps its first character.
            i = nameEnd == line.size() ? line.size() : nameEnd + 1;
        } else if (!atEnd && c != ' ' && c != '\t') {
            // The token's characters up to the next blank, TAB or opening quote.
            const std::size_t end = (named ? kPinEnd : kPinEndBeforeName).findIn(line, i);
            const std::string_view token = std::string_view(pins).substr(tokenStart);
            const std::size_t missing = kNetKeyword.size() - std::min(token.size(), kNetKeyword.size());
            if (missing > 0 && end - i >= missing && kNetKeyword.starts_with(token) &&
                line.substr(i, missing) == kNetKeyword.substr(token.size())) {
                // A token that becomes "NET" is dropped, and the character after it.
                pins.resize(tokenStart);
                i += missing + 1;
                continue;
            }
            pins.append(line.data() + i, end - i);
            i = end;
        } else {
            if (pins.size() > tokenStart) {
                // A blank, a TAB or the end of the line ends a pin.
                if (pinCounter >= fieldSlots) {
                    merger.catchUp(); // the lines before fail first
                    throwFieldSlotExceeded(pinCounter);
                }
                // The pin's first "-" that is not its first character becomes ".".
                for (std::size_t k = tokenStart + 1; k < pins.size(); ++k) {
                    if (pins[k] == '-') {
                        pins[k] = '.';
                        break;
                    }
                }
                pins.push_back(',');
                pins.push_back(' ');
                ++pinCounter;
                tokenStart = pins.size();
            }
            ++i;
        }
    }
    if (!named)
        return;
    // Pins hold no blank; on a line without ",", ";" and ":" they hold none of those either.
    if (findAnyOfInLongText<',', ';', ':'>(line, 0) == line.size())
        merger.addPinsWithoutMarks(name, pinCounter - 2, pins);
    else
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

    NetMerger merger(ws, copy.size());
    std::string pins;
    do {
        if (line.empty() || line.front() == '#')
            continue;
        readNetLine(line, out.fields.capacity(), merger, pins);
    } while (copyLines.next(line));
    merger.appendTo(out.netText());
    out.writeNetFile();
}

} // namespace lintora
