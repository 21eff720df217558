// Telesis / ALLEGRO netlist reader.
//
//   $PACKAGES
//   DIP14 ! 74LS00 ; U1 U2 ,
//       U3
//   $NETS
//   GND ; U1.7 U2.7 ,
//       U3.7
//   VCC ; U1.14 U2.14
//   $END
//
// A package line is footprint "!" part name ";" references; a net line is name ";" pins.
// A "," at the end of a line continues the entry on the next line. Keywords may be written
// in any case: the reader upper-cases everything it reads.

#include "readers/readers.h"

namespace lintora {

using namespace std::string_view_literals;

namespace {

// Characters of a name, reference or pin: none of the separators, blanks or TABs.
bool isPlain(char c) {
    return c != '!' && c != ';' && c != ',' && !isBlankOrTab(c);
}

// The package lines before "$NETS". Returns true when "$NETS" was found.
bool readPackages(LineReader& copy, ReaderOutput& out) {
    FieldArray& f = out.fields;
    std::string token;
    bool afterSemicolon = false;
    bool continuesEntry = false;
    std::string_view line;
    while (copy.next(line)) {
        if (!continuesEntry) {
            f[1].clear();
            f[2].clear();
            f[3].clear();
            afterSemicolon = false;
        }
        continuesEntry = false;
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const char c = i < line.size() ? line[i] : kEndOfLine;
            const bool atEnd = i == line.size();
            if (token == "$PACKAGES"sv) {
                token.clear();
                break;
            }
            if (!token.empty() && c == '!') {
                f[3] = token;
                token.clear();
            } else if (token == "$NETS"sv) {
                return true;
            } else if (c == ';' && (!token.empty() || (!f[3].empty() && !afterSemicolon))) {
                // Right after the footprint's "!" the part name may be empty
                // ("CONN ! CONN !  ; J1", a part without a value): the part is kept with an
                // empty name, so that it still pairs by its reference.
                f[1] = token;
                token.clear();
                afterSemicolon = true;
            } else if ((c == '\t' || c == ',' || c == ' ' || atEnd) && !token.empty() &&
                       afterSemicolon) {
                f[2] = token;
                token.clear();
                out.addPart();
                if (c == ',') {
                    continuesEntry = true;
                    break;
                }
            } else if (c == ',' && onlyBlanksAfter(line, i)) {
                // A line-ending "," continues the entry even where no reference stands
                // before it ("... ; ," or "... ! 22UH ,"): wrapped lines of long entries.
                continuesEntry = true;
                break;
            } else if (!atEnd && c != '\t' && c != ' ') {
                // The plain characters after this one join the token with it, except in a
                // token that starts with "$": the keywords are tested at each of its
                // characters.
                const bool keywordLike = (token.empty() ? c : token.front()) == '$';
                const std::size_t next = keywordLike ? i + 1 : endOfRun(line, i + 1, isPlain);
                token.append(line.substr(i, next - i));
                i = next - 1;
            }
        }
        // The token starts afresh on every line, except that a token cut by a line-ending
        // "," carries over to the line that continues it.
        if (!continuesEntry)
            token.clear();
    }
    return false;
}

// The net lines after "$NETS", up to "$END", an empty line or the end of the copy.
void readNets(LineReader& copy, ReaderOutput& out) {
    FieldArray& f = out.fields;
    std::string token;
    std::size_t pinCounter = 0;
    bool netOpen = false; // a ";" opened a net that is not written yet
    const auto finishNet = [&] {
        f[1] = std::to_string(pinCounter - 2);
        out.addNet();
        f[0].clear();
        netOpen = false;
    };
    std::string_view line;
    while (copy.next(line)) {
        token.clear();
        if (line == "$END" || line.empty())
            break;
        bool continued = false;
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const char c = i < line.size() ? line[i] : kEndOfLine;
            const bool atEnd = i == line.size();
            if (c == ';') {
                f[0] = token;
                token.clear();
                pinCounter = 2;
                netOpen = true;
            } else if (c == ',') {
                if (!token.empty() && netOpen) {
                    f[pinCounter] = token;
                    token.clear();
                    ++pinCounter;
                }
                continued = true;
                break;
            } else if ((c == '\t' || c == ' ' || atEnd) && !token.empty() && netOpen) {
                f[pinCounter] = token;
                token.clear();
                ++pinCounter;
            } else if (!atEnd && c != '\t' && c != ' ') {
                // The plain characters after this one join the token with it.
                const std::size_t next = endOfRun(line, i + 1, isPlain);
                token.append(line.substr(i, next - i));
                i = next - 1;
            }
            if (!atEnd && isBlankOrTab(c) && token.empty()) {
                // Further blanks before the next token change nothing: pass over them.
                i = endOfRun(line, i + 1, isBlankOrTab) - 1;
            }
        }
        // A line without ";" outside a continued net names no net: it contributes nothing.
        if (!continued && netOpen)
            finishNet();
    }
    // The last net may end in "," right before "$END", an empty line or the end of the file.
    if (netOpen)
        finishNet();
}

} // namespace

// readTelesis: converts a Telesis / ALLEGRO netlist into net.tmp and parts.tmp.
ReaderResult readTelesis(Workspace& ws, const std::string& path) {
    return convertThroughNormalisedCopy(ws, path, &readPackages, &readNets);
}

} // namespace lintora
