// IPC-D-356 / IPC-D-356A test netlist reader (the bare-board netlist a board house gets).
//
//   P  UNITS CUST 0
//   P  NNAMEm0000 SDR_REG_LDO_PGOOD
//   317GND              J1    -1    D0400PA00X+021920Y+001554X0620Y0620R180 S3
//   327m0000            U1    -A12        A01X+018150Y+014083X0394Y0315     S2
//   317GND              VIA   -    MD0120PA00X+018543Y+013846X0240Y         S1
//   999
//
// Fixed columns: 1-3 the record code, 4-17 the net name, 21-26 the reference, 27 "-",
// 28-31 the pin. Pins come from the 317 (through-hole), 327 (surface) and 307 records; not
// from vias (reference VIA), from pads without a net (net field empty or N/C), from
// non-plated holes (367) or from continuation records (codes starting with 0, such as the
// second copy of a drilled pad). A board tool lists some pads more than once; a pin counts
// once in its net. Names and pins are read upper-cased.
//
// Net names longer than the field are shortened and given in full by "P  NNAME" lines:
// Allegro writes the key without "NNAME" in the net field ("m0000"), Eagle the whole key
// ("NNAME1"). A file holds no values, so no parts. "999" ends the file.

#include "readers/net_merge.h"
#include "readers/readers.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace lintora {

using namespace std::string_view_literals;

namespace {

constexpr std::string_view kAliasStart = "P  NNAME";
constexpr std::string_view kUnitsLine = "P  UNITS";
constexpr std::string_view kEndRecord = "999";

// Columns of a test record, counted from 0.
constexpr std::size_t kNetColumn = 3;
constexpr std::size_t kNetWidth = 14;
constexpr std::size_t kReferenceColumn = 20;
constexpr std::size_t kReferenceWidth = 6;
constexpr std::size_t kPinColumn = 27;
constexpr std::size_t kPinWidth = 4;

bool isPinRecord(std::string_view line) {
    return line.starts_with("317"sv) || line.starts_with("327"sv) || line.starts_with("307"sv);
}

bool isEndRecord(std::string_view line) {
    return line.starts_with(kEndRecord) && trimBlanks(line.substr(kEndRecord.size())).empty();
}

// The characters of a record from `column` on, `width` of them at most, without the blanks
// at their ends. Columns count characters: a name with a character of several bytes keeps
// the columns after it where they are.
std::string_view field(std::string_view line, std::size_t column, std::size_t width) {
    const std::size_t asciiEnd = std::min(line.size(), column + width);
    bool ascii = true;
    for (std::size_t i = 0; i < asciiEnd && ascii; ++i)
        ascii = static_cast<unsigned char>(line[i]) < 0x80;
    if (ascii) {
        if (column >= line.size())
            return {};
        return trimBlanks(line.substr(column, width));
    }
    const std::size_t from = byteOffsetOfChar(line, column);
    const std::size_t to = byteOffsetOfChar(line, column + width);
    return trimBlanks(line.substr(from, to - from));
}

// Whether the line starts with the keyword (written in capitals) in any case.
bool startsWithKeyword(std::string_view line, std::string_view keyword) {
    if (line.size() < keyword.size())
        return false;
    for (std::size_t i = 0; i < keyword.size(); ++i) {
        char c = line[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != keyword[i])
            return false;
    }
    return true;
}

// The full names of shortened nets, wherever in the file their lines stand, and how the
// records name them.
class NetAliases {
public:
    // A "P  NNAME" line: the key (upper-cased, "NNAMEM0000") and the full name.
    void add(std::string_view line) {
        const std::string_view rest = line.substr(3); // "NNAME..."
        const std::size_t blank = rest.find_first_of(" \t");
        if (blank == std::string_view::npos)
            return;
        std::string key;
        appendUpperCased(key, rest.substr(0, blank));
        std::string name;
        appendUpperCased(name, trimBlanks(rest.substr(blank)));
        m_fullNames.emplace(std::move(key), lineField(name, LineField::NetName));
    }
    // A record's net field (upper-cased): Eagle's records hold the whole key.
    void noteNetField(std::string_view netField) {
        if (netField.starts_with("NNAME"sv))
            m_recordsHoldWholeKey = true;
    }

    bool empty() const { return m_fullNames.empty(); }

