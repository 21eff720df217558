// FUTURE netlist reader (FutureNet pin list).
//
//   PINLIST,2
//   (SYM,1
//   DATA,2,U1
//   DATA,3,74LS00
//   DATA,4,DIP14
//   PIN,1,GND,A,B,C,7
//   PIN,2,VCC,A,B,C,14
//   )
//
// A symbol record opens with "(SYM," and closes with a ")" line. "DATA" lines carry the
// reference (2), the part name (3) and the footprint (4) in their third field; each "PIN"
// line names its net in the third field and the pin number in the seventh. Every pin
// becomes a one-pin net line; the lines are merged by net name, in the order of the pins.

#include "readers/net_merge.h"
#include "readers/readers.h"

namespace lintora {

namespace {

constexpr std::string_view kLandmark = "PINLIST,2";
constexpr std::string_view kRecordStart = "(SYM";
constexpr std::string_view kData = "DATA";
constexpr std::string_view kPin = "PIN";

// Characters a field's text leaves out.
constexpr ByteSet kDropped(" \t)");
// What ends a field, or is left out of it.
constexpr ByteSet kFieldEndOrDropped(", \t)");

// The fields of the current line as they are scanned. The first and second field carry
// over to a line that has no commas of its own.
struct FieldScan {
    std::size_t commas = 0;
    std::string first;
    std::string second;
    bool inRecord = false;

    void clearFields() {
        first.clear();
        second.clear();
    }
    bool isData(std::string_view attribute) const {
        return inRecord && first == kData && second == attribute;
    }
    // A "," that no rule took: it ends a field.
    void comma(std::string_view token) {
        ++commas;
        if (inRecord) {
            if (commas == 1)
                first = token;
            else if (commas == 2)
                second = token;
        }
    }
};

// Walks the fields of a line: `atField(token, atEnd)` is called at each "," and at the
// line's end, with the text of the field before it (without blanks, TABs and ")"); it
// returns false to leave the rest of the line.
template <typename AtField>
void forEachField(std::string_view line, std::string& scratch, AtField atField) {
    std::size_t start = 0;
    bool dropsSome = false;
    for (std::size_t i = kFieldEndOrDropped.findIn(line, 0);; i = kFieldEndOrDropped.findIn(line, i + 1)) {
        const bool atEnd = i == line.size();
        if (!atEnd && line[i] != ',') {
            dropsSome = true;
            continue;
        }
        std::string_view token = line.substr(start, i - start);
        if (dropsSome) {
            scratch.clear();
            for (const char c : token)
                if (!kDropped.contains(c))
                    scratch += c;
            token = scratch;
        }
        if (!atField(token, atEnd) || atEnd)
            return;
        start = i + 1;
        dropsSome = false;
    }
}

// True when the line's first character other than a blank or TAB is ")": it closes the
// record. A ")" inside a value ("DATA,3,10UF(X7R)") is data.
bool closesRecord(std::string_view line) {
    const std::size_t at = line.find_first_not_of(" \t");
    return at != std::string_view::npos && line[at] == ')';
}

// The records after the landmark line: one parts line per record with a part name. The
// part is written once its record's footprint is known (or the record ends without one).
void readParts(LineReader& lines, ReaderOutput& out) {
    FieldArray& f = out.fields;
    FieldScan scan;
    std::string scratch;
    const auto finishPart = [&] {
        if (!f.at(1).empty()) {
            out.addPart();
            f[1].clear();
        }
    };
    std::string_view line;
    while (lines.next(line)) {
        scan.commas = 0;
        if (closesRecord(line)) {
            finishPart();
            scan.inRecord = false;
        }
        bool footprintRead = false;
        forEachField(line, scratch, [&](std::string_view token, bool atEnd) {
            if (!atEnd && token == kRecordStart) {
                finishPart();
                f[2].clear();
                f[3].clear();
                scan.inRecord = true;
                return false;
            }
            if (scan.isData("2")) {
                f[2] = token;
                scan.clearFields();
            } else if (scan.isData("3")) {
                f[1] = token;
                scan.clearFields();
            } else if (scan.isData("4")) {
                f[3] = token;
                scan.clearFields();
                scan.inRecord = false; // the record's parts data ends here
                footprintRead = true;
            } else if (!atEnd) {
                scan.comma(token);
            }
            return true;
        });
        if (footprintRead)
            finishPart();
    }
    finishPart();
}

// Every "PIN" line of the whole file, as a one-pin net handed to the merger.
void readPins(LineReader& lines, NetMerger& merger) {
    FieldScan scan;
    std::string scratch;
    std::string netName;
    std::string prefix; // the record's reference and "."
    std::string pin;    // the pin and ", ", as the net line holds it
    std::string_view line;
    while (lines.next(line)) {
        scan.commas = 0;
        if (closesRecord(line))
            scan.inRecord = false;
        forEachField(line, scratch, [&](std::string_view token, bool atEnd) {
            const bool pinLine = scan.inRecord && scan.first == kPin;
            if (!atEnd && token == kRecordStart) {
                scan.clearFields();
                prefix.clear();
                scan.inRecord = true;
                return false;
            }
            if (scan.isData("2")) {
                prefix.assign(token).append(".");
                scan.clearFields();
            } else if (pinLine && scan.commas == 2) {
                netName = token;
                ++scan.commas;
            } else if (pinLine && scan.commas == 6) {
                // A pin of no net (an empty net field) connects nothing: it adds no net.
                if (!netName.empty()) {
                    pin.assign(prefix).append(token).append(", ");
                    merger.add(netName, 1, pin);
                }
                scan.clearFields();
                netName.clear();
            } else if (!atEnd) {
                scan.comma(token);
            }
            return true;
        });
    }
}

} // namespace

// mnfutin: converts a FUTURE netlist into net.tmp and parts.tmp.
void mnfutin(Workspace& ws, const std::string& path, std::string& status) {
    status = kStatusBad;
    // The input as ReaderInput reads it; the records are read upper-cased, the landmark
    // line as written, so the text is upper-cased in place once the landmark was found.
    std::string text = readInputText(path);
    ReaderOutput out(ws);

    LineReader lines = netlistLines(text);
    std::string_view line;
    while (lines.next(line)) {
        if (line == kLandmark) { // exactly as written
            status = kStatusGood;
            break;
        }
    }
    if (status == kStatusGood) {
        upperCaseQuickly(text);
        readParts(lines, out);
    }
    out.writePartsFile();
    if (status != kStatusGood) {
        ws.observer.hideProgress();
        return;
    }

    NetMerger merger(ws, text.size());
    LineReader allLines = netlistLines(text);
    readPins(allLines, merger);
    merger.appendTo(out.netText());
    out.writeNetFile();
}

} // namespace lintora
