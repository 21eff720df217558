// P-CAD netlist reader, format "Pcad(nlt)".
//
//   %PARTS
//   74LS00 = U1, U2;
//   RES = R1, R2;
//   %NETS
//   GND = U1/7 U2/7
//       R1/2;
//   VCC = U1/14 U2/14 R2/1;
//
// A parts entry is a part name, "=", and references each ended by "," or ";". A net is a
// name, "=", pins separated by blanks and ended by ";"; the end of a line does not end a
// token, so a pin wrapped without a blank joins the next one. Pins are written REF/PIN.
// Keywords may be written in any case: every line is upper-cased first.

#include "readers/readers.h"

namespace lintora {

using namespace std::string_view_literals;

namespace {

// Characters that end the "NETS" keyword: it is a word of its own, not the start of a
// part name such as NETSWITCH.
bool endsKeyword(char c, bool atEnd) {
    return atEnd || isBlankOrTab(c) || c == '%';
}

// The parts section: lines are only collected until the "PARTS" line, then entries are read
// until the "NETS" keyword. Returns true when "NETS" was found.
bool readParts(ReaderInput& input, ReaderOutput& out) {
    FieldArray& f = out.fields;
    bool inParts = false;
    std::string token;
    // Characters of a name: none of the separators, blanks, TABs or "%". Keywords end at a
    // character that is not plain, so runs of plain characters never pass over one.
    const auto isPlain = [](char c) {
        return c != '=' && c != ';' && c != ',' && c != '%' && !isBlankOrTab(c);
    };
    std::string_view line;
    while (input.next(line)) {
        token.clear();
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const char c = i < line.size() ? line[i] : kEndOfLine;
            const bool atEnd = i == line.size();
            if (!inParts && atEnd && token == "PARTS"sv) {
                token.clear();
                inParts = true;
                break;
            }
            if (inParts && token == "NETS"sv && endsKeyword(c, atEnd))
                return true; // the rest of this line is not read
            if (inParts && !atEnd && c == '=') {
                // An "=" with no part name before it gives its references an empty one, so
                // that they still pair by reference.
                f[1] = token;
                token.clear();
            } else if (inParts && !atEnd && (c == ';' || c == ',') && !token.empty()) {
                f[2] = token;
                token.clear();
                out.addPart();
                f[2].clear();
            } else if (!atEnd && !isBlankOrTab(c) && c != '%') {
                // The plain characters after this one join the token with it.
                const std::size_t next = endOfRun(line, i + 1, isPlain);
                token.append(line.substr(i, next - i));
                i = next - 1;
            }
        }
    }
    return false;
}

// The nets section, from the line after "NETS" to the end of the file.
void readNets(ReaderInput& input, ReaderOutput& out) {
    FieldArray& f = out.fields;
    std::size_t pinCounter = 2;
    std::string token; // runs on across line ends
    // Characters of a name or pin: none of "=", ";", blanks or TABs.
    const auto isPlain = [](char c) { return c != '=' && c != ';' && !isBlankOrTab(c); };
    const auto storePin = [&] {
        convertAllSeparators(token, "/");
        f[pinCounter] = token;
        ++pinCounter;
        token.clear();
    };
    const auto finishNet = [&] {
        f[1] = std::to_string(pinCounter - 2);
        out.addNet();
        token.clear();
        f[0].clear();
    };
    std::string_view line;
    while (input.next(line)) {
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const char c = i < line.size() ? line[i] : kEndOfLine;
            const bool atEnd = i == line.size();
            const bool netOpen = !f.at(0).empty();
            if (!atEnd && c == '=' && !netOpen) {
                f[0] = token;
                token.clear();
                pinCounter = 2;
            } else if (!atEnd && (c == ' ' || c == ';') && netOpen) {
                if (!token.empty())
                    storePin();
                if (c == ';')
                    finishNet();
            } else if (!atEnd && c != '\t' && c != ' ') {
                // The plain characters after this one join the token with it.
                const std::size_t next = endOfRun(line, i + 1, isPlain);
                token.append(line.substr(i, next - i));
                i = next - 1;
            }
        }
    }
    // A file cut off before the closing ";" still holds every pin of its last net.
    if (!f.at(0).empty()) {
        if (!token.empty())
            storePin();
        finishNet();
    }
}

} // namespace

// readPcadNlt: converts a P-CAD (nlt) netlist into net.tmp and parts.tmp.
ReaderResult readPcadNlt(Workspace& ws, const std::string& path) {
    ReaderInput input(path);
    input.upperCase(); // every line is read upper-cased
    ReaderOutput out(ws);
    out.reserveFor(input.text().size());

    const bool foundNets = readParts(input, out);
    out.writePartsFile();
    if (!foundNets) {
        ws.observer.hideProgress();
        return ReaderResult::NotRecognised;
    }
    out.fields.clear();
    readNets(input, out);
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
