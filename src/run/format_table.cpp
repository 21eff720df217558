#include "run/format_table.h"

#include "readers/readers.h"

#include <array>

namespace lintora {

namespace {

// The run passes no separate parts file to the MM-COLMO_NEO & MM2 reader.
ReaderResult readMmWithoutPartsFile(Workspace& ws, const std::string& path) {
    return readMm(ws, path, std::string());
}

constexpr std::array<FormatEntry, 32> kFormats{{
    {"ACCEL", &readAccel},
    {"ALLEGRO", &readTelesis},
    {"CADIX XID", &readSfx},
    {"CADLUS-PC(Reverse Net)", &readCadlus},
    {"CADVANCE", &readCadvance},
    {"CR2000", &readCr2000},
    {"CR3000", &readCr5000},
    {"CR5000", &readCr5000},
    {"CSi", &readCsi},
    {"D2 CAD", &readD2Cad},
    {"Expedition PCB", &readExpedition},
    {"FUTURE", &readFuture},
    {"INTERGRA", &readIntergra},
    {"MM-COLMO_NEO & MM2", &readMmWithoutPartsFile},
    {"MENTOR", &readMentor},
    {"MYPCB", &readMypcb},
    {"OHM-3", &readSfx},
    {"PADS2000", &readPads2000},
    {"PADSPCB", &readPadsPcb},
    {"Pcad(nlt)", &readPcadNlt},
    {"Pcad(wrl)", &readPcadWrl},
    {"PROTEL", &readProtel},
    {"PROTEL2", &readProtel2},
    {"SFX", &readSfx},
    {"TANGO", &readTango},
    {"Telesis", &readTelesis},
    {"WACOM SIMPLE NET", &readWacom},
    {"KiCad", &readKicad},
    {"IPC-D-356", &readIpcD356},
    {"Allegro PST", &readAllegroPst},
    {"OrCAD PCB II", &readOrcadPcb2},
    {"gEDA", &readGeda},
}};

constexpr std::array<std::string_view, 32> kDisplayOrder{
    "ACCEL",    "ALLEGRO",   "CADIX XID", "CADLUS-PC(Reverse Net)",
    "CADVANCE", "CR2000",    "CR3000",    "CR5000",
    "CSi",      "D2 CAD",    "Expedition PCB", "FUTURE",
    "INTERGRA", "MENTOR",    "MM-COLMO_NEO & MM2", "MYPCB",
    "OHM-3",    "PADS2000",  "PADSPCB",   "Pcad(wrl)",
    "Pcad(nlt)", "PROTEL",   "PROTEL2",   "SFX",
    "TANGO",    "Telesis",   "WACOM SIMPLE NET",
    "KiCad",    "IPC-D-356", "Allegro PST", "OrCAD PCB II", "gEDA",
};

} // namespace

std::span<const FormatEntry> formatTable() { return kFormats; }

ReaderFunction findReader(std::string_view name) {
    for (const auto& entry : kFormats)
        if (entry.name == name)
            return entry.reader;
    return nullptr;
}

std::span<const std::string_view> formatNamesForDisplay() { return kDisplayOrder; }

} // namespace lintora
