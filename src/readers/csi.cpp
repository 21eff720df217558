// CSi netlist reader.
//
//   * CSi netlist
//   .COM
//   R1 10K R1608
//   U1 74HC00 SO14
//   .EODCOM
//   .NET
//   :GND {
//   U1 7
//   R1 2
//   }
//
// Component lines list reference, part name and footprint separated by blanks. In the net
// section ":" opens a net with its name, each following line holds one pin as reference,
// blank, pin number, and "}" closes the net. Keywords may be written in any case: every
// line is upper-cased before it is scanned.

#include "readers/readers.h"

namespace lintora {

using namespace std::string_view_literals;

namespace {

// The component lines before ".NET" (or the end of the file). Returns true when a ".COM"
// line came before it.
bool readComponents(ReaderInput& input, ReaderOutput& out) {
    bool sawComponents = false;
    FieldArray& f = out.fields;
    std::string token;
    std::string_view line;
    while (input.next(line)) {
        int fieldNumber = 0;
        f[1].clear();
        f[2].clear();
        f[3].clear();
        token.clear();
        bool yieldsPart = true;
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const char c = i < line.size() ? line[i] : kEndOfLine;
            const bool atEnd = i == line.size();
            // The end of the line ends the last word too, so a line without trailing blanks
            // keeps its footprint (or, with two words, its part name).
            const bool endsWord = c == '\t' || c == ' ' || atEnd;
            if (i == 0 && c == '*') {
                yieldsPart = false; // a comment line
                break;
            }
            if (token == ".EODCOM"sv) {
                yieldsPart = false;
                break;
            }
            if (token == ".NET"sv)
                return sawComponents;
            if (token == ".COM"sv) {
                sawComponents = true;
                token.clear();
                yieldsPart = false;
                break;
            }
            if (endsWord && !token.empty() && fieldNumber == 0) {
                f[2] = token; // reference designator
                token.clear();
                fieldNumber = 1;
            } else if (endsWord && !token.empty() && fieldNumber == 2) {
                f[3] = token; // footprint: the last word wins
                token.clear();
            } else if (endsWord && !token.empty() && fieldNumber == 1) {
                f[1] = token; // part name
                token.clear();
                fieldNumber = 2;
            } else if (!endsWord) {
                i = takeIntoToken(
                    token, line, i, [](char c) { return c == '.'; },
                    [](char next) { return !isBlankOrTab(next); });
            }
        }
        if (yieldsPart && !f[1].empty())
            out.addPart();
    }
    return sawComponents;
}

// The net section after ".NET", to the end of the file.
void readNets(ReaderInput& input, ReaderOutput& out) {
    enum class State { NetClosed, WaitingForName, WaitingForReference, WaitingForPinNumber };
    FieldArray& f = out.fields;
    f.clear();
    State state = State::WaitingForName; // the first net needs no ":"
    std::size_t pinCounter = 2;
    std::string token; // carries over from line to line
    std::string reference;
    // A name, reference or pin number: anything but ":", "}", blanks and TABs.
    const auto isPlain = [](char c) { return c != ':' && c != '}' && !isBlankOrTab(c); };
    std::string_view line;
    while (input.next(line)) {
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const char c = i < line.size() ? line[i] : kEndOfLine;
            const bool atEnd = i == line.size();
            const bool blankOrEnd = c == ' ' || atEnd;
            if (c == ':') {
                // A net still open (no "}" yet) is dropped unwritten.
                state = State::WaitingForName;
                token.clear();
                f[0].clear();
            } else if (state == State::WaitingForName && (isBlankOrTab(c) || atEnd) &&
                       f.at(0).empty() && !token.empty()) {
                // A name alone on its line ends at the line end rather than running into
                // the next line's pin.
                f[0] = token;
                token.clear();
                pinCounter = 2;
                state = State::WaitingForReference;
                break; // the rest of the line ("{") is ignored
            } else if (state == State::WaitingForReference && blankOrEnd && !f.at(0).empty() &&
                       !token.empty()) {
                reference = token;
                token.clear();
                state = State::WaitingForPinNumber;
            } else if (state == State::WaitingForPinNumber && blankOrEnd && !f.at(0).empty() &&
                       !token.empty()) {
                std::string& pin = f[pinCounter];
                pin = reference;
                pin += '.';
                pin += token;
                ++pinCounter;
                token.clear();
                state = State::WaitingForReference;
                break; // text after the pin number is ignored
            } else if (state == State::WaitingForReference && c == '}') {
                // Only a named net is written: lines outside every net write nothing.
                if (!f.at(0).empty()) {
                    f[1] = std::to_string(pinCounter - 2);
                    out.addNet();
                }
                token.clear();
                f[0].clear();
                state = State::NetClosed;
            } else if (!isBlankOrTab(c) && !atEnd) {
                // The plain characters after this one join the token with it.
                const std::size_t next = endOfRun(line, i + 1, isPlain);
                token.append(line.substr(i, next - i));
                i = next - 1;
            }
        }
    }
}

} // namespace

// readCsi: converts a CSi netlist into net.tmp and parts.tmp.
ReaderResult readCsi(Workspace& ws, const std::string& path) {
    ReaderInput input(path);
    input.upperCase(); // every line is read upper-cased
    ReaderOutput out(ws);
    out.reserveFor(input.text().size());

    if (!readComponents(input, out)) {
        // No ".COM" before ".NET" or the end of the file: not a CSi netlist, nothing written.
        ws.observer.hideProgress();
        return ReaderResult::NotRecognised;
    }
    out.writePartsFile();
    readNets(input, out);
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
