/* Expedition PCB netlist reader.

     %NET
     \GND\  \U1\-\7\  \U2\-\7\
     *  \C1\-\2\
     \VCC\  \U1\-\14\  \U2\-\14\
     %Part
     \74HC00\  \U1\  \U2\
     *  \U3\

   Every name stands between backslashes. A net line is the net name followed by pairs of
   reference and pin; the part lines after "%Part" are a part name followed by the
   references that use it. A line beginning with "*" continues the line above; lines
   beginning with "%" are section and control lines. A net name that appears on several
   net lines is one net: its pins are gathered at the place of its first line. */

#include "readers/net_merge.h"
#include "readers/readers.h"

#include <limits>

namespace lintora {

namespace {

constexpr std::string_view kPartsKeyword = "%Part"; // exactly so: "%part" is no keyword
// Characters a value leaves out, on part lines and on net lines.
constexpr ByteSet kPartDropped(" \t*");
constexpr ByteSet kNetDropped(" \t,");

bool isContinuation(std::string_view line) {
    return !line.empty() && line[0] == '*';
}

// Byte length of the line's first character (0 for an empty line).
std::size_t firstCharLength(std::string_view line) {
    if (line.empty())
        return 0;
    const std::size_t length = utf8SequenceLength(static_cast<unsigned char>(line[0]));
    return length < line.size() ? length : line.size();
}

// Appends the characters of `text` to `token`, leaving out those of `dropped`.
void appendWithout(std::string& token, std::string_view text, const ByteSet& dropped) {
    if (dropped.findIn(text, 0) == text.size()) {
        token.append(text);
        return;
    }
    for (const char c : text)
        if (!dropped.contains(c))
            token += c;
}

// The nets in the order of their first line, each name once. The lines a net came from
// count against the same limit as the slots of a field array.
class NetGatherer {
public:
    NetGatherer(std::size_t fieldSlots, std::size_t inputBytes)
        : m_fieldSlots(fieldSlots), m_lines(kNoLimit, kNoLimit) {
        m_lines.reserveFor(inputBytes);
    }

    // A net line's name and its pins, each followed by ", ".
    void add(std::string_view name, std::size_t pinCount, std::string_view pinText) {
        if (m_lines.lineCount() >= m_fieldSlots)
            throw CapacityExceeded("net lines to merge");
        m_lines.add(name, pinCount, pinText);
    }

    bool empty() {
        m_lines.resolve();
        return m_lines.netCount() == 0;
    }

