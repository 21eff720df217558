// OrCAD PCB II netlist reader (written by OrCAD Capture and by KiCad's schematic editor).
//
//   # EESchema Netlist Version 1.1 created  12/1/2024
//   ( { OrCAD/PCB II Netlist Format }
//    ( 5A3B0C11 Package_DIP:DIP-14 U1 74LS00 {Lib=74LS00}
//     (    7 GND )
//     (   14 VCC )
//     (    3 ? )
//    )
//    ( 5A3B0C12 $noname  R1 10K {Lib=R}
//     (    1 VCC )
//     (    2 Net-(R1-Pad2) )
//    )
//   )
//   *
//   { Pin List by Nets
//   ...
//   }
//
// One list of component blocks: a block starts with a time stamp, the footprint ("$noname"
// when there is none), the reference and the value, then lists each pin with the net it is
// on. The net "?" means the pin is unconnected: it is in no net. "{ ... }" is a comment,
// also over several lines; "#" lines before the list are comments too. The nets are
// gathered by name, in the order their names first appear. What follows the list (the
// "Pin List by Nets" section of some writers) repeats it and is not read.
//
// Parentheses are lists only where they stand alone between blanks: a KiCad net name such
// as "Net-(R1-Pad2)" holds some of its own.

#include "readers/net_merge.h"
#include "readers/readers.h"

#include <array>

namespace lintora {

using namespace std::string_view_literals;

namespace {

constexpr std::string_view kNoFootprint = "$NONAME";
constexpr std::string_view kUnconnected = "?";

// The walk over the file: how deep the lists are open, the comment the walk is in, and what
// the current component block and pin entry have gathered.
class OrcadScan {
public:
    OrcadScan(ReaderOutput& out, NetLines& nets) : m_out(out), m_nets(nets) {}

    // Reads one line; false once the outer list has closed or the file is known not to be
    // one of this format.
    bool readLine(std::string_view line) {
        if (m_depth == 0 && m_commentDepth == 0 && line.starts_with('#'))
            return true; // a comment line before the list
        if (m_depth == 2 && m_commentDepth == 0 && takePinLine(line))
            return true;
        std::size_t i = 0;
        while (i < line.size()) {
            i = endOfRun(line, i, isSpace);
            if (i == line.size())
                break;
            const std::size_t end = endOfRun(line, i, [](char c) { return !isSpace(c); });
            if (!token(line.substr(i, end - i)))
                return false;
            i = end;
        }
        return true;
    }

    // A pin entry alone on its line, "( pin net )", the line of nearly every pin: taken at
    // once, as its words would be taken one by one. False for any other line.
    bool takePinLine(std::string_view line) {
        const auto isWordCharacter = [](char c) { return !isSpace(c); };
        const std::string_view entry = trimBlanks(line);
        if (entry.size() < 5 || entry[0] != '(' || !isSpace(entry[1]) || entry.back() != ')' ||
            !isSpace(entry[entry.size() - 2]))
            return false;
        const std::string_view inner = entry.substr(2, entry.size() - 4);
        const std::size_t pinStart = endOfRun(inner, 0, isSpace);
        const std::size_t pinEnd = endOfRun(inner, pinStart, isWordCharacter);
        const std::size_t netStart = endOfRun(inner, pinEnd, isSpace);
        const std::size_t netEnd = endOfRun(inner, netStart, isWordCharacter);
        if (pinEnd == pinStart || netEnd == netStart ||
            endOfRun(inner, netEnd, isSpace) != inner.size())
            return false;
        const std::string_view pin = inner.substr(pinStart, pinEnd - pinStart);
        const std::string_view net = inner.substr(netStart, netEnd - netStart);
        for (const std::string_view word : {pin, net})
            if (word == "("sv || word == ")"sv || word.starts_with('{'))
                return false;
        if (!m_headerTaken)
            takeHeader();
        m_wordsOfList[0] = pin;
        m_wordsOfList[1] = net;
        m_words = 2;
        takePinEntry();
        return true;
    }

