// INTERGRA netlist reader.
//
//   %PART
//   74HC00          U1
//   10K             R1
//   %NET
//   GND U1-7 R1-2
//   *   C1-2
//   VCC U1-14 R1-1
//
// A part line holds the part name in a field that reaches at least to column 13, then one
// reference designator. After "%NET" a net line is the net name and its pins separated by
// blanks; a line beginning with "*" continues the net above. A pin is reference "-" pin.
// The reader walks an upper-cased copy of the input, so keywords may be written in any case.

#include "readers/readers.h"

namespace lintora {

using namespace std::string_view_literals;

namespace {

// The part name field reaches at least to this column: blanks up to it do not end the name.
constexpr std::size_t kPartNameColumns = 13;

// Byte length of the character starting at `i` (never beyond the line).
std::size_t charLength(std::string_view line, std::size_t i) {
    const std::size_t length = utf8SequenceLength(static_cast<unsigned char>(line[i]));
    return length < line.size() - i ? length : line.size() - i;
}

// The part lines before the line that begins with "%NET". Returns true when that line was
// found.
bool readParts(LineReader& copy, ReaderOutput& out) {
    FieldArray& f = out.fields;
    std::string token;
    // A part name waits for its reference designator, if need be on the next line.
    bool nameTaken = false;
    std::string_view line;
    while (copy.next(line)) {
        f[1].clear();
        f[2].clear();
        f[3].clear();
        token.clear();
        // `column` is the character position of `c`, counted from 1; the position after the
        // line's end yields the empty character.
        std::size_t column = 0;
        for (std::size_t i = 0; i <= line.size();) {
            ++column;
            const bool atEnd = i == line.size();
            std::size_t length = atEnd ? 0 : charLength(line, i);
            const bool blank = !atEnd && isBlankOrTab(line[i]);
            // Keywords are tested before the character at hand: "%NETLIST" counts too.
            if (token == "%PART"sv) {
                token.clear();
                nameTaken = false;
                break;
            }
            if (token == "%NET"sv)
                return true;
            if (blank && !token.empty() && column > kPartNameColumns && !nameTaken) {
                f[1] = token; // part name, which is the footprint slot's value too
                f[3] = token;
                token.clear();
                nameTaken = true;
            } else if ((blank || atEnd) && !token.empty() && nameTaken) {
                f[2] = token; // reference designator
                token.clear();
                nameTaken = false;
                if (!f[1].empty())
                    out.addPart();
            } else if (!atEnd && !blank) {
                // The characters after this one up to a blank join the token with it, each
                // counted in `column`; but a token that starts with "%" grows one character
                // at a time, for the keywords to be tested at each.
                if ((token.empty() ? line[i] : token.front()) != '%') {
                    while (i + length < line.size() && !isBlankOrTab(line[i + length])) {
                        length += charLength(line, i + length);
                        ++column;
                    }
                }
                token.append(line.substr(i, length));
            }
            if (atEnd)
                break;
            i += length;
        }
    }
    return false;
}

// The nets after the "%NET" line, to the end of the copy.
void readNets(LineReader& copy, ReaderOutput& out) {
    FieldArray& f = out.fields;
    std::string token;
    std::size_t pinCounter = 2;
    // A name's or pin's characters: anything but blanks, TABs and "*".
    const auto isPlain = [](char c) { return c != '*' && !isBlankOrTab(c); };
    const auto completeNet = [&] {
        f[1] = std::to_string(pinCounter - 2);
        out.addNet();
        f[0].clear();
        pinCounter = 2;
    };
    std::string_view line;
    while (copy.next(line)) {
        token.clear();
        // A net ends at the next line that does not continue it with "*".
        if (!f.at(0).empty() && (line.empty() || line[0] != '*'))
            completeNet();
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const bool atEnd = i == line.size();
            const char c = atEnd ? '\0' : line[i];
            const bool blank = !atEnd && isBlankOrTab(c);
            if (blank && f.at(0).empty() && !token.empty()) {
                // A name must be followed by a blank: one standing alone on its line is
                // dropped with the token.
                f[0] = token; // net name
                token.clear();
            } else if ((blank || atEnd) && !f.at(0).empty() && !token.empty()) {
                convertFirstSeparator(token, '-');
                f[pinCounter] = token;
                ++pinCounter;
                token.clear();
            } else if (!atEnd && !blank && c != '*') {
                // The plain characters after this one join the token with it.
                const std::size_t next = endOfRun(line, i + 1, isPlain);
                token.append(line.substr(i, next - i));
                i = next - 1;
            }
            if (blank && token.empty()) {
                // Further blanks before the next token change nothing: pass over them.
                i = endOfRun(line, i + 1, isBlankOrTab) - 1;
            }
        }
    }
    // The last net needs no line after it.
    if (!f.at(0).empty())
        completeNet();
}

} // namespace

// readIntergra: converts an INTERGRA netlist into net.tmp and parts.tmp.
ReaderResult readIntergra(Workspace& ws, const std::string& path) {
    return convertThroughNormalisedCopy(ws, path, &readParts, &readNets);
}

} // namespace lintora
