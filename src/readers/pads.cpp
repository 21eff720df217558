// PADS netlist, the layout both PADS readers share:
//
//   !PADS-POWERPCB-V3.0-MILS!
//   *PART*
//   U1      74LS00
//   R1      10K
//   *NET*
//   *SIGNAL* GND
//   U1.7 R1.2
//   *SIGNAL* VCC
//   U1.14 R1.1
//   *END*
//
// A part line is a reference and a part type (everything after the first blank run, joined);
// a net is a "*SIGNAL*" line whose name starts in the tenth column, followed by lines of
// pins. Keywords may be written in any case: every line is upper-cased first.
//
// The two dialects differ only in the parts section: in PADSPCB "*PART*" starts the parts
// list afresh and "*REMARK*" lines are comments; in PADS2000 "*PART*" keeps what was
// gathered before it, and "*REMARK*" is no keyword.
//
// PADSPCB also reads the pin-pair form that PADS Layout writes, "*CONNECTION*" instead of
// "*NET*", where each line of a "*SIGNAL*" names two pins it connects:
//
//   *CONNECTION*
//   *SIGNAL* VDD_IO
//   J2.1 U2.H12
//   U2.H12 J3.1
//
// Every pin of such a signal belongs to that one net, once however many pairs name it.

#include "readers/readers.h"

#include <unordered_set>

namespace lintora {

using namespace std::string_view_literals;

namespace {

struct PadsDialect {
    // "*PART*" starts the parts list afresh: parts gathered before it are dropped.
    bool partRestartsList = false;
    // "*REMARK*" in the parts section is a comment line.
    bool remarkIsComment = false;
    // "*CONNECTION*" opens nets of pin pairs as "*NET*" opens nets of pins.
    bool readsPinPairs = false;
};

// What ended the parts section.
enum class NetsForm { NotFound, Pins, PinPairs };

// A section keyword such as "*MISC*" or "*PCB*": a word between two asterisks.
bool isSectionKeyword(const std::string& token) {
    return token.size() >= 3 && token.front() == '*' && token.back() == '*';
}

// Keywords start with "*"; other tokens run up to the next blank or TAB.
bool startsKeyword(char c) {
    return c == '*';
}
bool isPlain(char c) {
    return !isBlankOrTab(c);
}

// The parts section, up to "*NET*" (or "*CONNECTION*"). Returns the form of the nets it found.
NetsForm readParts(ReaderInput& input, ReaderOutput& out, const PadsDialect& dialect) {
    FieldArray& f = out.fields;
    std::string token;
    std::string_view line;
    while (input.next(line)) {
        if (line.empty())
            continue;
        token.clear();
        // Each line stands alone: a line without its own part type (a keyword line, a
        // reference alone) must not repeat the previous line's part.
        f[1].clear();
        f[2].clear();
        f[3].clear();
        bool referenceTaken = false;
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const char c = i < line.size() ? line[i] : kEndOfLine;
            const bool atEnd = i == line.size();
            if (token == "*PART*"sv) {
                token.clear();
                if (dialect.partRestartsList)
                    out.partsText().clear();
                break;
            }
            if (dialect.remarkIsComment && token == "*REMARK*"sv) {
                token.clear();
                break;
            }
            if (token == "*NET*"sv)
                return NetsForm::Pins;
            if (dialect.readsPinPairs && token == "*CONNECTION*"sv)
                return NetsForm::PinPairs;
            if (atEnd && referenceTaken && !token.empty()) {
                f[1] = token; // the part type doubles as the footprint
                f[3] = token;
                token.clear();
            } else if ((isBlankOrTab(c) || atEnd) && !referenceTaken && !token.empty()) {
                f[2] = token;
                token.clear();
                referenceTaken = true;
            } else if (!atEnd && !isBlankOrTab(c)) {
                i = takeIntoToken(token, line, i, startsKeyword, isPlain);
            }
        }
        if (!f.at(1).empty())
            out.addPart();
    }
    return NetsForm::NotFound;
}

// The nets section after "*NET*" (or "*CONNECTION*"), up to "*END*" or the end of the file.
void readNets(ReaderInput& input, ReaderOutput& out, NetsForm form) {
    FieldArray& f = out.fields;
    std::string token;
    // Pins are only gathered inside a net, so every net starts at slot 2.
    std::size_t pinCounter = 2;
    bool netOpen = false;
    // The pins of the current net, in the pin-pair form.
    std::unordered_set<std::string> pinsOfNet;
    const auto finishNet = [&] {
        f[1] = std::to_string(pinCounter - 2);
        out.addNet();
        pinCounter = 2;
        netOpen = false;
        pinsOfNet.clear();
    };
    std::string_view line;
    while (input.next(line)) {
        bool firstToken = true;
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const char c = i < line.size() ? line[i] : kEndOfLine;
            const bool atEnd = i == line.size();
            if (token == "*SIGNAL*"sv) {
                if (netOpen)
                    finishNet();
                // The name is the whole rest of the line from the tenth column, blanks and
                // all; columns count characters, not bytes.
                f[0] = line.substr(byteOffsetOfChar(line, 9));
                token.clear();
                netOpen = true;
                break;
            }
            if (token == "*END*"sv) {
                if (netOpen)
                    finishNet();
                return;
            }
            if ((isBlankOrTab(c) || atEnd) && !token.empty()) {
                if (firstToken && isSectionKeyword(token)) {
                    // A comment line, or another section (*MISC*, *PCB*, ...) that starts
                    // after the nets: its words are not pins of the last net.
                    if (token == "*REMARK*"sv) {
                        token.clear();
                        break;
                    }
                    if (netOpen)
                        finishNet();
                    return;
                }
                firstToken = false;
                if (netOpen && (form == NetsForm::Pins || pinsOfNet.insert(token).second)) {
                    f[pinCounter] = token;
                    ++pinCounter;
                }
                token.clear();
            } else if (!atEnd && !isBlankOrTab(c)) {
                i = takeIntoToken(token, line, i, startsKeyword, isPlain);
            }
        }
        token.clear();
    }
    // A file cut off before "*END*" still holds every pin of its last net.
    if (netOpen)
        finishNet();
}

// Reads a PADS netlist into net.tmp and parts.tmp; recognised once "*NET*" (or, where the
// dialect reads pin pairs, "*CONNECTION*") was found.
ReaderResult readPadsNetlist(Workspace& ws, const std::string& path, const PadsDialect& dialect) {
    ReaderInput input(path);
    input.upperCase(); // every line is read upper-cased
    ReaderOutput out(ws);
    out.reserveFor(input.text().size());

    const NetsForm form = readParts(input, out, dialect);
    out.writePartsFile();
    if (form == NetsForm::NotFound) {
        ws.observer.hideProgress();
        return ReaderResult::NotRecognised;
    }
    out.fields.clear();
    readNets(input, out, form);
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace

// readPadsPcb: converts a PADSPCB netlist into net.tmp and parts.tmp.
ReaderResult readPadsPcb(Workspace& ws, const std::string& path) {
    PadsDialect dialect;
    dialect.partRestartsList = true;
    dialect.remarkIsComment = true;
    dialect.readsPinPairs = true;
    return readPadsNetlist(ws, path, dialect);
}

// readPads2000: converts a PADS2000 netlist into net.tmp and parts.tmp.
ReaderResult readPads2000(Workspace& ws, const std::string& path) {
    return readPadsNetlist(ws, path, PadsDialect{});
}

} // namespace lintora
