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

// The fields of the current line as they are scanned. The first and second field carry
// over to a line that has no commas of its own.
struct FieldScan {
    std::string token;
    std::size_t commas = 0;
    std::string first;
    std::string second;
    bool inRecord = false;

    void startLine() {
        token.clear();
        commas = 0;
    }
    void clearFields() {
        first.clear();
        second.clear();
    }
    bool isData(std::string_view attribute) const {
        return inRecord && first == "DATA" && second == attribute;
    }
    // A "," that no rule took: it ends a field.
    void comma() {
        ++commas;
        if (inRecord) {
            if (commas == 1)
                first = token;
            else if (commas == 2)
                second = token;
        }
        token.clear();
    }
    void append(char c) {
        if (c != '\t' && c != ')' && c != ' ')
            token += c;
    }
};

// The position of a line's first character other than a blank or TAB: a ")" there closes
// the record.
std::size_t firstNonBlank(std::string_view line) {
    const std::size_t at = line.find_first_not_of(" \t");
    return at == std::string_view::npos ? line.size() : at;
}

// The records after the landmark line: one parts line per record with a part name. The
// part is written once its record's footprint is known (or the record ends without one).
void readParts(LineReader& lines, ReaderOutput& out) {
    FieldArray& f = out.fields;
    FieldScan scan;
    const auto finishPart = [&] {
        if (!f.at(1).empty()) {
            out.addPart();
            f[1].clear();
        }
    };
    std::string_view raw;
    while (lines.next(raw)) {
        const std::string line = upperCased(raw);
        scan.startLine();
        const std::size_t lineStart = firstNonBlank(line);
        bool footprintRead = false;
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const bool atEnd = i == line.size();
            const char c = atEnd ? '\0' : line[i];
            const bool fieldEnd = c == ',' || atEnd;
            if (scan.token == kRecordStart && c == ',' && !atEnd) {
                finishPart();
                f[2].clear();
                f[3].clear();
                scan.token.clear();
                scan.inRecord = true;
                break;
            } else if (!atEnd && c == ')' && i == lineStart) {
                finishPart(); // the record closes
                scan.inRecord = false;
            } else if (fieldEnd && scan.isData("2")) {
                f[2] = scan.token;
                scan.token.clear();
                scan.clearFields();
            } else if (fieldEnd && scan.isData("3")) {
                f[1] = scan.token;
                scan.token.clear();
                scan.clearFields();
            } else if (fieldEnd && scan.isData("4")) {
                f[3] = scan.token;
                scan.token.clear();
                scan.clearFields();
                scan.inRecord = false; // the record's parts data ends here
                footprintRead = true;
            } else if (c != ',' || atEnd) {
                if (!atEnd)
                    scan.append(c);
            } else {
                scan.comma();
            }
        }
        if (footprintRead)
            finishPart();
    }
    finishPart();
}

// Every "PIN" line of the whole file, as a one-pin net line handed to the merger.
void readPins(LineReader& lines, ReaderOutput& out, NetMerger& merger) {
    FieldArray& f = out.fields;
    FieldScan scan;
    std::string prefix; // the record's reference and "."
    std::string netLine;
    std::string_view raw;
    while (lines.next(raw)) {
        const std::string line = upperCased(raw);
        scan.startLine();
        const std::size_t lineStart = firstNonBlank(line);
        for (std::size_t i = 0; i <= line.size(); ++i) {
            const bool atEnd = i == line.size();
            const char c = atEnd ? '\0' : line[i];
            const bool fieldEnd = c == ',' || atEnd;
            const bool pinLine = scan.inRecord && scan.first == "PIN";
            if (!atEnd && c == ')' && i == lineStart) {
                // Only a ")" that opens its line closes the record: a ")" inside a value
                // ("DATA,3,10UF(X7R)") is data.
                scan.inRecord = false;
            } else if (scan.token == kRecordStart && c == ',' && !atEnd) {
                scan.token.clear();
                scan.clearFields();
                prefix.clear();
                scan.inRecord = true;
                break;
            } else if (fieldEnd && scan.isData("2")) {
                prefix = scan.token + ".";
                scan.token.clear();
                scan.clearFields();
            } else if (fieldEnd && pinLine && scan.commas == 2) {
                f[0] = scan.token; // the net name
                ++scan.commas;
                scan.token.clear();
            } else if (fieldEnd && pinLine && scan.commas == 6) {
                // A pin of no net (an empty net field) connects nothing: it adds no net.
                if (!f.at(0).empty()) {
                    f[2] = prefix + scan.token;
                    f[1] = "1";
                    mntsout(f, netLine);
                    merger.add(netLine);
                }
                scan.token.clear();
                scan.clearFields();
                f[0].clear();
            } else if (c != ',' || atEnd) {
                if (!atEnd)
                    scan.append(c);
            } else {
                scan.comma();
            }
        }
    }
}

} // namespace

// mnfutin: converts a FUTURE netlist into net.tmp and parts.tmp.
void mnfutin(Workspace& ws, const std::string& path, std::string& status) {
    status = kStatusBad;
    const ReaderInput input(path);
    ReaderOutput out(ws);

    LineReader lines = netlistLines(input.text());
    std::string_view line;
    while (lines.next(line)) {
        if (line == kLandmark) { // exactly as written
            status = kStatusGood;
            break;
        }
    }
    if (status == kStatusGood)
        readParts(lines, out);
    out.writePartsFile();
    if (status != kStatusGood) {
        ws.observer.hideProgress();
        return;
    }

    out.fields.clear();
    NetMerger merger(ws);
    LineReader allLines = netlistLines(input.text());
    readPins(allLines, out, merger);
    merger.appendTo(out.netText());
    out.writeNetFile();
}

} // namespace lintora
