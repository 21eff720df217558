// ACCEL netlist reader.
//
//   (compInst "U1"
//     (compRef "74LS00")
//     (patternName "DIP14")
//     (compValue "74LS00")
//   )
//   (net "GND"
//     (node "U1" "7")
//     (node "U2" "7"))
//   (net "VCC"
//     (node "U1" "14")
//     (node "U2" "14")))
//
// A part is written at the line of its "(compValue" entry (also an empty one), with the
// reference of the "(compInst" and the pattern name seen last. A net is a "(net" line with its
// quoted name, then one "(node" line per pin (quoted reference and pin number); "))" after a node
// closes the net and ")))" the net list. Keywords may be written in any case: every line is
// upper-cased first.

#include "readers/readers.h"

namespace lintora {

using namespace std::string_view_literals;

namespace {

// The keywords start with a bracket.
bool startsKeyword(char c) {
    return c == '(' || c == ')';
}

// Which slot the next quoted value of the parts section goes to.
enum class ValueField { None, PartName, Reference, Footprint };

// The parts section, up to the first "(NET " entry. Returns true when it was found; `line`
// then holds that line for the nets section to read again. The input is upper-cased.
bool readParts(ReaderInput& input, ReaderOutput& out, std::string_view& line) {
    FieldArray& f = out.fields;
    ValueField valueField = ValueField::None;
    std::string token;
    // A value's characters: anything but quotes (which are counted), blanks, TABs and ")".
    const auto isPlain = [](char c) { return c != '"' && c != ')' && !isBlankOrTab(c); };
    while (input.next(line)) {
        token.clear();
        bool valueTaken = false; // the line's "(COMPVALUE" value, which writes the part
        int quotes = 0; // quotes since the line start or since the last value was taken
        const auto takeValue = [&](std::size_t slot) {
            f[slot] = token;
            token.clear();
            quotes = 0;
            valueField = ValueField::None;
        };
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const char c = i < line.size() ? line[i] : kEndOfLine;
            const bool atEnd = i == line.size();
            if (!atEnd && c == '"') {
                ++quotes;
            } else if (token == "(COMPVALUE"sv) {
                token.clear();
                valueField = ValueField::Footprint;
            } else if (valueField == ValueField::Footprint && quotes == 2) {
                takeValue(3);
                valueTaken = true;
            } else if (token == "(NET"sv && !atEnd && c == ' ') {
                return true;
            } else if (token == "(PATTERNNAME"sv) {
                token.clear();
                valueField = ValueField::PartName;
            } else if (valueField == ValueField::PartName && quotes == 2) {
                takeValue(1);
            } else if (token == "(COMPINST"sv) {
                token.clear();
                valueField = ValueField::Reference;
            } else if (valueField == ValueField::Reference && quotes == 2) {
                takeValue(2);
            } else if (!atEnd && !isBlankOrTab(c) && c != ')') {
                i = takeIntoToken(token, line, i, startsKeyword, isPlain);
            }
        }
        // Also an empty value ("") writes the part, which then still pairs by reference.
        if (valueTaken) {
            out.addPart();
            f[3].clear();
        }
    }
    return false;
}

// The nets section: reads lines from the "(NET " line on, up to ")))" or the end of the file.
class NetsReader {
public:
    explicit NetsReader(ReaderOutput& out) : m_out(out), m_f(out.fields) {}

    // Scans one upper-cased line; returns false once ")))" closed the net list.
    bool scanLine(std::string_view line) {
        m_token.clear();
        for (std::size_t p = 0; p <= line.size(); ++p) {
            const char c = p < line.size() ? line[p] : kEndOfLine;
            const bool atEnd = p == line.size();
            if (m_token == "(NET"sv && !atEnd && c == ' ') {
                startNet(line, p);
                return true; // the rest of the line was the name
            }
            if (m_token == "(NODE"sv) {
                readNode(line, p);
                // The node took the rest of the line; what followed its pin number (its
                // closing brackets) is the token the line ends with. Reading on after the
                // node, not again from inside it, keeps a line of many nodes linear.
                if (p < line.size())
                    p = line.size() - 1;
                continue;
            }
            if (!atEnd && c == ',')
                continue;
            if (m_token == "))"sv) {
                finishNet();
                m_token.clear();
            } else if (m_token == ")))"sv) {
                finishNet();
                return false;
            } else if (!atEnd && !isBlankOrTab(c) && c != '"') {
                p = takeIntoToken(m_token, line, p, startsKeyword, isPlain);
            } else if (!atEnd && isBlankOrTab(c) && m_token.empty()) {
                // Blanks before a token (the indentation) change nothing: pass over them.
                p = endOfRun(line, p + 1, isBlankOrTab) - 1;
            }
        }
        return true;
    }

    // A file cut off before the net's closing brackets still holds every pin of it.
    void finishOpenNet() { finishNet(); }

private:
    static bool dropped(char c) { return c == '"' || isBlankOrTab(c); }
    // Characters of a token of the nets section: anything but quotes, blanks, TABs and ",".
    static bool isPlain(char c) { return c != ',' && !dropped(c); }

    // The net name is the rest of the line without blanks and quotes.
    void startNet(std::string_view line, std::size_t from) {
        // A net left open (its closing brackets on a line of their own, or missing) is
        // complete once the next net begins.
        finishNet();
        std::string name;
        for (std::size_t i = from; i < line.size(); ++i)
            if (!dropped(line[i]))
                name += line[i];
        m_f[0] = std::move(name);
        m_token.clear();
        m_pinCounter = 2;
        m_netOpen = true;
    }

    // A node: the first quoted value is the reference, the second the pin number.
    void readNode(std::string_view line, std::size_t from) {
        m_token.clear();
        int quotes = 0;
        std::string pin;
        for (std::size_t i = from; i < line.size(); ++i) {
            const char c = line[i];
            if (c == '"') {
                ++quotes;
                if (quotes == 2) {
                    pin = m_token;
                    m_token.clear();
                } else if (quotes == 4) {
                    pin += '.';
                    pin += m_token;
                    m_token.clear();
                }
            } else if (!isBlankOrTab(c)) {
                // The characters after this one up to a quote or blank join the token.
                const std::size_t next =
                    endOfRun(line, i + 1, [](char n) { return n != '"' && !isBlankOrTab(n); });
                m_token.append(line.substr(i, next - i));
                i = next - 1;
            }
        }
        // A node without a quoted reference names no pin.
        if (quotes >= 2) {
            m_f[m_pinCounter] = std::move(pin);
            ++m_pinCounter;
        }
    }

    void finishNet() {
        if (m_netOpen) {
            m_f[1] = std::to_string(m_pinCounter - 2);
            m_out.addNet();
        }
        m_netOpen = false;
        m_pinCounter = 2;
    }

    ReaderOutput& m_out;
    FieldArray& m_f;
    std::string m_token;
    std::size_t m_pinCounter = 2;
    bool m_netOpen = false;
};

} // namespace

// readAccel: converts an ACCEL netlist into net.tmp and parts.tmp.
ReaderResult readAccel(Workspace& ws, const std::string& path) {
    ReaderInput input(path);
    input.upperCase(); // every line is read upper-cased
    ReaderOutput out(ws);
    out.reserveFor(input.text().size());

    std::string_view line;
    if (!readParts(input, out, line)) {
        ws.observer.hideProgress(); // not an ACCEL file: nothing is written
        return ReaderResult::NotRecognised;
    }
    out.writePartsFile();

    NetsReader nets(out);
    bool open = nets.scanLine(line);
    while (open && input.next(line))
        open = nets.scanLine(line);
    if (open)
        nets.finishOpenNet();
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
