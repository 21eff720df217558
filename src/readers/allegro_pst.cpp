// Allegro PST netlist reader: the pstxnet.dat that OrCAD Capture writes for Allegro, with the
// parts of the pstxprt.dat beside it.
//
//   pstxnet.dat                         pstxprt.dat
//   FILE_TYPE = EXPANDEDNETLIST;        FILE_TYPE = EXPANDEDPARTLIST;
//   NET_NAME                            PART_NAME
//   'GND'                                U1 'SN74LVC1G08_SOT23':;
//    '@DESIGN.SCHEMATIC1(SCH_1):GND':
//    C_SIGNAL='@design.schematic1(sch_1):gnd';
//   NODE_NAME	U1 3
//    '@DESIGN.SCHEMATIC1(SCH_1):INS123@LIB.AND2.NORMAL(CHIPS)':
//    'GND':;
//   END.
//
// A net is the quoted name on the line after "NET_NAME" and the "NODE_NAME" lines up to the
// next "NET_NAME" or "END."; a node line names the reference and the pin number (the quoted
// line two lines further down is the pin's name, not its number). The net "NC" collects the
// pins left unconnected on purpose and is left out. A part is the reference and the quoted
// part name on the line after "PART_NAME"; the file has no footprints.

#include "readers/readers.h"

#include <filesystem>

namespace lintora {

using namespace std::string_view_literals;

namespace {

constexpr std::string_view kLandmark = "FILE_TYPE=EXPANDEDNETLIST";
constexpr std::string_view kNetName = "NET_NAME";
constexpr std::string_view kNodeName = "NODE_NAME";
constexpr std::string_view kPartName = "PART_NAME";
constexpr std::string_view kEnd = "END.";
constexpr std::string_view kUnconnectedNet = "NC";

// The line without its blanks, to find the header however it is spaced.
bool isLandmark(std::string_view line) {
    if (line.size() > 64)
        return false;
    std::string packed;
    for (const char c : line)
        if (!isBlankOrTab(c))
            packed += c;
    return packed.starts_with(kLandmark);
}

bool isKeywordLine(std::string_view line, std::string_view keyword) {
    return line.starts_with(keyword) &&
           (line.size() == keyword.size() || isBlankOrTab(line[keyword.size()]));
}

// The text between the quotes of a quoted name ('GND'); a doubled quote stands for one.
// Text that does not start with a quote is taken up to its end.
std::string unquoted(std::string_view text) {
    text = trimBlanks(text);
    if (!text.starts_with('\''))
        return std::string(text);
    std::string name;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '\'') {
            if (i + 1 < text.size() && text[i + 1] == '\'') {
                name += '\'';
                ++i;
                continue;
            }
            break;
        }
        name += text[i];
    }
    return name;
}

// The first word of the text and the rest after the blanks that follow it.
std::pair<std::string_view, std::string_view> firstWord(std::string_view text) {
    text = trimBlanks(text);
    const std::size_t blank = text.find_first_of(" \t");
    if (blank == std::string_view::npos)
        return {text, {}};
    return {text.substr(0, blank), trimBlanks(text.substr(blank))};
}

// The parts of pstxprt.dat: "PART_NAME", then the reference and the quoted part name.
void readPartsFile(const std::filesystem::path& partsPath, ReaderOutput& out) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(partsPath, error))
        return;
    ReaderInput input(partsPath.string());
    input.upperCase();
    FieldArray& f = out.fields;
    bool partFollows = false;
    std::string_view line;
    while (input.next(line)) {
        if (isKeywordLine(line, kPartName)) {
            partFollows = true;
            continue;
        }
        if (!partFollows)
            continue;
        partFollows = false;
        const auto [reference, rest] = firstWord(line);
        if (reference.empty())
            continue;
        f[0].clear();
        f[1] = lineField(unquoted(rest), LineField::PartName);
        f[2] = lineField(reference, LineField::Reference);
        f[3].clear();
        out.addPart();
    }
}

// The parts file beside the nets file, in the case the tools write it or in capitals.
std::filesystem::path partsFileBeside(const std::filesystem::path& netsPath) {
    const std::filesystem::path lower = netsPath.parent_path() / "pstxprt.dat";
    std::error_code error;
    if (std::filesystem::exists(lower, error))
        return lower;
    return netsPath.parent_path() / "PSTXPRT.DAT";
}

} // namespace

// readAllegroPst: converts an Allegro pstxnet.dat (and the pstxprt.dat beside it) into
// net.tmp and parts.tmp; recognised by its "FILE_TYPE = EXPANDEDNETLIST" header.
ReaderResult readAllegroPst(Workspace& ws, const std::string& path) {
    ReaderInput input(path);
    input.upperCase(); // keywords, names and pins are read upper-cased
    ReaderOutput out(ws);
    out.reserveFor(input.text().size() / 4);
    FieldArray& f = out.fields;
    bool recognised = false;
    bool nameFollows = false;
    bool netOpen = false;
    bool netLeftOut = false;
    std::size_t pinCounter = 2;
    const auto finishNet = [&] {
        if (netOpen && !netLeftOut) {
            f[1] = std::to_string(pinCounter - 2);
            out.addNet();
        }
        netOpen = false;
    };

    std::string_view line;
    while (input.next(line)) {
        if (!recognised) {
            recognised = isLandmark(line);
            continue;
        }
        if (nameFollows) {
            nameFollows = false;
            const std::string name = unquoted(line);
            f[0] = lineField(name, LineField::NetName);
            netLeftOut = name == kUnconnectedNet;
            netOpen = true;
            pinCounter = 2;
        } else if (isKeywordLine(line, kNetName)) {
            finishNet();
            nameFollows = true;
        } else if (isKeywordLine(line, kNodeName)) {
            const auto [reference, rest] = firstWord(line.substr(kNodeName.size()));
            const std::string_view pin = firstWord(rest).first;
            if (netOpen && !netLeftOut && !reference.empty()) {
                std::string& slot = f[pinCounter];
                slot.clear();
                appendPin(slot, reference, pin);
                ++pinCounter;
            }
        } else if (trimBlanks(line) == kEnd) {
            break;
        }
    }
    // A file cut off before "END." still holds every pin of its last net.
    finishNet();
    if (!recognised) {
        ws.observer.hideProgress(); // not a pstxnet.dat: nothing is written
        return ReaderResult::NotRecognised;
    }
    out.writeNetFile();
    f.clear();
    readPartsFile(partsFileBeside(std::filesystem::path(path)), out);
    out.writePartsFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
