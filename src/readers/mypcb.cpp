// MYPCB netlist reader.
//
//   * MYPCB netlist
//   R1 10K
//   U1 74HC00 SO14
//   NET*
//   GND
//   U1.7 R1.2,
//   C1.2
//   VCC
//   U1.14
//   END*
//
// Before "NET*" every line is a part: reference designator, then words whose last one is
// the part name. After it, a line without "." names a net and the following lines list its
// pins, already written reference "." pin; a line may end in ",". "*" starts a comment
// (except in the keywords "SYM*" and "NET*"). Every line is upper-cased before it is read.

#include "readers/readers.h"

namespace lintora {

using namespace std::string_view_literals;

namespace {

// The part lines before "NET*". Returns true when "NET*" was found.
bool readParts(ReaderInput& input, ReaderOutput& out) {
    FieldArray& f = out.fields;
    std::string token;
    // A word's characters: anything but blanks, TABs and "*", which must be tested alone.
    const auto isPlain = [](char c) { return c != '*' && !isBlankOrTab(c); };
    std::string_view line;
    while (input.next(line)) {
        f[1].clear();
        f[2].clear();
        f[3].clear();
        token.clear();
        bool haveReference = false;
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const char c = i < line.size() ? line[i] : kEndOfLine;
            const bool atEnd = i == line.size();
            if (token == "SYM*"sv) {
                token.clear();
                break;
            }
            if (c == '*' && token != "SYM"sv && token != "NET"sv) {
                token.clear(); // a comment runs to the end of the line
                break;
            }
            if (token == "NET*"sv)
                return true;
            if ((c == ' ' || atEnd) && !token.empty() && haveReference) {
                f[1] = token; // the last word is both part name and footprint
                f[3] = token;
                token.clear();
            } else if (c == ' ' && !token.empty() && !haveReference) {
                f[2] = token;
                token.clear();
                haveReference = true;
            } else if (!isBlankOrTab(c) && !atEnd) {
                // The plain characters after this one join the token with it; a "*" is
                // taken alone, for the keywords to be tested after it.
                const std::size_t next = c == '*' ? i + 1 : endOfRun(line, i + 1, isPlain);
                token.append(line.substr(i, next - i));
                i = next - 1;
            }
        }
        if (!f[1].empty())
            out.addPart();
    }
    return false;
}

// "END*" ends the net list; trailing blanks after it do not make it a net name.
bool isEndLine(std::string_view line) {
    while (!line.empty() && isBlankOrTab(line.back()))
        line.remove_suffix(1);
    return line == "END*";
}

// The net lines after "NET*", up to "END*", an empty line or the end of the file.
void readNets(ReaderInput& input, ReaderOutput& out) {
    FieldArray& f = out.fields;
    f.clear();
    std::size_t pinCounter = 0;
    std::string token;
    const auto completeOpenNet = [&] {
        if (f.at(0).empty())
            return;
        f[1] = std::to_string(pinCounter - 2);
        out.addNet();
    };
    const auto storePin = [&] {
        f[pinCounter] = token;
        ++pinCounter;
        token.clear();
    };
    // A name's or pin's characters: anything but blanks, TABs, "," and ".", whose first one
    // turns the line into a pin line.
    const auto isPlain = [](char c) { return c != ',' && c != '.' && !isBlankOrTab(c); };
    std::string_view line;
    while (input.next(line)) {
        token.clear();
        if (line.empty() || isEndLine(line))
            break;
        bool sawDot = false;
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const char c = i < line.size() ? line[i] : kEndOfLine;
            const bool atEnd = i == line.size();
            if (c == '.')
                sawDot = true;
            if ((c == ' ' || atEnd) && !sawDot && !token.empty()) {
                // A word before the line's first "." names a net. Blanks with nothing
                // before them (indentation, trailing blanks) name nothing.
                completeOpenNet();
                f[0] = token;
                token.clear();
                pinCounter = 2;
            } else if ((isBlankOrTab(c) || atEnd || c == ',') && sawDot) {
                // "," ends a pin like a blank: a net line cannot carry a "," inside a pin.
                if (!f.at(0).empty() && !token.empty())
                    storePin();
                token.clear();
                if (c == ',' && i + 1 == line.size())
                    break;
            } else if (c == ',' && i + 1 == line.size()) {
                break; // a line-ending "," on a line without pins
            } else if (!isBlankOrTab(c) && !atEnd) {
                // The plain characters after this one join the token with it.
                const std::size_t next = endOfRun(line, i + 1, isPlain);
                token.append(line.substr(i, next - i));
                i = next - 1;
            }
        }
    }
    completeOpenNet();
}

} // namespace

// readMypcb: converts a MYPCB netlist into net.tmp and parts.tmp.
ReaderResult readMypcb(Workspace& ws, const std::string& path) {
    ReaderInput input(path);
    input.upperCase(); // every line is read upper-cased
    ReaderOutput out(ws);
    out.reserveFor(input.text().size());

    const bool foundNets = readParts(input, out);
    out.writePartsFile(); // also when "NET*" never came
    if (!foundNets) {
        ws.observer.hideProgress();
        return ReaderResult::NotRecognised;
    }
    readNets(input, out);
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
