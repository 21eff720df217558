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

#include "readers/readers.h"

#include <unordered_map>
#include <vector>

namespace lintora {

namespace {

constexpr char kEndOfLine = '\0'; // stands for the empty character after a line's end
constexpr std::string_view kPartsKeyword = "%Part"; // exactly so: "%part" is no keyword

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

// The nets in the order of their first line, each name once. The lines a net came from
// count against the same limit as the nets a side may hold.
class NetMerger {
public:
    explicit NetMerger(std::size_t lineLimit) : m_lineLimit(lineLimit) {}

    void add(const std::string& name, const FieldArray& fields, std::size_t pinEnd) {
        if (++m_lines > m_lineLimit)
            throw CapacityExceeded("net lines to merge");
        const auto [it, inserted] = m_index.try_emplace(name, m_nets.size());
        if (inserted)
            m_nets.push_back({name, {}});
        auto& pins = m_nets[it->second].pins;
        for (std::size_t i = 2; i < pinEnd; ++i)
            pins.push_back(fields.at(i));
    }

    bool empty() const { return m_nets.empty(); }

    void write(ReaderOutput& out) const {
        FieldArray& f = out.fields;
        for (const auto& net : m_nets) {
            f[0] = net.name;
            f[1] = std::to_string(net.pins.size());
            for (std::size_t i = 0; i < net.pins.size(); ++i)
                f[i + 2] = net.pins[i]; // a merged net beyond the last slot is a capacity failure
            out.addNet();
        }
    }

private:
    struct Net {
        std::string name;
        std::vector<std::string> pins;
    };
    std::vector<Net> m_nets;
    std::unordered_map<std::string, std::size_t> m_index;
    std::size_t m_lines = 0;
    std::size_t m_lineLimit;
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
    while (inParts && lines.next(line)) {
        // A "*" line adds references to the part name of the line above.
        if (!isContinuation(line))
            f[1].clear();
        f[2].clear();
        f[3].clear();
        token.clear();
        bool inValue = false; // between a value's two backslashes
        const std::string upper = upperCased(line);
        for (std::size_t i = 0; i <= upper.size(); ++i) {
            const char c = i < upper.size() ? upper[i] : kEndOfLine;
            const bool atEnd = i == upper.size();
            if (!atEnd && !inValue && c == '\\') {
                inValue = true;
            } else if (!atEnd && inValue && c == '\\' && f[1].empty() && !token.empty()) {
                f[1] = token; // part name
                token.clear();
                inValue = false;
            } else if (!atEnd && inValue && c == '\\' && !f[1].empty() && !token.empty()) {
                f[2] = token; // reference designator
                token.clear();
                out.addPart();
                inValue = false;
            } else if (!atEnd && !isBlankOrTab(c) && c != '*') {
                // Text outside a backslash pair becomes the front of the next value.
                token += c;
            }
        }
    }
}

// The net lines before "%Part", handed to the merger as they are completed.
void readNets(const std::string& text, ReaderOutput& out, NetMerger& merger) {
    enum class State { Off, NameOn, RefOff, RefOn, PinOff, PinOn, NetOff };
    FieldArray& f = out.fields;
    State state = State::Off;
    std::size_t pinCounter = 2;
    std::string token;
    // A net is written with the pairs it completed; a reference still waiting for its pin
    // is not a pin.
    const auto completeNet = [&] {
        f[1] = std::to_string(pinCounter - 2);
        merger.add(f.at(0), f, pinCounter);
        f[0].clear();
        token.clear();
        state = State::NetOff;
    };
    LineReader lines(text);
    std::string_view line;
    while (lines.next(line)) {
        token.clear();
        const bool startsNet = !line.empty() && line[0] == '\\';
        // A net ends at the next line that does not continue it. A new net line ends the
        // one above even while its last pair is unfinished: otherwise that name would stay
        // in slot 0 and no later net of the file could start.
        if (!isContinuation(line) && !f.at(0).empty() && (state == State::RefOff || startsNet))
            completeNet();
        if (startsNet)
            state = State::NameOn;
        else if (line == kPartsKeyword)
            break;
        if (line.empty() || line[0] == '%')
            continue;
        const std::string upper = upperCased(line);
        // The first character ("\", "*" or whatever begins the line) is never collected.
        for (std::size_t i = firstCharLength(upper); i <= upper.size(); ++i) {
            const char c = i < upper.size() ? upper[i] : kEndOfLine;
            const bool atEnd = i == upper.size();
            const bool backslash = !atEnd && c == '\\';
            if (state == State::NameOn && backslash && f.at(0).empty()) {
                f[0] = token; // net name
                token.clear();
                state = State::RefOff;
                pinCounter = 2;
            } else if (state == State::RefOff && backslash) {
                state = State::RefOn;
                token.clear();
            } else if (state == State::RefOn && backslash && !token.empty()) {
                f[pinCounter] = token; // reference designator
                token.clear();
                state = State::PinOff;
            } else if (state == State::PinOff && backslash) {
                state = State::PinOn;
                token.clear();
            } else if (state == State::PinOn && backslash && !token.empty()) {
                f[pinCounter] += '.';
                f[pinCounter] += token; // pin number
                token.clear();
                state = State::RefOff;
                ++pinCounter;
            } else if (!atEnd && c != '\t' && c != ',' && c != ' ') {
                token += c;
            }
        }
    }
    // The last net of the section needs no line after it.
    if (!f.at(0).empty())
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

    out.fields.clear();
    NetMerger merger(out.fields.capacity());
    readNets(input.text(), out, merger);
    out.fields.clear();
    merger.write(out);
    out.writeNetFile();

    // Without a single net line the file is not of this format.
    if (merger.empty()) {
        ws.observer.hideProgress();
        return;
    }
    status = kStatusGood;
}

} // namespace lintora
