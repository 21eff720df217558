// WACOM SIMPLE NET netlist reader.
//
//   * WACOM SIMPLE NET
//   GND: U1-7, U2-7,
//        R1-2.
//   VCC: U1-14, U2-14.
//
// A net is its name, ":", pins separated by "," and a closing "."; a pin is reference "-"
// pin number. Blanks are ignored and a net may run over several lines, but a name or pin
// may not. Lines beginning with "*" are comments. The files usually end their lines in LF
// alone; every line is upper-cased before it is read.

#include "readers/readers.h"

namespace lintora {

namespace {

// A file of this format holds ":", "," and "." somewhere.
bool hasSeparators(std::string_view text) {
    return text.find(':') != std::string_view::npos && text.find(',') != std::string_view::npos &&
           text.find('.') != std::string_view::npos;
}

// Characters of a name or pin: none of the separators, blanks or TABs.
bool isPlain(char c) {
    return c != ':' && c != ',' && c != '.' && c != '\n' && !isBlankOrTab(c);
}

// The nets of the upper-cased input, whose lines end at CR, CR LF and LF alike (lines ended
// by CR or CR LF are all kept, not only the last one); they are read as in the normalised
// copy, after an empty first line, which holds no net.
void readNets(std::string_view text, ReaderOutput& out) {
    FieldArray& f = out.fields;
    std::size_t pinCounter = 0;
    bool netOpen = false; // a name was read and its "." has not come yet
    std::string token;
    const auto storePin = [&] {
        convertFirstSeparator(token, '-');
        f[pinCounter] = token;
        ++pinCounter;
    };
    LineReader lines = normalisedCopyLines(text);
    std::string_view line;
    while (lines.next(line)) {
        token.clear();
        if (!line.empty() && line.front() == '*')
            continue; // a comment line
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            // ":", "," and "." only ever separate; with nothing collected before them they
            // are dropped rather than glued to the next name or pin.
            if (c == ':') {
                if (!token.empty()) {
                    f[0] = token; // a net still waiting for its "." is dropped
                    pinCounter = 2;
                    netOpen = true;
                }
                token.clear();
            } else if (c == ',') {
                // Pins that belong to no net (before the first name, or after a net's ".")
                // are not stored.
                if (!token.empty() && netOpen)
                    storePin();
                token.clear();
            } else if (c == '.') {
                if (netOpen) {
                    if (!token.empty())
                        storePin();
                    // A "." right after a "," still ends the net.
                    f[1] = std::to_string(pinCounter - 2);
                    out.addNet();
                    netOpen = false;
                }
                token.clear();
            } else if (c != '\n' && !isBlankOrTab(c)) {
                // The plain characters after this one join the token with it.
                const std::size_t next = endOfRun(line, i + 1, isPlain);
                token.append(line.substr(i, next - i));
                i = next - 1;
            } else if (isBlankOrTab(c)) {
                // Blanks change nothing: pass over all of them.
                i = endOfRun(line, i + 1, isBlankOrTab) - 1;
            }
        }
    }
}

} // namespace

// readWacom: converts a WACOM SIMPLE NET netlist into net.tmp and an empty parts.tmp.
ReaderResult readWacom(Workspace& ws, const std::string& path) {
    ReaderInput input(path);
    if (!hasSeparators(input.text())) {
        ws.observer.hideProgress();
        return ReaderResult::NotRecognised;
    }
    input.upperCase();
    ReaderOutput out(ws);
    out.reserveFor(input.text().size());
    out.writePartsFile();
    readNets(input.text(), out);
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
