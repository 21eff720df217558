// CADLUS-PC reverse net list reader.
//
//   CADLUS-PC REVERSE NET LIST
//    GND                     U1-7 U2-7
//                            R1-2
//    VCC                     U1-14 U2-14
//
// Only lines that begin with a space are read. A line with a character in column 2 starts
// a net: its name runs from column 2 to the next space, and its pins follow; a line that
// begins with two spaces continues the open net with further pins. A pin is reference "-"
// pin number. TAB is an ordinary character here, collected into names and pins. Every line
// is upper-cased before it is read.
//
// The reader claims nothing itself: it takes every file except one that holds no net with a
// pin.

#include "readers/readers.h"

namespace lintora {

// readCadlus: converts a CADLUS-PC reverse net list into net.tmp and an empty parts.tmp.
ReaderResult readCadlus(Workspace& ws, const std::string& path) {
    ReaderInput input(path);
    ReaderOutput out(ws);
    FieldArray& f = out.fields;

    // The parts file starts with an empty line and holds no part.
    out.partsText() = "\r\n";
    out.writePartsFile();

    std::size_t pinCounter = 0;
    bool netOpen = false; // slot 0 names a net whose pins are being read
    bool sawPin = false;  // some named net received a pin

    std::string_view rawLine;
    while (input.next(rawLine)) {
        const std::string line = upperCased(rawLine);
        if (line.empty() || line[0] != ' ')
            continue;        // headers and everything else from column 1
        std::size_t pos = 1; // column 2: column 1 holds a one-byte space

        // A character in column 2 starts a net; a line of one space has none and is as
        // empty as a line of several spaces.
        if (line.size() > 1 && line[1] != ' ') {
            if (netOpen)
                out.addNet(); // slot 1 already holds its pin count
            pinCounter = 2;
            // The name runs from column 2 to the next space or the line's end, also when
            // it is longer than the usual name field (columns 2 to 24).
            std::size_t nameEnd = line.find(' ', 1);
            if (nameEnd == std::string::npos)
                nameEnd = line.size();
            f[0] = line.substr(1, nameEnd - 1);
            pos = nameEnd + 1;
            // A net starts with no pins; the count never carries over from the net before.
            f[1] = "0";
            netOpen = true;
        }

        while (pos < line.size()) {
            if (line[pos] == ' ') {
                ++pos;
                continue;
            }
            std::size_t pinEnd = line.find(' ', pos);
            if (pinEnd == std::string::npos)
                pinEnd = line.size();
            if (netOpen) { // pins before the first net name belong to no net
                std::string pin = line.substr(pos, pinEnd - pos);
                convertFirstSeparator(pin, '-');
                f[pinCounter] = std::move(pin);
                f[1] = std::to_string(pinCounter - 1);
                ++pinCounter;
                sawPin = true;
            }
            pos = pinEnd + 1;
        }
    }
    if (netOpen)
        out.addNet();

    if (!sawPin) {
        ws.observer.hideProgress();
        return ReaderResult::NotRecognised;
    }
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
