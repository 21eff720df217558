#include "run/format_table.h"

#include "readers/readers.h"

#include <algorithm>
#include <array>
#include <vector>

namespace lintora {

namespace {

// The run passes no separate parts file to the MM-COLMO_NEO & MM2 reader.
ReaderResult readMmWithoutPartsFile(Workspace& ws, const std::string& path) {
    return readMm(ws, path, std::string());
}

// Landmarks: the clues that only a file of the format holds together. Formats without a
// landmark of their own (a column layout anyone could write) are recognised only when their
// first line names them, and formats that look alike exclude each other's keywords, so that
// a file matching both is left to the user rather than guessed.
constexpr FormatEntry kFormats[] = {
    {.name = "ACCEL",
     .aliases = {"accel"},
     .reads = "ACCEL and P-CAD ASCII netlists: (compInst ...), (net \"GND\" (node \"U1\" \"7\"))",
     .reader = &readAccel,
     .landmark = {.required = {lineStarts("(NET \""), lineStarts("(NODE \"")}}},
    {.name = "ALLEGRO",
     .aliases = {"allegro"},
     .reads = "Allegro third-party netlists: $PACKAGES, $NETS (the Telesis reader)",
     .reader = &readTelesis},
    {.name = "CADIX XID",
     .aliases = {"cadix-xid", "xid"},
     .reads = "CADIX XID netlists: *PARTS, *NET, values in single quotes (the SFX reader)",
     .reader = &readSfx},
    {.name = "CADLUS-PC(Reverse Net)",
     .aliases = {"cadlus-pc", "cadlus"},
     .reads = "CADLUS-PC reverse net lists: net name from column 2, pins REF-PIN",
     .reader = &readCadlus,
     .landmark = {.required = {titleContains("CADLUS")}}},
    {.name = "CADVANCE",
     .aliases = {"cadvance"},
     .reads = "CADVANCE netlists: COMPONENTS { REF [FOOTPRINT] PART, } NETS { NAME = REF-PIN; }",
     .reader = &readCadvance,
     .landmark = {.required = {lineStarts("COMP"), lineStarts("NETS"), lineIs("{")}}},
    {.name = "CR2000",
     .aliases = {"cr2000", "cr-2000"},
     .reads = "CR-2000 net lists: a NETS heading, NAME REF-PIN, REF-PIN, ..., END",
     .reader = &readCr2000,
     .landmark = {.required = {titleContains("CR-2000"), lineIs("NETS")}}},
    {.name = "CR3000",
     .aliases = {"cr3000", "cr-3000"},
     .reads = "CR-3000 netlists: $CCF{ DEFINITION{ } NET{ NAME: REF(PIN), ...; } } (the CR5000 "
              "reader)",
     .reader = &readCr5000},
    {.name = "CR5000",
     .aliases = {"cr5000", "cr-5000"},
     .reads = "CR-5000 netlists: $CCF{ DEFINITION{ } NET{ } POWER{ } GROUND{ } }",
     .reader = &readCr5000,
     .landmark = {.required = {lineStarts("$CCF"), lineStarts("DEFINITION{")}}},
    {.name = "CSi",
     .aliases = {"csi"},
     .reads = "CSi netlists: .COM parts, .NET with :NAME { REF PIN ... }",
     .reader = &readCsi,
     .landmark = {.required = {lineStarts(".COM"), lineStarts(".NET"), lineStarts(":")}}},
    {.name = "D2 CAD",
     .aliases = {"d2cad", "d2-cad"},
     .reads = "D2 CAD netlists: $CCF{ NET{ NAME: REF(PIN), ...; } }, no parts",
     .reader = &readD2Cad,
     .landmark = {.required = {lineStarts("$CCF"), lineStarts("NET{")},
                  .excluded = {lineStarts("DEFINITION{"), lineStarts("POWER{"),
                               lineStarts("GROUND{")}}},
    {.name = "Expedition PCB",
     .aliases = {"expedition", "expedition-pcb"},
     .reads = "Expedition PCB netlists: %NET, \\NAME\\ \\REF\\-\\PIN\\, %Part",
     .reader = &readExpedition,
     .landmark = {.required = {lineStarts("%NET"), lineStarts("\\")}}},
    {.name = "FUTURE",
     .aliases = {"future", "futurenet"},
     .reads = "FutureNet pin lists: PINLIST,2, (SYM, DATA and PIN records",
     .reader = &readFuture,
     .landmark = {.required = {rawLineIs("PINLIST,2"), lineStarts("(SYM,")}}},
    {.name = "INTERGRA",
     .aliases = {"intergra"},
     .reads = "INTERGRA netlists: %PART, %NET, NAME REF-PIN ...",
     .reader = &readIntergra,
     .landmark = {.required = {lineStarts("%NET")},
                  .excluded = {lineStarts("%NETS"), lineStarts("\\")}}},
    {.name = "MM-COLMO_NEO & MM2",
     .aliases = {"mm2", "mm-colmo-neo"},
     .reads = "MM-COLMO_NEO and MM2 net lists: $NET, NAME; REF-PIN, ..., $END",
     .reader = &readMmWithoutPartsFile,
     .landmark = {.required = {lineStarts("$NET")},
                  .excluded = {lineStarts("$NETS"), lineStarts("$PACKAGES")}}},
    {.name = "MENTOR",
     .aliases = {"mentor"},
     .reads = "Mentor netlists: part lines, NET 'NAME' REF-PIN ...",
     .reader = &readMentor,
     .landmark = {.required = {lineStarts("NET '")}}},
    {.name = "MYPCB",
     .aliases = {"mypcb"},
     .reads = "MYPCB netlists: part lines, NET*, a net name line and REF.PIN lines, END*",
     .reader = &readMypcb,
     .landmark = {.required = {lineIs("NET*")}}},
    {.name = "OHM-3",
     .aliases = {"ohm-3", "ohm3"},
     .reads = "OHM-3 netlists: *PARTS, *NET, values in single quotes (the SFX reader)",
     .reader = &readSfx},
    {.name = "PADS2000",
     .aliases = {"pads2000"},
     .reads = "PADS2000 netlists: *PADS2000*, *PART*, *NET*, *SIGNAL* NAME, pin lines",
     .reader = &readPads2000,
     .landmark = {.required = {lineStarts("*NET*"), lineStarts("*SIGNAL*")},
                  .excluded = {lineStarts("!PADS-"), lineStarts("*PADS-"),
                               lineStarts("*REMARK*"), lineStarts("*CONNECTION*")}}},
    {.name = "PADSPCB",
     .aliases = {"padspcb", "pads-pcb"},
     .reads = "PADS-PCB and PowerPCB netlists: !PADS-...!, *PART*, *NET* or *CONNECTION*",
     .reader = &readPadsPcb,
     .landmark = {.required = {lineStarts("*NET*|*CONNECTION*"), lineStarts("*SIGNAL*")},
                  .excluded = {lineStarts("*PADS2000*")}}},
    {.name = "Pcad(nlt)",
     .aliases = {"pcad-nlt"},
     .reads = "P-CAD netlists: %PARTS NAME = REF, ...; %NETS NAME = REF/PIN ...;",
     .reader = &readPcadNlt,
     .landmark = {.required = {lineIs("%PARTS"), lineStarts("%NETS")}}},
    {.name = "Pcad(wrl)",
     .aliases = {"pcad-wrl"},
     .reads = "P-CAD wire lists: net name from column 3, pins REF-PIN, no parts",
     .reader = &readPcadWrl,
     .landmark = {.required = {titleContains("P-CAD"), titleContains("WIRE LIST")}}},
    {.name = "PROTEL",
     .aliases = {"protel"},
     .reads = "Protel netlists (also TinyCAD): [ component ] and ( net ) blocks, pins REF-PIN",
     .reader = &readProtel,
     .landmark = {.required = {lineIs("["), lineIs("]"), lineStarts("(")},
                  .excluded = {lineStarts("PROTEL NETLIST 2")}}},
    {.name = "PROTEL2",
     .aliases = {"protel2"},
     .reads = "Protel netlist 2.0 (also EasyEDA, gEDA/lepton): PROTEL NETLIST 2.0, DESIGNATOR",
     .reader = &readProtel2,
     .landmark = {.required = {lineStarts("PROTEL NETLIST 2"), lineIs("[")}}},
    {.name = "SFX",
     .aliases = {"sfx"},
     .reads = "SFX netlists: *PARTS, *NET, 'NAME' *, 'REF'/'PIN' (also CADIX XID, OHM-3)",
     .reader = &readSfx,
     .landmark = {.required = {lineStarts("*PARTS"), lineStarts("*NET"), lineStarts("'")}}},
    {.name = "TANGO",
     .aliases = {"tango"},
     .reads = "Tango netlists: [ component ] and ( net ) blocks, pins REF-PIN or REF,PIN",
     .reader = &readTango,
     .landmark = {.required = {lineIs("["), lineIs("]"), lineStarts("(")},
                  .excluded = {lineStarts("PROTEL NETLIST 2")}}},
    {.name = "Telesis",
     .aliases = {"telesis"},
     .reads = "Telesis netlists (also Allegro, EasyEDA, gEDA/lepton exports): $PACKAGES, $NETS",
     .reader = &readTelesis,
     .landmark = {.required = {lineStarts("$PACKAGES"), lineStarts("$NETS")}}},
    {.name = "WACOM SIMPLE NET",
     .aliases = {"wacom", "wacom-simple-net"},
     .reads = "WACOM simple net lists: NAME: REF-PIN, REF-PIN.",
     .reader = &readWacom,
     .landmark = {.required = {titleContains("WACOM")}}},
    {.name = "KiCad",
     .aliases = {"kicad"},
     .reads = "KiCad schematic netlists (.net): (export (version ...) (components) (nets))",
     .reader = &readKicad,
     .landmark = {.required = {lineStarts("(EXPORT"), lineStarts("(NETS")}}},
    {.name = "IPC-D-356",
     .aliases = {"ipc-d-356", "ipc356"},
     .reads = "IPC-D-356 and 356A bare-board test netlists: P UNITS, 317/327 records, 999",
     .reader = &readIpcD356,
     .landmark = {.required = {lineStarts("P  UNITS"), lineIs("999")}}},
    {.name = "Allegro PST",
     .aliases = {"allegro-pst", "pstxnet"},
     .reads = "Allegro PST netlists from OrCAD Capture: pstxnet.dat, pstxprt.dat beside it",
     .reader = &readAllegroPst,
     .landmark = {.required = {lineStarts("FILE_TYPE"), lineStarts("NET_NAME"),
                               lineStarts("NODE_NAME")}}},
    {.name = "OrCAD PCB II",
     .aliases = {"orcad-pcb2", "orcad-pcb-ii"},
     .reads = "OrCAD PCB II netlists (OrCAD Capture, KiCad EESchema): ( { } ( REF (pin net) ) )",
     .reader = &readOrcadPcb2,
     .landmark = {.required = {lineStarts("( {|# EESCHEMA NETLIST"), lineIs(")")},
                  .excluded = {lineStarts("(EXPORT")}}},
    {.name = "gEDA",
     .aliases = {"geda", "lepton"},
     .reads = "gEDA and lepton netlists: START components, START nets, NAME : REF PIN, REF PIN",
     .reader = &readGeda,
     .landmark = {.required = {lineIs("START NETS"), lineIs("END NETS")}}},
};

// The order of the window's format boxes.
constexpr std::array<std::string_view, 27> kClassicDisplayOrder{
    "ACCEL",    "ALLEGRO",   "CADIX XID", "CADLUS-PC(Reverse Net)",
    "CADVANCE", "CR2000",    "CR3000",    "CR5000",
    "CSi",      "D2 CAD",    "Expedition PCB", "FUTURE",
    "INTERGRA", "MENTOR",    "MM-COLMO_NEO & MM2", "MYPCB",
    "OHM-3",    "PADS2000",  "PADSPCB",   "Pcad(wrl)",
    "Pcad(nlt)", "PROTEL",   "PROTEL2",   "SFX",
    "TANGO",    "Telesis",   "WACOM SIMPLE NET",
};

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::span<const FormatEntry> formatTable() { return kFormats; }

ReaderFunction findReader(std::string_view name) {
    for (const auto& entry : kFormats)
        if (entry.name == name)
            return entry.reader;
    return nullptr;
}

const FormatEntry* findFormat(std::string_view text) {
    text = trimmed(text);
    if (text.empty())
        return nullptr;
    for (const auto& entry : kFormats) {
        if (equalsIgnoringCase(entry.name, text))
            return &entry;
        for (const std::string_view alias : entry.aliases)
            if (!alias.empty() && equalsIgnoringCase(alias, text))
                return &entry;
    }
    return nullptr;
}

std::span<const std::string_view> formatNamesForDisplay() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> list(kClassicDisplayOrder.begin(),
                                           kClassicDisplayOrder.end());
        for (const auto& entry : kFormats)
            if (std::find(list.begin(), list.end(), entry.name) == list.end())
                list.push_back(entry.name);
        return list;
    }();
    return names;
}

std::vector<const FormatEntry*> sameReaderFormats(const FormatEntry& entry) {
    std::vector<const FormatEntry*> others;
    for (const auto& other : kFormats)
        if (&other != &entry && other.reader != nullptr && other.reader == entry.reader)
            others.push_back(&other);
    return others;
}

} // namespace lintora
