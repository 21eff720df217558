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
// A backslash, and the characters a value leaves out on part lines and on net lines.
constexpr ByteSet kPartStops("\\ \t*");
constexpr ByteSet kNetStops("\\ \t,");

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

// Appends the line's characters from `i` up to the next backslash (or the line's end) to
// the token, leaving out the others of `stops`. Returns the backslash's position.
std::size_t appendUpToBackslash(std::string& token, std::string_view line, std::size_t i,
                                const ByteSet& stops) {
    for (;;) {
        const std::size_t stop = stops.findIn(line, i);
        token.append(line.data() + i, stop - i);
        if (stop == line.size() || line[stop] == '\\')
            return stop;
        i = stop + 1; // a character left out
    }
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

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Where the first line that is exactly "%Part" begins, or npos. (A line begins at the start
// of the text or after a line end, and ends at the next one: CR, CR LF or LF.)
std::size_t partsKeywordLine(std::string_view text) {
    for (std::size_t at = text.find(kPartsKeyword); at != std::string_view::npos;
         at = text.find(kPartsKeyword, at + 1)) {
        const bool startsLine = at == 0 || isLineEnd(text[at - 1]);
        const std::size_t end = at + kPartsKeyword.size();
        if (startsLine && (end == text.size() || isLineEnd(text[end])))
            return at;
    }
    return std::string_view::npos;
}

// The part lines after the "%Part" line, to the end of the file.
void readParts(std::string_view text, std::size_t partsLine, ReaderOutput& out) {
    if (partsLine == std::string_view::npos)
        return;
    FieldArray& f = out.fields;
    // The lines after it, read as if the walk had gone on: past its line end (CR, CR LF
    // or LF).
    std::size_t after = partsLine + kPartsKeyword.size();
    if (after < text.size() && text[after] == '\r')
        ++after;
    if (after < text.size() && text[after] == '\n')
        ++after;
    LineReader lines = netlistLines(text.substr(after));
    std::string_view line;
    std::string token;
    while (lines.next(line)) {
        // A "*" line adds references to the part name of the line above.
        if (!isContinuation(line))
            f[1].clear();
        f[2].clear();
        f[3].clear();
        token.clear();
        bool inValue = false; // between a value's two backslashes
        for (std::size_t i = 0; i < line.size(); ++i) {
            // Text outside a backslash pair becomes the front of the next value.
            i = appendUpToBackslash(token, line, i, kPartStops);
            if (i == line.size())
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

// The net lines before the "%Part" line, handed to the gatherer as they are completed.
void readNets(std::string_view text, std::size_t partsLine, NetGatherer& nets,
              std::size_t fieldSlots) {
    enum class State { Off, NameOn, RefOff, RefOn, PinOff, PinOn, NetOff };
    State state = State::Off;
    std::string name;
    std::size_t pinCounter = 2; // the field slot of the next pin
    // The completed pins, each followed by ", ", then the reference of the pin being read
    // and "." once that is complete.
    std::string pins;
    std::size_t completedPins = 0; // the length of the completed pins in `pins`
    std::string token;
    // A net is written with the pairs it completed; a reference still waiting for its pin
    // is not a pin.
    const auto completeNet = [&] {
        nets.add(name, pinCounter - 2, std::string_view(pins).substr(0, completedPins));
        name.clear();
        token.clear();
        state = State::NetOff;
    };
    LineReader lines = netlistLines(text);
    std::string_view line;
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
        else if (static_cast<std::size_t>(line.data() - text.data()) == partsLine)
            break;
        if (line.empty() || line[0] == '%')
            continue;
        // The first character ("\", "*" or whatever begins the line) is never collected.
        for (std::size_t i = firstCharLength(line); i < line.size(); ++i) {
            i = appendUpToBackslash(token, line, i, kNetStops);
            if (i == line.size())
                break;
            if (state == State::NameOn && name.empty()) {
                name = token; // net name
                token.clear();
                state = State::RefOff;
                pinCounter = 2;
                pins.clear();
                completedPins = 0;
            } else if (state == State::RefOff) {
                state = State::RefOn;
                token.clear();
            } else if (state == State::RefOn && !token.empty()) {
                if (pinCounter >= fieldSlots)
                    throwFieldSlotExceeded(pinCounter);
                pins.resize(completedPins);
                pins.append(token).push_back('.'); // reference designator
                token.clear();
                state = State::PinOff;
            } else if (state == State::PinOff) {
                state = State::PinOn;
                token.clear();
            } else if (state == State::PinOn && !token.empty()) {
                pins.append(token).append(", "); // pin number
                completedPins = pins.size();
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

// readExpedition: converts an Expedition PCB netlist into net.tmp and parts.tmp, merging net lines
// that share a name.
ReaderResult readExpedition(Workspace& ws, const std::string& path) {
    // The input as ReaderInput reads it. Values are read upper-cased and the "%Part" line as
    // written, so the text is upper-cased in place once that line was found.
    std::string text = readInputText(path);
    ReaderOutput out(ws);
    const std::size_t partsLine = partsKeywordLine(text);
    upperCaseInPlace(text);

    readParts(text, partsLine, out);
    out.writePartsFile();

    NetGatherer nets(out.fields.capacity(), text.size());
    readNets(text, partsLine, nets, out.fields.capacity());
    nets.write(out);
    out.writeNetFile();

    // Without a single net line the file is not of this format.
    if (nets.empty()) {
        ws.observer.hideProgress();
        return ReaderResult::NotRecognised;
    }
    return ReaderResult::Recognised;
}

} // namespace lintora
