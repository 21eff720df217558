// D2 CAD netlist reader.
//
//   $CCF{
//     /* board connections */
//     NET{
//       GND: IC1(7), IC2(7), R1(2);
//       VCC: IC1(14), IC2(14);
//     }
//   }
//
// After the "$CCF" header, the "NET{" block lists each net as name ":" pins separated by
// "," and ended by ";"; a pin is the reference with its pin number in parentheses. Blanks
// and line breaks separate nothing: a token runs until a separator or a keyword ends it.
// A token "*", "/*" or "*/" comments out the rest of its line. Every line is upper-cased.

#include "readers/readers.h"

namespace lintora {

namespace {

// ")" stands for the empty character: it ends nothing and is dropped. The real end of a
// line is told apart by its own flag, so a NUL byte in the input stays an ordinary byte.
struct Character {
    char c;
    bool empty;
};

} // namespace

// mnd2cin: converts a D2 CAD netlist into net.tmp and an empty parts.tmp.
void mnd2cin(Workspace& ws, const std::string& path, std::string& status) {
    status = kStatusBad;
    ReaderInput input(path);
    ReaderOutput out(ws);
    FieldArray& f = out.fields;

    bool afterHeader = false; // "$CCF" seen
    bool partsWritten = false;
    int netBlockDepth = 0;    // brace depth inside the "NET{" block; 0 outside it
    bool netOpen = false;     // a name was read and its ";" has not come yet
    std::size_t pinCounter = 0;
    std::string token;        // carries over from line to line

    const auto storePin = [&] {
        if (!token.empty()) { // an empty place between separators is no pin
            f[pinCounter] = token;
            ++pinCounter;
        }
    };
    const auto writeNet = [&] {
        f[1] = std::to_string(pinCounter - 2);
        out.addNet();
        netOpen = false;
        pinCounter = 2;
    };

    // A token "*", "/*" or "*/" comments out the rest of its line. A lone LF ends that
    // line as well, so an LF-only file does not lose everything after its first comment;
    // otherwise line ends mean nothing here.
    std::string_view rawLine;
    while (input.next(rawLine)) {
        const std::string text = upperCased(rawLine);
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t lf = text.find('\n', start);
            if (lf == std::string::npos)
                lf = text.size();
            const std::string_view line(text.data() + start, lf - start);
            start = lf + 1;
            for (std::size_t i = 0; i <= line.size(); ++i) {
                Character ch{i < line.size() ? line[i] : '\0', i == line.size()};
                if (token == "*" || token == "/*" || token == "*/") {
                    token.clear();
                    break;
                }
                if (afterHeader && !ch.empty) {
                    if (ch.c == '(')
                        ch.c = '.';
                    else if (ch.c == ')')
                        ch.empty = true;
                }
                // A keyword is recognised at the character after it; that character is
                // then read as usual, so "NET{GND:" keeps the "G".
                if (token == "$CCF") {
                    token.clear();
                    status = kStatusGood;
                    if (!partsWritten) {
                        out.writePartsFile(); // no parts in this format
                        partsWritten = true;
                    }
                    afterHeader = true;
                } else if (afterHeader && token == "NET{") {
                    out.netText().clear(); // a later "NET{" block replaces the nets before it
                    netBlockDepth = 1;
                    netOpen = false;
                    pinCounter = 2;
                    token.clear();
                } else if (afterHeader && token == "{") {
                    token.clear();
                }
                if (ch.empty)
                    continue;
                const char c = ch.c;
                if (!afterHeader) {
                    if (!isBlankOrTab(c))
                        token += c;
                } else if (c == ':') {
                    if (netBlockDepth > 0) {
                        f[0] = token; // a net still waiting for its ";" is dropped
                        netOpen = !token.empty();
                        pinCounter = 2;
                    }
                    token.clear();
                } else if (c == ',') {
                    if (netOpen)
                        storePin();
                    token.clear();
                } else if (c == ';') {
                    if (netOpen) {
                        storePin();
                        writeNet();
                    }
                    token.clear();
                } else if (c == '}') {
                    // A closing brace ends the net before it too, last pin included.
                    if (netOpen) {
                        storePin();
                        writeNet();
                    }
                    token.clear();
                    if (netBlockDepth > 0)
                        --netBlockDepth;
                } else {
                    if (c == '{' && netBlockDepth > 0)
                        ++netBlockDepth;
                    if (!isBlankOrTab(c))
                        token += c;
                }
            }
        }
    }

    if (status != kStatusGood) {
        ws.observer.hideProgress();
        return;
    }
    out.writeNetFile();
}

} // namespace lintora
