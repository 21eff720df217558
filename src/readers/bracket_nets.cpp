#include "readers/bracket_nets.h"

namespace lintora {

ReaderResult convertBracketNetlist(Workspace& ws, const std::string& path,
                                   BracketPartsSection readParts, BracketPinConversion convertPin) {
    ReaderInput input(path);
    input.upperCase();
    LineReader lines = netlistLines(input.text());
    ReaderOutput out(ws);
    out.reserveFor(input.text().size());
    if (!readParts(lines, out)) {
        ws.observer.hideProgress();
        return ReaderResult::NotRecognised;
    }
    out.writePartsFile();
    readBracketNets(lines, out, convertPin);
    out.writeNetFile();
    return ReaderResult::Recognised;
}

void readBracketNets(LineReader& lines, ReaderOutput& out, BracketPinConversion convertPin) {
    enum class Block { Between, Opened, Named };

    FieldArray& f = out.fields;
    f.clear();
    // The "(" that ended the parts section opens the first net.
    Block block = Block::Opened;
    std::size_t pinCounter = 2;
    std::string token;

    const auto storePin = [&] {
        convertPin(token);
        f[pinCounter] = token;
        ++pinCounter;
        token.clear();
    };
    const auto writeNet = [&] {
        f[1] = std::to_string(pinCounter - 2);
        out.addNet();
        f[0].clear();
        token.clear();
    };

    // A name or pin: anything but brackets, blanks and TABs.
    const auto isPlain = [](char c) { return c != '(' && c != ')' && c != ' ' && c != '\t'; };

    std::string_view line;
    while (lines.next(line)) {
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const bool atEnd = i == line.size();
            const char c = atEnd ? '\0' : line[i];
            if (!atEnd && c == '(') {
                // Every pin of a net that was never closed has been read: keep the net.
                if (block == Block::Named)
                    writeNet();
                block = Block::Opened;
                token.clear();
                f[0].clear();
            } else if (block == Block::Opened && f.at(0).empty() && !token.empty() && atEnd) {
                f[0] = token;
                token.clear();
                pinCounter = 2;
                block = Block::Named;
            } else if (block == Block::Named && !f.at(0).empty() && !token.empty() &&
                       (c == ' ' || c == '\t' || atEnd)) {
                // One pin per line: its first token; the rest of the line is a comment. A
                // TAB ends the pin too, or the comment would be glued to it.
                storePin();
                break;
            } else if (!atEnd && c == ')' && block == Block::Named) {
                // "U2-7)": the pin written on the closing line belongs to the net too.
                if (!token.empty())
                    storePin();
                writeNet();
                block = Block::Between;
            } else if (!atEnd && c != '\t' && c != ' ') {
                // The plain characters after this one join the token with it.
                const std::size_t next = endOfRun(line, i + 1, isPlain);
                token.append(line.substr(i, next - i));
                i = next - 1;
            }
        }
    }
    // A file that ends inside a net (no closing ")") still holds all of that net's pins.
    if (block == Block::Named)
        writeNet();
}

} // namespace lintora
