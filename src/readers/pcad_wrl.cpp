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
    bool netOpen = false;       // the record holds a net (or more pins of it) not yet written
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
                    finishNet(); // words before the name on its line went to the net above
                // The name runs to the first blank, however long it is.
                f[0] = line.substr(i, end - i);
                f[1] = "0";
                pinCounter = 2;
                netOpen = true;
            } else if (pinCounter >= 2) {
                // A word out of line (starting in column 1 or 2 of a line whose third column
                // is not blank) has closed the net above, but it is still one of its pins:
                // the net is written again with it, and the duplicate checks report the
                // two copies rather than the word vanishing.
                std::string pin = line.substr(i, end - i);
                convertFirstSeparator(pin, '-');
                f[pinCounter] = std::move(pin);
                f[1] = std::to_string(pinCounter - 1);
                ++pinCounter;
                netOpen = true;
            }
            // Pins before the first net name belong to no net and are dropped.
            i = end;
        }
    }
    // The last net ends with the file; a file whose last net has no pin is no wire list.
    // (pinCounter still belongs to the last net that was named, 0 when none was.)
    const bool lastNetHasPins = pinCounter > 2;
    if (netOpen)
        finishNet();
    if (!lastNetHasPins) {
        ws.observer.hideProgress();
        return ReaderResult::NotRecognised;
    }
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
