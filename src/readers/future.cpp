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
// over to a line that has no commas of its own; the rules only ask whether the first is
// "DATA" or "PIN" and which attribute ("2", "3" or "4") the second names.
struct FieldScan {
    enum class First : unsigned char { Other, Data, Pin };
    std::size_t commas = 0;
    First first = First::Other;
    char second = '\0'; // the attribute digit, or '\0' for anything else
    bool inRecord = false;

    void clearFields() {
        first = First::Other;
        second = '\0';
    }
    bool isData(char attribute) const {
        return inRecord && first == First::Data && second == attribute;
    }
    bool isPinLine() const { return inRecord && first == First::Pin; }
    // A "," that no rule took: it ends a field.
    void comma(std::string_view token) {
        ++commas;
        if (inRecord) {
            if (commas == 1)
                first = token == kData ? First::Data : token == kPin ? First::Pin : First::Other;
            else if (commas == 2)
                second = token.size() == 1 && token[0] >= '2' && token[0] <= '4' ? token[0] : '\0';
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
    for (std::size_t i = kFieldEndOrDropped.findIn(line, 0);;
         i = kFieldEndOrDropped.findIn(line, i + 1)) {
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

// The parts of the records after the landmark line: one parts line per record with a
// reference or a part name, written once its record's footprint is known (or the record
// ends without one).
class PartsScan {
public:
    explicit PartsScan(ReaderOutput& out) : m_out(out), m_f(out.fields) {}

    // `closesRecord`: the line's first character other than a blank or TAB is ")".
    void startLine(bool closesRecord) {
        m_scan.commas = 0;
        m_footprintRead = false;
        if (closesRecord) {
            finishPart();
            m_scan.inRecord = false;
        }
    }
    // A field ended by "," or by the line's end. False: the rest of the line is left.
    bool field(std::string_view token, bool atEnd) {
        if (!atEnd && token == kRecordStart) {
            finishPart();
            m_f[2].clear();
            m_f[3].clear();
            m_scan.inRecord = true;
            return false;
        }
        if (m_scan.isData('2')) {
            m_f[2] = token;
            m_partPending = m_partPending || !token.empty();
            m_scan.clearFields();
        } else if (m_scan.isData('3')) {
            m_f[1] = token;
            m_partPending = true;
            m_scan.clearFields();
        } else if (m_scan.isData('4')) {
            m_f[3] = token;
            m_scan.clearFields();
            m_scan.inRecord = false; // the record's parts data ends here
            m_footprintRead = true;
        } else if (!atEnd) {
            m_scan.comma(token);
        }
        return true;
    }
    void endLine() {
        if (m_footprintRead)
            finishPart();
    }
    void finish() { finishPart(); }

private:
    // A record with a reference or a part name is a part, also when its part name is empty
    // ("DATA,3," or no such line): it pairs by its reference.
    void finishPart() {
        if (m_partPending) {
            m_out.addPart();
            m_f[1].clear();
            m_partPending = false;
        }
    }

    ReaderOutput& m_out;
    FieldArray& m_f;
    FieldScan m_scan;
    bool m_footprintRead = false;
    bool m_partPending = false; // the record's reference or part name came, not yet written
};

// The "PIN" lines of the whole file, each a one-pin net handed to the merger.
class PinsScan {
public:
    explicit PinsScan(NetMerger& merger) : m_merger(merger) {}

    void startLine(bool closesRecord) {
        m_scan.commas = 0;
        if (closesRecord)
            m_scan.inRecord = false;
    }
    bool field(std::string_view token, bool atEnd) {
        const bool pinLine = m_scan.isPinLine();
        if (!atEnd && token == kRecordStart) {
            m_scan.clearFields();
            m_prefix.clear();
            m_scan.inRecord = true;
            return false;
        }
        if (m_scan.isData('2')) {
            m_prefix.assign(token).append(".");
            m_scan.clearFields();
        } else if (pinLine && m_scan.commas == 2) {
            m_netName = token;
            ++m_scan.commas;
        } else if (pinLine && m_scan.commas == 6) {
            // A pin of no net (an empty net field) connects nothing: it adds no net.
            if (!m_netName.empty()) {
                m_pin.assign(m_prefix).append(token).append(", ");
                m_merger.add(m_netName, 1, m_pin);
            }
            m_scan.clearFields();
            m_netName.clear();
        } else if (!atEnd) {
            m_scan.comma(token);
        }
        return true;
    }

private:
    NetMerger& m_merger;
    FieldScan m_scan;
    std::string m_netName;
    std::string m_prefix; // the record's reference and "."
    std::string m_pin;    // the pin and ", ", as the net line holds it
};

} // namespace

// readFuture: converts a FUTURE netlist into net.tmp and parts.tmp.
ReaderResult readFuture(Workspace& ws, const std::string& path) {
    // The input as ReaderInput reads it; the records are read upper-cased, the landmark
    // line as written, so the text is upper-cased in place once the landmark was found.
    std::string text = readInputText(path);
    ReaderOutput out(ws);

    LineReader lines = netlistLines(text);
    std::string_view landmarkLine;
    bool foundLandmark = false;
    while (!foundLandmark && lines.next(landmarkLine))
        foundLandmark = landmarkLine == kLandmark; // exactly as written
    if (!foundLandmark) {
        out.writePartsFile();
        ws.observer.hideProgress();
        return ReaderResult::NotRecognised;
    }
    upperCaseInPlace(text);

    // One walk over the lines serves both scans: the pins of the whole file, the parts
    // after the landmark line. The merger keeps a capacity failure until parts.tmp is
    // written, as if the pins were read afterwards.
    NetMerger merger(ws, text.size());
    PinsScan pins(merger);
    PartsScan parts(out);
    bool afterLandmark = false;
    std::string scratch;
    LineReader allLines = netlistLines(text);
    std::string_view line;
    while (allLines.next(line)) {
        std::size_t first = 0;
        while (first < line.size() && (line[first] == ' ' || line[first] == '\t'))
            ++first;
        const bool closesRecord = first < line.size() && line[first] == ')';
        pins.startLine(closesRecord);
        if (afterLandmark)
            parts.startLine(closesRecord);
        // Both scans leave a line at the same field, a record's start.
        forEachField(line, scratch, [&](std::string_view token, bool atEnd) {
            const bool goOn = pins.field(token, atEnd);
            return afterLandmark ? parts.field(token, atEnd) && goOn : goOn;
        });
        if (afterLandmark)
            parts.endLine();
        afterLandmark = afterLandmark || line.data() == landmarkLine.data();
    }
    parts.finish();
    out.writePartsFile();

    merger.appendTo(out.netText());
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
