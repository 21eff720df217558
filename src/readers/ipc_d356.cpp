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
// non-plated holes (367) or from continuation records (codes starting with 0: a second copy
// of a pad). A board tool lists some pads more than once; a pin counts once in its net.
//
// Net names longer than the field are shortened and given in full by "P  NNAME" lines:
// Allegro writes the key without "NNAME" in the net field ("m0000"), Eagle the whole key
// ("NNAME1"). A file holds no values, so no parts. "999" ends the file.

#include "readers/net_merge.h"
#include "readers/readers.h"

#include <unordered_map>

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

// The full names of shortened nets, and how the records name them.
class NetAliases {
public:
    // The "P  NNAME" lines of the file, and whether its records carry the whole key.
    explicit NetAliases(std::string_view text) {
        LineReader lines = netlistLines(text);
        std::string_view line;
        while (lines.next(line)) {
            if (line.starts_with(kAliasStart)) {
                const std::string_view rest = line.substr(3); // "NNAME..."
                const std::size_t blank = rest.find_first_of(" \t");
                if (blank == std::string_view::npos)
                    continue;
                m_fullNames.emplace(std::string(rest.substr(0, blank)),
                                    std::string(trimBlanks(rest.substr(blank))));
            } else if (isPinRecord(line) &&
                       field(line, kNetColumn, kNetWidth).starts_with("NNAME"sv)) {
                m_recordsHoldWholeKey = true;
            }
        }
    }

    // The name a record's net field stands for.
    std::string_view fullName(std::string_view netField) {
        if (m_fullNames.empty())
            return netField;
        if (m_recordsHoldWholeKey)
            m_key.assign(netField);
        else
            m_key.assign("NNAME").append(netField);
        const auto found = m_fullNames.find(m_key);
        return found == m_fullNames.end() ? netField : std::string_view(found->second);
    }

private:
    std::unordered_map<std::string, std::string> m_fullNames; // by key, "NNAMEM0000"
    bool m_recordsHoldWholeKey = false;
    std::string m_key;
};

} // namespace

// readIpcD356: converts an IPC-D-356 netlist into net.tmp (and an empty parts.tmp);
// recognised by its "P  UNITS" line or its "999" end.
ReaderResult readIpcD356(Workspace& ws, const std::string& path) {
    ReaderInput input(path);
    input.upperCase(); // names and pins are read upper-cased
    ReaderOutput out(ws);
    NetAliases aliases(input.text());
    // A pin in a net is a name of its own: "net name", LF, "pin".
    NameTable pinsOfNets;
    NetLines nets(ws.limits.sideSlots, ws.limits.fieldSlots);
    nets.reserveFor(input.text().size() / 2);
    std::string netName;
    std::string pin;
    std::string pinOfNet;
    bool recognised = false;

    std::string_view line;
    while (input.next(line)) {
        if (isEndRecord(line)) {
            recognised = true;
            break;
        }
        if (line.starts_with(kUnitsLine)) {
            recognised = true;
            continue;
        }
        if (!isPinRecord(line))
            continue;
        const std::string_view netField = field(line, kNetColumn, kNetWidth);
        const std::string_view reference = field(line, kReferenceColumn, kReferenceWidth);
        if (netField.empty() || netField == "N/C"sv || reference.empty() || reference == "VIA"sv)
            continue;
        netName.clear();
        appendLineField(netName, aliases.fullName(netField), LineField::NetName);
        pin.clear();
        appendPin(pin, reference, field(line, kPinColumn, kPinWidth));
        pinOfNet.assign(netName).append(1, '\n').append(pin);
        if (!pinsOfNets.insert(pinOfNet).second)
            continue; // the pad listed once more
        pin.append(", ");
        nets.add(netName, 1, pin);
    }
    if (!recognised) {
        ws.observer.hideProgress(); // not an IPC-D-356 netlist: nothing is written
        return ReaderResult::NotRecognised;
    }
    out.writePartsFile();
    nets.appendTo(out.netText());
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
