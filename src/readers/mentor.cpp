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
// What ends a pin before the name and after it, and the splitter's separators, which a pin
// seldom holds.
constexpr ByteSet kPinEndBeforeName(" \t',;:");
constexpr ByteSet kPinEnd(" \t,;:");
constexpr ByteSet kSeparators(",;:");
constexpr ByteSet kBlankOrTab(" \t");

// The next position from a given one on that holds one of `Bytes`, kept until the walk
// passes it; text.size() when there is none. One byte is looked for with memchr.
template <char... Bytes> class NextOf {
public:
    explicit NextOf(std::string_view text) : m_text(text), m_at(search(0)) {}
    std::size_t from(std::size_t position) {
        if (m_at < position)
            m_at = search(position);
        return m_at;
    }

private:
    std::size_t search(std::size_t position) const {
        if constexpr (sizeof...(Bytes) == 1) {
            const void* at =
                std::memchr(m_text.data() + position, Bytes..., m_text.size() - position);
            return at == nullptr
                       ? m_text.size()
                       : static_cast<std::size_t>(static_cast<const char*>(at) - m_text.data());
        } else {
            return findAnyOfInLongText<Bytes...>(m_text, position);
        }
    }

    std::string_view m_text;
    std::size_t m_at;
};

// Makes the normalised copy of the input: the input upper-cased, without parenthesised
// text, and starting with an empty line. Each line of the input (ended by CR, CR LF or a
// lone LF) becomes CR LF and the line. The copy comes
// piece by piece, from line break to line break, so that the passes can walk its lines
// without making it.
class Normaliser {
public:
    explicit Normaliser(std::string_view input)
        : m_input(input), m_lineBreak(input), m_open(input), m_close(input) {
        // A "(" that no ")" follows anywhere would swallow the rest of the file; such a "("
        // is dropped like any other but starts no skipping.
        const void* const lastClose = ::memrchr(input.data(), ')', input.size()); // (rfind)
        m_lastClose =
            lastClose == nullptr
                ? std::string_view::npos
                : static_cast<std::size_t>(static_cast<const char*>(lastClose) - input.data());
    }

    // Appends the copy's text up to its next line break to `text` (without the CR LF
    // before the first line). True when a line break ends it, false at the end of the copy.
    bool appendUpToBreak(std::string& text) {
        for (;;) {
            const std::size_t i =
                std::min({m_lineBreak.from(m_next), m_open.from(m_next), m_close.from(m_next)});
            if (i == m_input.size()) {
                keepUpTo(i, text);
                return false;
            }
            const char c = m_input[i];
            keepUpTo(i, text);
            if (c == '\r') {
                // A line end, CR or CR LF: a line break before the next line, none after the
                // last.
                m_next = m_kept = i + 1 < m_input.size() && m_input[i + 1] == '\n' ? i + 2 : i + 1;
                if (m_next < m_input.size())
                    return true;
                continue;
            }
            m_next = m_kept = i + 1;
            if (c == '\n') { // a lone LF, a line end as any other
                if (m_next < m_input.size())
                    return true;
                continue;
            }
            if (c == '(')
                m_skipping =
                    m_skipping || (m_lastClose != std::string_view::npos && i < m_lastClose);
            else
                m_skipping = false;
        }
    }

private:
    void keepUpTo(std::size_t end, std::string& text) {
        if (!m_skipping)
            appendUpperCased(text, m_input.substr(m_kept, end - m_kept));
        m_kept = end;
    }

    std::string_view m_input;
    NextOf<'\r', '\n'> m_lineBreak;
    NextOf<'('> m_open;
    NextOf<')'> m_close;
    std::size_t m_lastClose;
    std::size_t m_next = 0; // where to look on
    std::size_t m_kept = 0; // where the text not yet copied (or dropped) begins
    bool m_skipping = false;
};

// The normalised copy as one text (what net.tmp holds for a file that is no Mentor file).
std::string normalisedCopy(std::string_view input) {
    std::string copy;
    if (input.empty())
        return copy;
    copy.reserve(input.size() + input.size() / 16 + 2);
    copy += "\r\n"; // before the first line
    Normaliser normaliser(input);
    while (normaliser.appendUpToBreak(copy))
        copy += "\r\n";
    return copy;
}

