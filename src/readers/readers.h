#pragma once

// One entry procedure per netlist reader module. Each converts its input into net.tmp and
// parts.tmp in the workspace and leaves "good" or "bad" in the status word (see
// reader_support.h for the shared contract).

#include "readers/reader_support.h"

#include <string>

namespace lintora {

void mnaccin(Workspace& ws, const std::string& path, std::string& status); // ACCEL
void mntelin(Workspace& ws, const std::string& path, std::string& status); // Telesis, ALLEGRO
void mnsfxin(Workspace& ws, const std::string& path, std::string& status); // SFX, CADIX XID, OHM-3
void mnclpin(Workspace& ws, const std::string& path, std::string& status); // CADLUS-PC
void mncvain(Workspace& ws, const std::string& path, std::string& status); // CADVANCE
void mncr2in(Workspace& ws, const std::string& path, std::string& status); // CR2000
void mncr5in(Workspace& ws, const std::string& path, std::string& status); // CR3000, CR5000
void mncsiin(Workspace& ws, const std::string& path, std::string& status); // CSi
void mnd2cin(Workspace& ws, const std::string& path, std::string& status); // D2 CAD
void mnexpin(Workspace& ws, const std::string& path, std::string& status); // Expedition PCB
void mnfutin(Workspace& ws, const std::string& path, std::string& status); // FUTURE
void mnintin(Workspace& ws, const std::string& path, std::string& status); // INTERGRA
// MM-COLMO_NEO & MM2: the extra argument is the path of a separate parts file; the run
// always passes an empty one.
void mnmmcin(Workspace& ws, const std::string& path, const std::string& partsPath,
             std::string& status);
void mnmetin(Workspace& ws, const std::string& path, std::string& status); // MENTOR
void mnmypin(Workspace& ws, const std::string& path, std::string& status); // MYPCB
void mnpa2in(Workspace& ws, const std::string& path, std::string& status); // PADS2000
void mnpapin(Workspace& ws, const std::string& path, std::string& status); // PADSPCB
void mnpnlin(Workspace& ws, const std::string& path, std::string& status); // Pcad(nlt)
void mnpwrin(Workspace& ws, const std::string& path, std::string& status); // Pcad(wrl)
void mnproin(Workspace& ws, const std::string& path, std::string& status); // PROTEL
void mnpr2in(Workspace& ws, const std::string& path, std::string& status); // PROTEL2
void mntanin(Workspace& ws, const std::string& path, std::string& status); // TANGO
void mnwacin(Workspace& ws, const std::string& path, std::string& status); // WACOM SIMPLE NET

} // namespace lintora
