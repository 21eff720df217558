// P-CAD wire list reader, format "Pcad(wrl)".
//
//   % wire list
//     GND                   U1-7 U2-7 C1-2
//                           C2-2
//     VCC                   U1-14 U2-14
//
// A net line carries the net name from the third column on, then pins separated by blanks;
// a line whose third column is blank continues the current net. Pins are written REF-PIN.
// Lines starting with "%" are comments. The format has no parts.
//
// The format has no landmark, so the reader claims nothing itself: it takes every file except
// one that holds no net with a name and a pin at its end.

#include "readers/readers.h"

namespace lintora {

namespace {

// The byte offset of the third character, or npos when the line is shorter. Columns count
// characters, not bytes.
std::size_t thirdColumn(std::string_view line) {
    const std::size_t at = byteOffsetOfChar(line, 2);
    return at < line.size() ? at : std::string_view::npos;
}

// The end of the word that starts at `from`: the next blank or the end of the line.
std::size_t wordEnd(std::string_view line, std::size_t from) {
    const std::size_t blank = line.find(' ', from);
    return blank == std::string_view::npos ? line.size() : blank;
}

} // namespace

// readPcadWrl: converts a P-CAD wire list into net.tmp (and an empty parts.tmp).
ReaderResult readPcadWrl(Workspace& ws, const std::string& path) {
    ReaderInput input(path);
    ReaderOutput out(ws);
    out.writePartsFile();

    FieldArray& f = out.fields;
    std::size_t pinCounter = 0; // 0 until the first net name, then the slot of the next pin
    bool netOpen = false;       // the record holds a net not yet written
    // A line out of line (a word in column 1 or 2 and its third column not blank) ends the
    // net above, as a name line does; its words are not lost but begin a further net of the
    // same name, which the duplicate checks then report.
    bool reopened = false;
    // The last net named has a pin of its own: a file without is no wire list.
    bool namedNetHasPins = false;
    const auto finishNet = [&] {
        out.addNet(); // slot 1 already holds the pin count
        netOpen = false;
    };
    std::string line;
    std::string_view raw;
    while (input.next(raw)) {
        if (raw.empty() || raw.front() == '%')
            continue;
        line.assign(raw);
        upperCaseInPlace(line);
        const std::size_t nameAt = thirdColumn(line);
        const bool startsNet = nameAt != std::string::npos && line[nameAt] != ' ';
        if (netOpen && startsNet)
            finishNet();
        std::size_t i = 0;
        while (i < line.size()) {
            if (line[i] == ' ') {
                ++i;
                continue;
            }
            const std::size_t end = wordEnd(line, i);
            if (i == nameAt) {
                if (netOpen)
                    finishNet(); // words before the name on its line
                // The name runs to the first blank, however long it is.
                f[0] = line.substr(i, end - i);
                f[1] = "0";
                pinCounter = 2;
                netOpen = true;
                reopened = false;
                namedNetHasPins = false;
            } else if (pinCounter >= 2) { // pins before the first net name belong to no net
                if (!netOpen) {
                    f[1] = "0"; // the name stays
                    pinCounter = 2;
                    netOpen = true;
                    reopened = true;
                }
                std::string pin = line.substr(i, end - i);
                convertFirstSeparator(pin, '-');
                f[pinCounter] = std::move(pin);
                f[1] = std::to_string(pinCounter - 1);
                ++pinCounter;
                namedNetHasPins = namedNetHasPins || !reopened;
            }
            i = end;
        }
    }
    // The last net ends with the file.
    if (netOpen)
        finishNet();
    if (!namedNetHasPins) {
        ws.observer.hideProgress();
        return ReaderResult::NotRecognised;
    }
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
