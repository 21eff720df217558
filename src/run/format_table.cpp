#include "run/format_table.h"

#include "readers/readers.h"

#include <array>

namespace lintora {

namespace {

// The run passes no separate parts file to the MM-COLMO_NEO & MM2 reader.
void mnmmcinWithoutPartsFile(Workspace& ws, const std::string& path, std::string& status) {
    mnmmcin(ws, path, std::string(), status);
}

constexpr std::array<FormatEntry, 27> kFormats{{
    {"ACCEL", &mnaccin},
    {"ALLEGRO", &mntelin},
    {"CADIX XID", &mnsfxin},
    {"CADLUS-PC(Reverse Net)", &mnclpin},
    {"CADVANCE", &mncvain},
    {"CR2000", &mncr2in},
    {"CR3000", &mncr5in},
    {"CR5000", &mncr5in},
    {"CSi", &mncsiin},
    {"D2 CAD", &mnd2cin},
    {"Expedition PCB", &mnexpin},
    {"FUTURE", &mnfutin},
    {"INTERGRA", &mnintin},
    {"MM-COLMO_NEO & MM2", &mnmmcinWithoutPartsFile},
    {"MENTOR", &mnmetin},
    {"MYPCB", &mnmypin},
    {"OHM-3", &mnsfxin},
    {"PADS2000", &mnpa2in},
    {"PADSPCB", &mnpapin},
    {"Pcad(nlt)", &mnpnlin},
    {"Pcad(wrl)", &mnpwrin},
    {"PROTEL", &mnproin},
    {"PROTEL2", &mnpr2in},
    {"SFX", &mnsfxin},
    {"TANGO", &mntanin},
    {"Telesis", &mntelin},
    {"WACOM SIMPLE NET", &mnwacin},
}};

constexpr std::array<std::string_view, 27> kDisplayOrder{
    "ACCEL",    "ALLEGRO",   "CADIX XID", "CADLUS-PC(Reverse Net)",
    "CADVANCE", "CR2000",    "CR3000",    "CR5000",
    "CSi",      "D2 CAD",    "Expedition PCB", "FUTURE",
    "INTERGRA", "MENTOR",    "MM-COLMO_NEO & MM2", "MYPCB",
    "OHM-3",    "PADS2000",  "PADSPCB",   "Pcad(wrl)",
    "Pcad(nlt)", "PROTEL",   "PROTEL2",   "SFX",
    "TANGO",    "Telesis",   "WACOM SIMPLE NET",
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
