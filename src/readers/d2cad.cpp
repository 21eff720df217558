// D2 CAD netlist reader.
//
//   $CCF{
//     /* board connections */
//     NET{
//       GND: IC1(7), IC2(7), R1(2);
//       VCC: IC1(14), IC2(14);
//     }
//   }
//
// After the "$CCF" header, the "NET{" block lists each net as name ":" pins separated by
// "," and ended by ";"; a pin is the reference with its pin number in parentheses. Blanks
// and line breaks separate nothing: a token runs until a separator or a keyword ends it.
// A token "*", "/*" or "*/" comments out the rest of its line. Every line is upper-cased.

#include "readers/net_merge.h"
#include "readers/readers.h"

namespace lintora {

namespace {

// Characters that take part in rules of their own, or end a keyword ("$CCF", "NET{",
// "{") or a comment mark ("*", "/*", "*/"); the others only extend the token.
constexpr ByteSet kRuleCharacters("*/F{}():,;");

class D2Reader {
public:
    explicit D2Reader(ReaderOutput& out) : m_out(out), m_fieldSlots(out.fields.capacity()) {}

    bool sawHeader() const { return m_afterHeader; }

    // One line, upper-cased. Its end (the position after its last character) counts as
    // the empty character, at which a keyword or a comment token is still recognised.
    void readLine(std::string_view line) {
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const bool atEnd = i == line.size();
            char c = atEnd ? '\0' : line[i];
            if (m_token.size() <= 2 && (m_token == "*" || m_token == "/*" || m_token == "*/")) {
                m_token.clear();
                return; // the rest of the line is a comment
            }
            bool emptyCharacter = atEnd;
            if (m_afterHeader && c == '(' && !atEnd)
                c = '.';
            else if (m_afterHeader && c == ')' && !atEnd)
                emptyCharacter = true; // "U1(7)" is collected as "U1.7"
            recogniseKeyword();
            if (emptyCharacter)
                continue;
            if (kRuleCharacters.contains(line[i])) { // "(" has become "." here
                take(c);
                continue;
            }
            // The ordinary characters after it go the same way: none of them can complete
            // a keyword or a comment mark, so no rule applies until the next other one.
            const std::size_t end = kRuleCharacters.findIn(line, i + 1);
            for (; i < end; ++i)
                if (!isBlankOrTab(line[i]))
                    m_token += line[i];
            i = end - 1;
        }
    }

private:
    // A keyword is recognised at the character after it; that character is then read as
    // usual, so "NET{GND:" keeps the "G".
    void recogniseKeyword() {
        if (m_token.empty() || (m_token.back() != 'F' && m_token.back() != '{'))
            return;
        if (m_token == "$CCF") {
            m_token.clear();
            if (!m_afterHeader)
                m_out.writePartsFile(); // no parts in this format
            m_afterHeader = true;
        } else if (m_afterHeader && m_token == "NET{") {
            m_out.netText().clear(); // a later "NET{" block replaces the nets before it
            m_netBlockDepth = 1;
            m_netNamed = false;
            m_netOpen = false;
            m_pinCounter = 2;
            m_pins.clear();
            m_token.clear();
        } else if (m_afterHeader && m_token == "{") {
            m_token.clear();
        }
    }

    void take(char c) {
        if (!m_afterHeader) {
            if (!isBlankOrTab(c))
                m_token += c;
        } else if (c == ':') {
            if (m_netBlockDepth > 0) { // names outside the "NET{" block open no net
                // The name holds until the next ":", also an empty one; a net still waiting
                // for its ";" is dropped.
                m_netName = m_token;
                m_netNamed = true;
                m_netOpen = true;
                m_pinCounter = 2;
                m_pins.clear();
            }
            m_token.clear();
        } else if (c == ',') {
            storePin();
            m_token.clear();
        } else if (c == ';') {
            storePin();
            writeNet();
            m_token.clear();
        } else if (c == '}') {
            // A closing brace ends the net before it too, last pin included.
            storePin();
            writeNet();
            m_token.clear();
            if (m_netBlockDepth > 0 && --m_netBlockDepth == 0)
                m_netNamed = false; // pins after the "NET{" block belong to no net
        } else {
            if (c == '{' && m_netBlockDepth > 0)
                ++m_netBlockDepth;
            if (!isBlankOrTab(c))
                m_token += c;
        }
    }

    // Pins written after a net's ";" without a new name are a further net of that name.
    void storePin() {
        if (m_netNamed && !m_token.empty()) { // an empty place between separators is no pin
            // A pin takes the next slot of a net record: beyond its last slot it is a
            // capacity failure.
            if (m_pinCounter >= m_fieldSlots)
                throwFieldSlotExceeded(m_pinCounter);
            m_pins.append(m_token).append(", ");
            ++m_pinCounter;
            m_netOpen = true;
        }
    }

    // Appends the net line of the open net; its name stays for the pins after it.
    void writeNet() {
        if (!m_netOpen)
            return;
        std::string& netText = m_out.netText();
        netText.append(m_netName).append("; ").append(std::to_string(m_pinCounter - 2));
        netText.append(": ").append(m_pins).append("\r\n");
        m_netOpen = false;
        m_pinCounter = 2;
        m_pins.clear();
    }

    ReaderOutput& m_out;
    std::size_t m_fieldSlots;
    std::string m_token; // carries over from line to line
    std::string m_netName;
    std::string m_pins;         // of the open net, each followed by ", "
    bool m_afterHeader = false; // "$CCF" seen
    int m_netBlockDepth = 0;    // brace depth inside the "NET{" block; 0 outside it
    bool m_netNamed = false;    // a ":" in the "NET{" block gave the name (maybe empty)
    bool m_netOpen = false;     // a name or pins were read since the last net was written
    std::size_t m_pinCounter = 2;
};

} // namespace

// readD2Cad: converts a D2 CAD netlist into net.tmp and an empty parts.tmp.
ReaderResult readD2Cad(Workspace& ws, const std::string& path) {
    ReaderInput input(path);
    ReaderOutput out(ws);
    D2Reader reader(out);

    // Line ends separate nothing here; they only end comments (a lone LF as any other).
    std::string_view rawLine;
    std::string text;
    while (input.next(rawLine)) {
        text.assign(rawLine);
        upperCaseInPlace(text);
        reader.readLine(text);
    }

    if (!reader.sawHeader()) {
        ws.observer.hideProgress();
        return ReaderResult::NotRecognised;
    }
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
