// KiCad schematic netlist reader (the S-expression ".net" file).
//
//   (export (version "E")
//     (components
//       (comp (ref "R1") (value "10k") (footprint "Resistor_SMD:R_0603_1608Metric")
//         (fields (field (name "Footprint") "Resistor_SMD:R_0603_1608Metric"))))
//     (nets
//       (net (code "1") (name "/power/VCC")
//         (node (ref "R1") (pin "1") (pintype "passive"))
//         (node (ref "U1") (pin "14")))
//       (net (code "2") (name "unconnected-(U1-NC-Pad3)")
//         (node (ref "U1") (pin "3")))))
//
// Older files (version D) leave atoms bare where they can: (ref R1) (pin 1). A quoted atom
// escapes '"' and '\' with a '\'. Only the lists at the places above are read; every other
// list (design, fields, libparts, libraries, ...) is passed over with all it holds.
//
// A net whose name starts with "unconnected-(" is KiCad's mark of a pin left unconnected on
// purpose, not a net: it is left out. Every other net is kept, one-pin nets too (KiCad 5 and
// older write an unconnected pin as a one-pin net "Net-(U23-Pad85)"). A value "~" is empty.

#include "readers/readers.h"

#include <vector>

namespace lintora {

using namespace std::string_view_literals;

namespace {

// What a list is, from its keyword and the list it stands in. Lists anywhere else are
// Other, and so is every list inside them.
enum class List : unsigned char {
    Opened, // its keyword is still to come
    Other,
    Export,
    Components,
    Comp,
    CompRef,
    CompValue,
    CompFootprint,
    Nets,
    Net,
    NetName,
    Node,
    NodeRef,
    NodePin,
};

List listOf(List parent, std::string_view keyword) {
    switch (parent) {
    case List::Export:
        return keyword == "COMPONENTS"sv ? List::Components
               : keyword == "NETS"sv     ? List::Nets
                                         : List::Other;
    case List::Components:
        return keyword == "COMP"sv ? List::Comp : List::Other;
    case List::Comp:
        return keyword == "REF"sv         ? List::CompRef
               : keyword == "VALUE"sv     ? List::CompValue
               : keyword == "FOOTPRINT"sv ? List::CompFootprint
                                          : List::Other;
    case List::Nets:
        return keyword == "NET"sv ? List::Net : List::Other;
    case List::Net:
        return keyword == "NAME"sv ? List::NetName : keyword == "NODE"sv ? List::Node : List::Other;
    case List::Node:
        return keyword == "REF"sv   ? List::NodeRef
               : keyword == "PIN"sv ? List::NodePin
                                    : List::Other;
    default:
        return List::Other;
    }
}

constexpr std::string_view kUnconnectedMark = "UNCONNECTED-(";

bool endsBareAtom(char c) {
    return c == '(' || c == ')' || c == '"' || isBlankOrTab(c) || c == '\n';
}

// The walk over the file: the open lists, innermost last, and what the current part, net
// and node have gathered.
class KicadScan {
public:
    explicit KicadScan(ReaderOutput& out) : m_out(out) {}

    // Reads one line; false once the file is known not to be KiCad's or the export list
    // has closed.
    bool readLine(std::string_view line) {
        std::size_t i = 0;
        const std::size_t n = line.size();
        while (i < n) {
            const char c = line[i];
            if (c == '(') {
                m_lists.push_back(List::Opened);
                ++i;
            } else if (c == ')') {
                ++i;
                if (!close())
                    return false;
            } else if (isBlankOrTab(c) || c == '\n') {
                ++i;
            } else if (c == '"') {
                i = quotedAtom(line, i + 1);
                if (!atom(m_atom))
                    return false;
            } else {
                std::size_t end = i + 1;
                while (end < n && !endsBareAtom(line[end]))
                    ++end;
                if (!atom(line.substr(i, end - i)))
                    return false;
                i = end;
            }
        }
        return true;
    }