    // A component block was found in the list.
    bool recognised() const { return m_recognised; }

private:
    static bool isSpace(char c) { return isBlankOrTab(c) || c == '\n'; }

    bool token(std::string_view word) {
        if (m_commentDepth > 0 || word.starts_with('{')) {
            // Counts the braces of the comment; what it says is passed over.
            for (const char c : word) {
                if (c == '{')
                    ++m_commentDepth;
                else if (c == '}' && m_commentDepth > 0)
                    --m_commentDepth;
            }
            return true;
        }
        if (word == "("sv)
            return open();
        if (word == ")"sv)
            return close();
        if (m_depth == 0)
            return false; // text before the list: not this format
        if ((m_depth == 2 && !m_headerTaken) || m_depth == 3) {
            if (m_words < m_wordsOfList.size())
                m_wordsOfList[m_words] = word;
            ++m_words;
        }
        return true;
    }

    bool open() {
        ++m_depth;
        if (m_depth == 2) {
            m_recognised = true;
            m_headerTaken = false;
            m_words = 0;
        } else if (m_depth == 3) {
            if (!m_headerTaken)
                takeHeader();
            m_words = 0;
        }
        return true;
    }

    bool close() {
        if (m_depth <= 1)
            return false; // the list closes: every block has been read
        if (m_depth == 2 && !m_headerTaken)
            takeHeader();
        else if (m_depth == 3)
            takePinEntry();
        --m_depth;
        return true;
    }

    // The block's header, "tstamp footprint reference value": one parts line.
    void takeHeader() {
        m_headerTaken = true;
        m_reference.clear();
        if (m_words < 3)
            return;
        m_reference = lineField(m_wordsOfList[2], LineField::Reference);
        FieldArray& f = m_out.fields;
        const std::string_view footprint = m_wordsOfList[1];
        f[0].clear();
        f[1] = m_words >= 4 ? lineField(m_wordsOfList[3], LineField::PartName) : std::string();
        f[2] = m_reference;
        f[3] = footprint == kNoFootprint
                   ? std::string()
                   : lineField(footprintWithoutLibrary(footprint), LineField::Footprint);
        m_out.addPart();
    }

    // A pin entry, "( pin net )": the pin joins its net.
    void takePinEntry() {
        if (m_words < 2 || m_reference.empty() || m_wordsOfList[1] == kUnconnected)
            return;
        m_pin.assign(m_reference).append(1, '.');
        appendLineField(m_pin, m_wordsOfList[0], LineField::PinName);
        m_pin.append(", ");
        m_netName.clear();
        appendLineField(m_netName, m_wordsOfList[1], LineField::NetName);
        m_nets.add(m_netName, 1, m_pin);
    }

    ReaderOutput& m_out;
    NetLines& m_nets;
    std::size_t m_depth = 0;
    std::size_t m_commentDepth = 0;
    bool m_recognised = false;
    bool m_headerTaken = false;
    // The first words of the current header or pin entry, and how many it has.
    std::array<std::string_view, 4> m_wordsOfList;
    std::size_t m_words = 0;
    std::string m_reference; // of the current block
    std::string m_pin;
    std::string m_netName;
};

} // namespace

// readOrcadPcb2: converts an OrCAD PCB II netlist into net.tmp and parts.tmp; recognised by
// its list of component blocks.
ReaderResult readOrcadPcb2(Workspace& ws, const std::string& path) {
    ReaderInput input(path);
    input.upperCase(); // names, pins and values are read upper-cased
    ReaderOutput out(ws);
    out.reserveFor(input.text().size() / 2);
    NetLines nets(ws.limits.sideSlots, ws.limits.fieldSlots);
    nets.reserveFor(input.text().size()); // a pin line is short: room for one in every 20 bytes
    OrcadScan scan(out, nets);
    std::string_view line;
    while (input.next(line) && scan.readLine(line)) {
    }
    if (!scan.recognised()) {
        ws.observer.hideProgress(); // not an OrCAD PCB II netlist: nothing is written
        return ReaderResult::NotRecognised;
    }
    out.writePartsFile();
    nets.appendTo(out.netText());
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
