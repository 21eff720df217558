// CADVANCE netlist reader.
//
//   COMPONENTS
//   {
//   U1 [DIP14] 74HC00,
//   R1 [R1608] 10K,
//   }
//   NETS
//   {
//   GND = U1-7, R1-2;
//   VCC = U1-14,
//         R1-1;
//   }
//
// A component line is reference "[" footprint "]" part name ","; a net is name "=" pins
// separated by "," and closed by ";", and may run over several lines. The reader walks an
// upper-cased copy of the input, so keywords and names may be written in any case.

#include "readers/readers.h"

#include <algorithm>

namespace lintora {

using namespace std::string_view_literals;

namespace {

// "COMP" and "NETS": the keywords of the component block.
constexpr std::size_t kKeywordLength = 4;

// Characters of a token of the component block: none of its separators.
bool isPlainInComponents(char c) {
    return c != ']' && c != ',' && c != '[' && c != '{' && c != '"' && !isBlankOrTab(c);
}

// The component block, up to the line that begins with "NETS". Returns true when that line
// was found inside the component block.
bool readComponents(LineReader& copy, ReaderOutput& out) {
    FieldArray& f = out.fields;
    bool componentBlock = false;
    std::string token;
    std::string_view line;
    while (copy.next(line)) {
        f[1].clear();
        f[2].clear();
        f[3].clear();
        token.clear();
        bool partNamed = false; // the "," after the part name came
        // Keywords are tested before the character at hand, so they count at the character
        // after them: "COMPONENTS" opens the block as "COMP" does.
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const char c = i < line.size() ? line[i] : kEndOfLine;
            const bool atEnd = i == line.size();
            if (token == "COMP"sv) {
                token.clear();
                componentBlock = true;
                break;
            }
            if (componentBlock && !atEnd && c == ']' && !token.empty()) {
                f[3] = token; // footprint
                token.clear();
            } else if (componentBlock && token == "NETS"sv) {
                return true;
            } else if (componentBlock && !atEnd && c == ',' &&
                       (!token.empty() || (!f.at(2).empty() && !f.at(3).empty()))) {
                // The part name; the rest of the line is a comment. After the footprint's
                // "]" it may be empty ("R1 [R1608] ,"): the part is kept, to pair by its
                // reference.
                f[1] = token;
                token.clear();
                partNamed = true;
                break;
            } else if (componentBlock && !atEnd && c == '[' && !token.empty()) {
                f[2] = token; // reference designator
                token.clear();
            } else if (componentBlock && !atEnd && c == '{') {
                token.clear();
            } else if (!atEnd && !isBlankOrTab(c) && c != '"') {
                // The plain characters after this one join the token with it, but a token
                // shorter than the keywords stops at their length to be tested there.
                std::size_t next = endOfRun(line, i + 1, isPlainInComponents);
                if (token.size() < kKeywordLength)
                    next = std::min(next, i + kKeywordLength - token.size());
                token.append(line.substr(i, next - i));
                i = next - 1;
            }
        }
        if (partNamed)
            out.addPart();
    }
    return false;
}

// Every "-" after the pin's first character separates reference and pin: U1-7-A -> U1.7.A.
void storePin(std::string& slot, const std::string& token) {
    slot = token;
    convertAllSeparators(slot, "-");
}

// Characters of a name or pin: none of the separators of the nets section.
bool isPlainInNets(char c) {
    return c != '=' && c != ',' && c != ';' && c != '{' && c != '}' && !isBlankOrTab(c);
}

// The nets after the "NETS" line, to the end of the copy. The token runs on from line to
// line, so a net, and even a pin, may be broken across lines.
void readNets(LineReader& copy, ReaderOutput& out) {
    FieldArray& f = out.fields;
    std::string token;
    std::size_t pinCounter = 0;
    bool netOpen = false; // an "=" was read since the last ";"
    std::string_view line;
    while (copy.next(line)) {
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const char c = i < line.size() ? line[i] : kEndOfLine;
            const bool atEnd = i == line.size();
            if (atEnd)
                continue;
            if (c == '=' && f.at(0).empty()) {
                f[0] = token; // net name
                token.clear();
                pinCounter = 2;
                netOpen = true;
            } else if (c == ',' && !token.empty() && !f.at(0).empty()) {
                storePin(f[pinCounter], token);
                ++pinCounter;
                token.clear();
            } else if (c == ';') {
                // The ";" closes the net and takes the last pin, even an empty one. A ";"
                // with no net open (no "=" since the last ";") names nothing: its text is
                // dropped.
                if (netOpen) {
                    storePin(f[pinCounter], token);
                    ++pinCounter;
                    f[1] = std::to_string(pinCounter - 2);
                    out.addNet();
                }
                token.clear();
                f[0].clear();
                netOpen = false;
            } else if (c == '{' || c == '}') {
                // braces only frame the block
            } else if (!isBlankOrTab(c)) {
                // The plain characters after this one join the token with it.
                const std::size_t next = endOfRun(line, i + 1, isPlainInNets);
                token.append(line.substr(i, next - i));
                i = next - 1;
            } else {
                // Blanks change nothing: pass over all of them.
                i = endOfRun(line, i + 1, isBlankOrTab) - 1;
            }
        }
    }
}

} // namespace

// readCadvance: converts a CADVANCE netlist into net.tmp and parts.tmp.
ReaderResult readCadvance(Workspace& ws, const std::string& path) {
    return convertThroughNormalisedCopy(ws, path, &readComponents, &readNets);
}

} // namespace lintora