// The lines of the normalised copy, as a LineReader over it gives them, without making it.
class NormalisedLines {
public:
    explicit NormalisedLines(std::string_view input)
        : m_normaliser(input), m_state(input.empty() ? State::End : State::First) {}

    // A line stays valid until the next call.
    bool next(std::string_view& line) {
        if (m_state == State::End)
            return false;
        m_line.clear();
        if (m_state == State::First) {
            m_state = State::Further; // the empty line before the CR LF the copy starts with
        } else if (!m_normaliser.appendUpToBreak(m_line)) {
            m_state = State::End; // the copy's last line, unless it is empty
            if (m_line.empty())
                return false;
        }
        line = m_line;
        return true;
    }

private:
    enum class State { First, Further, End };
    Normaliser m_normaliser;
    State m_state;
    std::string m_line;
};

// The component lines before the first "NET" token. Returns true when one was found and
// leaves the line that holds it in `netLine`.
bool readComponents(NormalisedLines& copy, ReaderOutput& out, std::string_view& netLine) {
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

// True when `token` followed by `more` spells "NET" (compared here, where a library call
// would cost more than the three characters).
bool becomesNetKeyword(std::string_view token, std::string_view more) {
    if (token.size() + more.size() != kNetKeyword.size())
        return false;
    for (std::size_t k = 0; k < kNetKeyword.size(); ++k)
        if ((k < token.size() ? token[k] : more[k - token.size()]) != kNetKeyword[k])
            return false;
    return true;
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
    bool separators = false; // in a token: then the merger looks at the pins itself
    for (std::size_t i = 0; i <= line.size();) {
        const bool atEnd = i == line.size();
        const char c = atEnd ? '\0' : line[i];
        if (!atEnd && c == '\'' && !named) {
            // The name runs to the next quote (or the end of the line), blanks included.
            std::size_t nameEnd = i + 1;
            while (nameEnd < line.size() && line[nameEnd] != '\'')
                ++nameEnd;
            name = line.substr(i + 1, nameEnd - i - 1);
            named = true;
            // The pins before the name are dropped; a token the name interrupts goes on.
            pinCounter = 2;
            if (tokenStart > 0) {
                pins.erase(0, tokenStart);
                tokenStart = 0;
            }
            // Go on right after the closing quote: a pin written without a blank after the
            // name keeps its first character.
            i = nameEnd == line.size() ? line.size() : nameEnd + 1;
        } else if (!atEnd && c != ' ' && c != '\t') {
            // The token's characters up to the next blank, TAB or opening quote.
            const ByteSet& stops = named ? kPinEnd : kPinEndBeforeName;
            std::size_t end = stops.findIn(line, i);
            while (end < line.size() && kSeparators.contains(line[end])) {
                separators = true;
                end = stops.findIn(line, end + 1);
            }
            const std::string_view token = std::string_view(pins).substr(tokenStart);
            const std::size_t missing =
                kNetKeyword.size() - std::min(token.size(), kNetKeyword.size());
            if (missing > 0 && end - i >= missing &&
                becomesNetKeyword(token, line.substr(i, missing))) {
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
    if (named)
        merger.add(name, pinCounter - 2, pins,
                   separators ? NetMerger::Pins::Unchecked : NetMerger::Pins::HoldNoSeparators);
}

} // namespace

// readMentor: converts a Mentor netlist into net.tmp and parts.tmp.
ReaderResult readMentor(Workspace& ws, const std::string& path) {
    const ReaderInput input(path);
    NormalisedLines copyLines(input.text());
    ReaderOutput out(ws);

    std::string_view line;
    if (!readComponents(copyLines, out, line)) {
        // Not a Mentor file: net.tmp is left holding the normalised copy.
        printTextFile(ws.file(files::net), normalisedCopy(input.text()));
        ws.observer.hideProgress();
        return ReaderResult::NotRecognised;
    }
    out.writePartsFile();

    NetMerger merger(ws, input.text().size());
    std::string pins;
    do {
        if (line.empty() || line.front() == '#')
            continue;
        readNetLine(line, out.fields.capacity(), merger, pins);
    } while (copyLines.next(line));
    merger.appendTo(out.netText());
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
