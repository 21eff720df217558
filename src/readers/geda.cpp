// gEDA / lepton "geda" netlist reader.
//
//   START header
//   gEDA's netlist format
//   END header
//   START components
//   R1 device=RESISTOR
//   U1 device=74LS00
//   END components
//   START nets
//   GND : R1 2, U1 7
//   unnamed_net1 : R1 1, U1 3
//   END nets
//
// A component line is the reference and "device=" with the part name; the file has no
// footprints. A net line is the net name, " : ", then the pins as "REF PIN" separated by ",".
// Only the "nets" section makes nets: the "no-connect nets" section lists pins left
// unconnected on purpose.

#include "readers/readers.h"

namespace lintora {

using namespace std::string_view_literals;

namespace {

constexpr std::string_view kComponentsStart = "START COMPONENTS";
constexpr std::string_view kNetsStart = "START NETS";
constexpr std::string_view kComponentsEnd = "END COMPONENTS";
constexpr std::string_view kNetsEnd = "END NETS";
constexpr std::string_view kDevice = "DEVICE=";
constexpr std::string_view kNameEnd = " : ";

enum class Section { Other, Components, Nets };

// "R1 device=RESISTOR": one parts line.
void readComponent(std::string_view line, ReaderOutput& out) {
    line = trimBlanks(line);
    const std::size_t blank = line.find_first_of(" \t");
    if (line.empty() || blank == std::string_view::npos)
        return;
    const std::string_view attributes = trimBlanks(line.substr(blank));
    FieldArray& f = out.fields;
    f[0].clear();
    f[1] = attributes.starts_with(kDevice)
               ? lineField(attributes.substr(kDevice.size()), LineField::PartName)
               : std::string();
    f[2] = lineField(line.substr(0, blank), LineField::Reference);
    f[3].clear();
    out.addPart();
}

// "GND : R1 2, U1 7": one net line.
void readNet(std::string_view line, ReaderOutput& out) {
    const std::size_t nameEnd = line.find(kNameEnd);
    if (nameEnd == std::string_view::npos)
        return;
    FieldArray& f = out.fields;
    f[0] = lineField(trimBlanks(line.substr(0, nameEnd)), LineField::NetName);
    std::size_t pinCounter = 2;
    std::string_view pins = line.substr(nameEnd + kNameEnd.size());
    while (!pins.empty()) {
        const std::size_t comma = pins.find(',');
        const std::string_view entry = trimBlanks(pins.substr(0, comma));
        pins = comma == std::string_view::npos ? std::string_view() : pins.substr(comma + 1);
        const std::size_t blank = entry.find_first_of(" \t");
        if (blank == std::string_view::npos)
            continue; // a reference without a pin
        std::string& pin = f[pinCounter];
        pin.clear();
        appendPin(pin, entry.substr(0, blank), trimBlanks(entry.substr(blank)));
        ++pinCounter;
    }
    f[1] = std::to_string(pinCounter - 2);
    out.addNet();
}

} // namespace

// readGeda: converts a gEDA netlist into net.tmp and parts.tmp; recognised by its
// "START nets" line.
ReaderResult readGeda(Workspace& ws, const std::string& path) {
    ReaderInput input(path);
    input.upperCase(); // keywords, names and pins are read upper-cased
    ReaderOutput out(ws);
    out.reserveFor(input.text().size());
    Section section = Section::Other;
    bool recognised = false;
    std::string_view line;
    while (input.next(line)) {
        const std::string_view trimmed = trimBlanks(line);
        if (trimmed == kComponentsStart) {
            section = Section::Components;
        } else if (trimmed == kNetsStart) {
            section = Section::Nets;
            recognised = true;
        } else if (trimmed == kComponentsEnd || trimmed == kNetsEnd) {
            section = Section::Other;
        } else if (section == Section::Components) {
            readComponent(trimmed, out);
        } else if (section == Section::Nets) {
            readNet(line, out);
        }
    }
    if (!recognised) {
        ws.observer.hideProgress(); // not a gEDA netlist: nothing is written
        return ReaderResult::NotRecognised;
    }
    out.writePartsFile();
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
