// Protel 2.0 netlist reader (also written by EasyEDA and gEDA/lepton).
//
//   PROTEL NETLIST 2.0
//   [
//   DESIGNATOR
//   U1
//   FOOTPRINT
//   DIP14
//   PARTTYPE
//   74LS00
//   DESCRIPTION
//   QUAD NAND
//   ]
//   (
//   GND
//   U1-7
//   U2-7
//   )
//
// Inside a component block a keyword line names the value on the next line; other lines
// (further attributes) are passed over. Values may be written in double quotes. Pins join
// reference and pin number with "-".

#include "readers/bracket_nets.h"
#include "readers/readers.h"

namespace lintora {

using namespace std::string_view_literals;

namespace {

// The keyword whose value the next line holds.
enum class Keyword { None, PartType, Designator, Footprint, Description };

// The component blocks, up to the line beginning with "(" that opens the first net.
//
// A part is written when its block ends (at "]", at the next "[" or where the nets start),
// so the order of the keywords inside a block does not matter and a block never takes a
// designator or footprint from the block before it.
bool readComponents(LineReader& lines, ReaderOutput& out) {
    FieldArray& f = out.fields;
    Keyword last = Keyword::None;
    std::string token;
    // The block's designator or part type came and the part is not written yet. A part
    // whose part type is empty (an empty value line, or none) is still a part: it pairs
    // by its designator.
    bool partPending = false;

    const auto finishPart = [&] {
        if (partPending) {
            out.addPart();
            f[1].clear();
            partPending = false;
        }
    };
    // A value's characters: anything but quotes, blanks, TABs and ")".
    const auto isPlain = [](char c) { return c != '"' && c != '\t' && c != ')' && c != ' '; };
    std::string_view line;
    while (lines.next(line)) {
        token.clear();
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const bool atEnd = i == line.size();
            const char c = atEnd ? '\0' : line[i];
            if (c == '"' && !atEnd)
                continue; // quotes around a value are dropped wherever they stand
            if (token == "("sv) {
                finishPart();
                return true;
            }
            if (!atEnd) {
                if (c != '\t' && c != ')' && c != ' ') {
                    // The plain characters after this one join the token, except after a
                    // first character, which must be tested for "(" on its own.
                    const std::size_t next = token.empty() ? i + 1 : endOfRun(line, i + 1, isPlain);
                    token.append(line.substr(i, next - i));
                    i = next - 1;
                }
                continue;
            }
            if (token == "PARTTYPE"sv) {
                last = Keyword::PartType;
            } else if (last == Keyword::PartType) {
                if (!f.at(1).empty())
                    finishPart(); // a second part type in one block starts another part
                f[1] = token;
                partPending = true;
                last = Keyword::None;
            } else if (token == "DESIGNATOR"sv) {
                last = Keyword::Designator;
            } else if (last == Keyword::Designator) {
                f[2] = token;
                partPending = partPending || !token.empty();
                last = Keyword::None;
            } else if (token == "FOOTPRINT"sv) {
                last = Keyword::Footprint;
            } else if (last == Keyword::Footprint) {
                f[3] = token;
                last = Keyword::None;
            } else if (token == "DESCRIPTION"sv) {
                last = Keyword::Description;
            } else if (last == Keyword::Description) {
                f[4] = token; // kept, but not part of the parts line
                last = Keyword::None;
            } else if (token == "["sv) {
                finishPart();
                f[2].clear();
                f[3].clear();
                f[4].clear();
            } else if (token == "]"sv) {
                finishPart();
            }
        }
    }
    return false;
}

void convertPin(std::string& pin) {
    convertFirstSeparator(pin, '-');
}

} // namespace

// readProtel2: converts a Protel 2.0 netlist into net.tmp and parts.tmp.
ReaderResult readProtel2(Workspace& ws, const std::string& path) {
    return convertBracketNetlist(ws, path, &readComponents, &convertPin);
}

} // namespace lintora
