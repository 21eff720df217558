// Protel netlist reader (the first Protel format, also written by TinyCAD).
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
//   U2-7
//   )
//
// A component block is "[", designator, footprint, part name, description, any further
// lines, "]"; lines are compared whole. Pins join reference and pin number with "-".

#include "readers/bracket_nets.h"
#include "readers/readers.h"

namespace lintora {

namespace {

// The component blocks, up to the line "(" that opens the first net.
bool readComponents(LineReader& lines, ReaderOutput& out) {
    FieldArray& f = out.fields;
    int blockLine = 0; // 0 outside a block, 1 after "[", then 2 to 5
    std::string_view line;
    while (lines.next(line)) {
        if (line == "[") {
            blockLine = 1;
        } else if (line == "(") {
            return true;
        } else if (blockLine == 1) {
            f[2] = line;
            blockLine = 2;
        } else if (blockLine == 2) {
            f[3] = line;
            blockLine = 3;
        } else if (blockLine == 3) {
            f[1] = line;
            blockLine = 4;
        } else if (blockLine == 4) {
            f[4] = line; // description: kept, but not part of the parts line
            blockLine = 5;
        } else if (line == "]" && blockLine == 5) {
            out.addPart();
            blockLine = 0;
        }
    }
    return false;
}

void convertPin(std::string& pin) {
    convertFirstSeparator(pin, '-');
}

} // namespace

// readProtel: converts a Protel netlist into net.tmp and parts.tmp.
ReaderResult readProtel(Workspace& ws, const std::string& path) {
    return convertBracketNetlist(ws, path, &readComponents, &convertPin);
}

} // namespace lintora
