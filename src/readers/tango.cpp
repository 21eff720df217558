// Tango netlist reader.
//
//   [
//   U1
//   DIP14
//   74LS00
//   QUAD NAND
//   ]
//   (
//   GND
//   U1-7
//   U2,7
//   )
//
// A component block is "[", designator, footprint, part name, then description lines up to
// "]". Values may be written in double quotes. Pins join reference and pin number with "-"
// or ","; every one of them becomes ".".

#include "readers/bracket_nets.h"
#include "readers/readers.h"

namespace lintora {

using namespace std::string_view_literals;

namespace {

// Which value the next line of a component block holds.
enum class Field { None, PartName, Designator, Footprint, Description, MoreDescription };

// The component blocks, up to the line beginning with "(" that opens the first net.
bool readComponents(LineReader& lines, ReaderOutput& out) {
    FieldArray& f = out.fields;
    Field position = Field::None;
    std::string token;
    // A value's characters: anything but quotes, brackets, blanks, TABs and ")".
    const auto isPlain = [](char c) {
        return c != '"' && c != '[' && c != ']' && c != '\t' && c != ')' && c != ' ';
    };
    std::string_view line;
    while (lines.next(line)) {
        token.clear();
        bool nameRead = false; // this line was the block's part name line
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const bool atEnd = i == line.size();
            const char c = atEnd ? '\0' : line[i];
            if (c == '"' && !atEnd)
                continue; // quotes around a value are dropped wherever they stand
            if (token == "("sv) {
                return true;
            } else if (atEnd && position == Field::PartName) {
                f[1] = token;
                token.clear();
                nameRead = true;
                position = Field::Description;
            } else if (c == '[' && !atEnd) {
                token.clear();
                position = Field::Designator;
                break;
            } else if (atEnd && position == Field::Designator) {
                f[2] = token;
                token.clear();
                position = Field::Footprint;
            } else if (atEnd && position == Field::Footprint) {
                f[3] = token;
                token.clear();
                position = Field::PartName;
            } else if (atEnd && position == Field::Description) {
                f[4] = token;
                token.clear();
                position = Field::MoreDescription;
            } else if (atEnd && position == Field::MoreDescription) {
                f[4] += ' ';
                f[4] += token;
                token.clear();
            } else if (c == ']' && !atEnd) {
                token.clear();
                position = Field::None;
                break;
            } else if (!atEnd && c != '\t' && c != ')' && c != ' ') {
                // The plain characters after this one join the token, except after a first
                // character, which must be tested for "(" on its own.
                const std::size_t next = token.empty() ? i + 1 : endOfRun(line, i + 1, isPlain);
                token.append(line.substr(i, next - i));
                i = next - 1;
            }
        }
        // The part is complete as soon as its name line has been read, also when that line
        // is empty: a part without a part name still pairs by its designator.
        if (nameRead) {
            out.addPart();
            f[1].clear();
        }
    }
    return false;
}

void convertPin(std::string& pin) {
    convertAllSeparators(pin, "-,");
}

} // namespace

// readTango: converts a Tango netlist into net.tmp and parts.tmp.
ReaderResult readTango(Workspace& ws, const std::string& path) {
    return convertBracketNetlist(ws, path, &readComponents, &convertPin);
}

} // namespace lintora