    bool recognised() const { return m_recognised; }

private:
    // Takes the quoted atom that starts at `from` into m_atom (without its escapes) and
    // returns the position after its closing quote. A line that ends first ends it.
    std::size_t quotedAtom(std::string_view line, std::size_t from) {
        m_atom.clear();
        std::size_t i = from;
        while (i < line.size()) {
            const char c = line[i];
            if (c == '"')
                return i + 1;
            if (c == '\\' && i + 1 < line.size()) {
                m_atom += line[i + 1];
                i += 2;
                continue;
            }
            const std::size_t plainEnd =
                endOfRun(line, i + 1, [](char d) { return d != '"' && d != '\\'; });
            m_atom.append(line.substr(i, plainEnd - i));
            i = plainEnd;
        }
        return i;
    }

    // An atom: a list's keyword, or a value of the list it stands in.
    bool atom(std::string_view text) {
        if (m_lists.empty())
            return false; // outside every list: text before "(export" is not KiCad's
        List& list = m_lists.back();
        if (list == List::Opened) {
            if (m_lists.size() == 1) {
                if (text != "EXPORT"sv)
                    return false;
                m_recognised = true;
                list = List::Export;
                return true;
            }
            list = listOf(m_lists[m_lists.size() - 2], text);
            opened(list);
            return true;
        }
        switch (list) {
        case List::CompRef:
            m_reference.assign(text);
            break;
        case List::CompValue:
            m_value.assign(text);
            break;
        case List::CompFootprint:
            m_footprint.assign(text);
            break;
        case List::NetName:
            m_netName.assign(text);
            break;
        case List::NodeRef:
            m_nodeRef.assign(text);
            break;
        case List::NodePin:
            m_nodePin.assign(text);
            break;
        default:
            break;
        }
        return true;
    }

    void opened(List list) {
        switch (list) {
        case List::Comp:
            m_reference.clear();
            m_value.clear();
            m_footprint.clear();
            break;
        case List::Net:
            m_netName.clear();
            m_pinCounter = 2;
            break;
        case List::Node:
            m_nodeRef.clear();
            m_nodePin.clear();
            break;
        default:
            break;
        }
    }

    // A ")": finishes the innermost list. False when it was the export list.
    bool close() {
        if (m_lists.empty())
            return false; // a ")" before "(export": not KiCad's
        const List list = m_lists.back();
        m_lists.pop_back();
        FieldArray& f = m_out.fields;
        switch (list) {
        case List::Comp:
            if (!m_reference.empty()) {
                f[0].clear();
                f[1] = m_value == "~"sv ? std::string() : lineField(m_value, LineField::PartName);
                f[2] = lineField(m_reference, LineField::Reference);
                f[3] = lineField(footprintWithoutLibrary(m_footprint), LineField::Footprint);
                m_out.addPart();
            }
            break;
        case List::Node:
            if (!m_nodeRef.empty()) {
                std::string& pin = f[m_pinCounter];
                pin.clear();
                appendPin(pin, m_nodeRef, m_nodePin);
                ++m_pinCounter;
            }
            break;
        case List::Net:
            if (!m_netName.starts_with(kUnconnectedMark)) {
                f[0] = lineField(m_netName, LineField::NetName);
                f[1] = std::to_string(m_pinCounter - 2);
                m_out.addNet();
            }
            break;
        default:
            break;
        }
        return !m_lists.empty();
    }

    ReaderOutput& m_out;
    std::vector<List> m_lists;
    bool m_recognised = false;
    std::string m_atom;
    std::string m_reference;
    std::string m_value;
    std::string m_footprint;
    std::string m_netName;
    std::size_t m_pinCounter = 2;
    std::string m_nodeRef;
    std::string m_nodePin;
};

} // namespace

// readKicad: converts a KiCad netlist into net.tmp and parts.tmp; recognised by its
// "(export" list.
ReaderResult readKicad(Workspace& ws, const std::string& path) {
    ReaderInput input(path);
    input.upperCase(); // keywords, names and pins are read upper-cased
    ReaderOutput out(ws);
    out.reserveFor(input.text().size());
    KicadScan scan(out);
    std::string_view line;
    while (input.next(line) && scan.readLine(line)) {
    }
    if (!scan.recognised()) {
        ws.observer.hideProgress(); // not a KiCad netlist: nothing is written
        return ReaderResult::NotRecognised;
    }
    out.writePartsFile();
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
