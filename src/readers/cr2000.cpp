// CR2000 netlist reader.
//
//   NETS
//     GND      U1-7, U2-7, C1-2,
//   C2-2, C3-2
//     VCC      U1-14, U2-14
//   END
//
// A net starts on a line whose second column is a blank: its first word is the net name,
// the rest of the line lists pins separated by ",". Lines whose second column is not blank
// continue the pin list of the net above; every line end closes a pin. Pins are written
// REF-PIN. The format carries no parts, so parts.tmp stays empty.

#include "readers/readers.h"

#include <algorithm>

namespace lintora {

using namespace std::string_view_literals;

namespace {

// The heading "NETS" at the start of a line, blanks and TABs aside and in upper case only.
// Leaves the input on the line after the heading; false when no line holds it.
bool findNetsHeading(ReaderInput& input) {
    static constexpr std::string_view kHeading = "NETS";
    std::string_view line;
    while (input.next(line)) {
        std::string token;
        for (const char c : line) {
            if (isBlankOrTab(c))
                continue;
            token += c;
            if (token == kHeading)
                return true;
            if (token.size() >= kHeading.size())
                break; // the token only grows: this line cannot hold the heading
        }
    }
    return false;
}

class NetSectionReader {
public:
    explicit NetSectionReader(ReaderOutput& out) : m_out(out), m_f(out.fields) {}

    // Reads the net lines up to "END" or the end of the input.
    void read(ReaderInput& input) {
        input.upperCase(); // the net lines are read upper-cased
        std::string_view line;
        while (input.next(line)) {
            if (!readLine(line))
                break;
        }
        // The net that is still open when the list ends belongs to the file as much as
        // the others: write it whether "END" or the end of the file closed the list.
        if (netPending())
            finishNet();
    }

private:
    bool netPending() const { return !m_f.at(0).empty(); }

    void finishNet() {
        m_f[1] = std::to_string(m_pinCounter - 2);
        m_out.addNet();
        m_f[0].clear();
        m_pinCounter = 2;
    }

    // Returns false when "END" closed the list.
    bool readLine(std::string_view line) {
        // Column 2 is the second character, not the second byte: a name in double-byte
        // characters must not shift it.
        const std::size_t column2 = byteOffsetOfChar(line, 1);
        const bool startsNet = column2 < line.size() && line[column2] == ' ';
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const char c = i < line.size() ? line[i] : '\0';
            const bool atEnd = i == line.size();
            // "END" closes the list only as a word of its own, so that names such as
            // ENDSTOP or END_SW are read like any other.
            if (m_token == "END"sv && (atEnd || isBlankOrTab(c) || c == ','))
                return false;
            if (i == column2 && startsNet && netPending()) {
                // A new net starts: the one above is complete. A one-letter name in
                // column 1 stays in the token and names the new net.
                finishNet();
            }
            if (c == ' ' && !m_token.empty() && !netPending()) {
                m_f[0] = m_token;
                m_token.clear();
                m_pinCounter = 2;
                continue;
            }
            if (c == ',' || atEnd) {
                takeToken(startsNet);
                continue;
            }
            if (c != '\t' && c != ' ') {
                // The plain characters after this one join the token with it ("END" is
                // only tested at a character that is not plain), up to column 2 where a
                // net may start.
                std::size_t next = endOfRun(line, i + 1, isPlain);
                if (i < column2)
                    next = std::min(next, column2);
                m_token.append(line.substr(i, next - i));
                i = next - 1;
            }
        }
        return true;
    }

    static bool isPlain(char c) { return c != ',' && !isBlankOrTab(c); }

    // A "," or the line end closes the token. Inside a net it is a pin; on a net-start line
    // without an open net it is the net name (the name was not followed by a blank). An
    // empty token (a line ending in ",", an empty line) stores nothing, and neither does a
    // token that belongs to no net.
    void takeToken(bool startsNet) {
        if (m_token.empty())
            return;
        if (netPending()) {
            std::string& pin = m_f[m_pinCounter];
            pin = m_token;
            convertFirstSeparator(pin, '-');
            ++m_pinCounter;
        } else if (startsNet) {
            m_f[0] = m_token;
            m_pinCounter = 2;
        }
        m_token.clear();
    }

    ReaderOutput& m_out;
    FieldArray& m_f;
    std::string m_token;
    std::size_t m_pinCounter = 2;
};

} // namespace

// readCr2000: converts a CR2000 netlist into net.tmp and an empty parts.tmp.
ReaderResult readCr2000(Workspace& ws, const std::string& path) {
    ReaderInput input(path);
    ReaderOutput out(ws);
    out.reserveFor(input.text().size());
    out.writePartsFile();
    if (!findNetsHeading(input)) {
        ws.observer.hideProgress();
        return ReaderResult::NotRecognised;
    }
    NetSectionReader(out).read(input);
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