    void write(ReaderOutput& out) {
        m_lines.resolve();
        // A merged net beyond the last slot of the field array is a capacity failure.
        for (std::size_t net = 0; net < m_lines.netCount(); ++net)
            if (m_lines.pinCount(net) + 1 >= m_fieldSlots)
                throwFieldSlotExceeded(m_fieldSlots);
        m_lines.appendTo(out.netText());
    }

private:
    static constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();
    std::size_t m_fieldSlots;
    NetLines m_lines;
};

// The part lines from "%Part" to the end of the file.
void readParts(const std::string& text, ReaderOutput& out) {
    FieldArray& f = out.fields;
    LineReader lines(text);
    std::string_view line;
    bool inParts = false;
    while (!inParts && lines.next(line))
        inParts = line == kPartsKeyword;
    std::string token;
    std::string upper;
    while (inParts && lines.next(line)) {
        // A "*" line adds references to the part name of the line above.
        if (!isContinuation(line))
            f[1].clear();
        f[2].clear();
        f[3].clear();
        token.clear();
        bool inValue = false; // between a value's two backslashes
        upper.assign(line);
        upperCaseQuickly(upper);
        for (std::size_t i = 0; i < upper.size(); ++i) {
            // Text outside a backslash pair becomes the front of the next value.
            const std::size_t backslash = std::min(upper.find('\\', i), upper.size());
            appendWithout(token, std::string_view(upper).substr(i, backslash - i), kPartDropped);
            i = backslash;
            if (i == upper.size())
                break;
            if (!inValue) {
                inValue = true;
            } else if (f[1].empty() && !token.empty()) {
                f[1] = token; // part name
                token.clear();
                inValue = false;
            } else if (!f[1].empty() && !token.empty()) {
                f[2] = token; // reference designator
                token.clear();
                out.addPart();
                inValue = false;
            } else {
                token += '\\'; // a value's first character
            }
        }
    }
}

// The net lines before "%Part", handed to the gatherer as they are completed.
void readNets(const std::string& text, NetGatherer& nets, std::size_t fieldSlots) {
    enum class State { Off, NameOn, RefOff, RefOn, PinOff, PinOn, NetOff };
    State state = State::Off;
    std::string name;
    std::size_t pinCounter = 2; // the field slot of the next pin
    std::string reference;      // of the pin being read
    std::string pins;           // the completed pins, each followed by ", "
    std::string token;
    // A net is written with the pairs it completed; a reference still waiting for its pin
    // is not a pin.
    const auto completeNet = [&] {
        nets.add(name, pinCounter - 2, pins);
        name.clear();
        token.clear();
        state = State::NetOff;
    };
    LineReader lines(text);
    std::string_view line;
    std::string upper;
    while (lines.next(line)) {
        token.clear();
        const bool startsNet = !line.empty() && line[0] == '\\';
        // A net ends at the next line that does not continue it. A new net line ends the
        // one above even while its last pair is unfinished: otherwise that name would stay
        // and no later net of the file could start.
        if (!isContinuation(line) && !name.empty() && (state == State::RefOff || startsNet))
            completeNet();
        if (startsNet)
            state = State::NameOn;
        else if (line == kPartsKeyword)
            break;
        if (line.empty() || line[0] == '%')
            continue;
        upper.assign(line);
        upperCaseQuickly(upper);
        // The first character ("\", "*" or whatever begins the line) is never collected.
        for (std::size_t i = firstCharLength(upper); i < upper.size(); ++i) {
            const std::size_t backslash = std::min(upper.find('\\', i), upper.size());
            appendWithout(token, std::string_view(upper).substr(i, backslash - i), kNetDropped);
            i = backslash;
            if (i == upper.size())
                break;
            if (state == State::NameOn && name.empty()) {
                name = token; // net name
                token.clear();
                state = State::RefOff;
                pinCounter = 2;
                pins.clear();
            } else if (state == State::RefOff) {
                state = State::RefOn;
                token.clear();
            } else if (state == State::RefOn && !token.empty()) {
                if (pinCounter >= fieldSlots)
                    throwFieldSlotExceeded(pinCounter);
                reference = token; // reference designator
                token.clear();
                state = State::PinOff;
            } else if (state == State::PinOff) {
                state = State::PinOn;
                token.clear();
            } else if (state == State::PinOn && !token.empty()) {
                pins.append(reference).append(".").append(token).append(", "); // pin number
                token.clear();
                state = State::RefOff;
                ++pinCounter;
            } else {
                token += '\\';
            }
        }
    }
    // The last net of the section needs no line after it.
    if (!name.empty())
        completeNet();
}

} // namespace

// mnexpin: converts an Expedition PCB netlist into net.tmp and parts.tmp, merging net lines
// that share a name.
void mnexpin(Workspace& ws, const std::string& path, std::string& status) {
    status = kStatusBad;
    const ReaderInput input(path);
    ReaderOutput out(ws);

    readParts(input.text(), out);
    out.writePartsFile();

    NetGatherer nets(out.fields.capacity(), input.text().size());
    readNets(input.text(), nets, out.fields.capacity());
    nets.write(out);
    out.writeNetFile();

    // Without a single net line the file is not of this format.
    if (nets.empty()) {
        ws.observer.hideProgress();
        return;
    }
    status = kStatusGood;
}

} // namespace lintora