    // The name a record's net field stands for (as the net line writes it).
    std::string_view fullName(std::string_view netField) {
        if (m_recordsHoldWholeKey)
            m_key.assign(netField);
        else
            m_key.assign("NNAME").append(netField);
        const auto found = m_fullNames.find(m_key);
        return found == m_fullNames.end() ? netField : std::string_view(found->second);
    }

private:
    std::unordered_map<std::string, std::string> m_fullNames; // by key
    bool m_recordsHoldWholeKey = false;
    std::string m_key;
};

// The pins of a gathered net line ("name; count: pins", each pin followed by ", ").
void pinsOfLine(std::string_view line, std::size_t pinsStart, std::vector<std::string_view>& pins) {
    pins.clear();
    for (std::size_t at = pinsStart; at < line.size();) {
        const std::size_t end = line.find(", ", at);
        pins.push_back(line.substr(at, end - at));
        at = end + 2;
    }
}

// Appends the gathered nets with each pin once in its net, in the order the pins first came.
// A net of more pins than the field array holds is a capacity failure, as when its line is
// written.
void appendEachPinOnce(std::string_view gathered, std::size_t fieldSlots, NetAliases& aliases,
                       std::string& netText) {
    std::vector<std::string_view> pins;
    std::vector<std::string_view> sorted;
    std::vector<std::string_view> repeated; // the pins listed more than once, sorted
    std::vector<std::string_view> written;  // of those, the ones written
    netText.reserve(netText.size() + gathered.size());
    LineReader lines(gathered);
    std::string_view line;
    while (lines.next(line)) {
        const std::size_t nameEnd = line.find("; ");
        const std::size_t pinsStart = line.find(": ", nameEnd) + 2;
        pinsOfLine(line, pinsStart, pins);
        sorted = pins;
        std::sort(sorted.begin(), sorted.end());
        repeated.clear();
        for (std::size_t i = 1; i < sorted.size(); ++i)
            if (sorted[i] == sorted[i - 1] && (repeated.empty() || repeated.back() != sorted[i]))
                repeated.push_back(sorted[i]);
        const std::size_t count =
            static_cast<std::size_t>(std::unique(sorted.begin(), sorted.end()) - sorted.begin());
        if (count + 1 >= fieldSlots)
            throw CapacityExceeded("pins of a net");
        const std::string_view field = line.substr(0, nameEnd);
        const std::string_view name = aliases.empty() ? field : aliases.fullName(field);
        if (repeated.empty() && name == field) {
            netText.append(line).append("\r\n");
            continue;
        }
        netText.append(name);
        netText.append("; ").append(std::to_string(count)).append(": ");
        written.clear();
        for (const std::string_view pin : pins) {
            if (std::binary_search(repeated.begin(), repeated.end(), pin)) {
                if (std::find(written.begin(), written.end(), pin) != written.end())
                    continue; // the pad listed once more
                written.push_back(pin);
            }
            netText.append(pin).append(", ");
        }
        netText.append("\r\n");
    }
}

} // namespace

// readIpcD356: converts an IPC-D-356 netlist into net.tmp (and an empty parts.tmp);
// recognised by its "P  UNITS" line or its "999" end.
ReaderResult readIpcD356(Workspace& ws, const std::string& path) {
    ReaderInput input(path); // the fields taken are upper-cased, not the whole file
    ReaderOutput out(ws);
    NetAliases aliases;
    // The pins as they come, by the net field; each net gets its full name, and a pin listed
    // more than once in it is written once, when the nets are written.
    NetLines nets(ws.limits.sideSlots, Limits::unlimited().fieldSlots);
    nets.reserveFor(input.text().size());
    std::string upper;
    std::string netName;
    std::string pin; // without the ", " after it
    bool recognised = false;
    // Records of one net often follow each other (board tools write them net by net): such a
    // run of pins is handed to the nets at once.
    std::string runNet;
    std::string runPins;
    std::size_t runCount = 0;
    const auto endRun = [&] {
        if (runCount > 0)
            nets.add(runNet, runCount, runPins);
        runPins.clear();
        runCount = 0;
    };

    std::string_view line;
    while (input.next(line)) {
        if (isEndRecord(line)) {
            recognised = true;
            break;
        }
        if (!isPinRecord(line)) {
            if (startsWithKeyword(line, kUnitsLine))
                recognised = true;
            else if (startsWithKeyword(line, kAliasStart))
                aliases.add(line);
            continue;
        }
        upper.clear();
        appendUpperCased(upper, field(line, kNetColumn, kNetWidth));
        if (upper.empty() || upper == "N/C"sv)
            continue;
        aliases.noteNetField(upper);
        netName.clear();
        appendLineField(netName, upper, LineField::NetName);
        upper.clear();
        appendUpperCased(upper, field(line, kReferenceColumn, kReferenceWidth));
        if (upper.empty() || upper == "VIA"sv)
            continue;
        pin.clear();
        appendLineField(pin, upper, LineField::Reference);
        pin += '.';
        upper.clear();
        appendUpperCased(upper, field(line, kPinColumn, kPinWidth));
        appendLineField(pin, upper, LineField::PinName);
        if (netName != runNet) {
            endRun();
            runNet = netName;
        }
        runPins.append(pin).append(", ");
        ++runCount;
    }
    endRun();
    if (!recognised) {
        ws.observer.hideProgress(); // not an IPC-D-356 netlist: nothing is written
        return ReaderResult::NotRecognised;
    }
    out.writePartsFile();
    std::string gathered;
    nets.appendTo(gathered);
    appendEachPinOnce(gathered, ws.limits.fieldSlots, aliases, out.netText());
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
