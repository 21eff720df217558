#pragma once

// One entry function per netlist format. Each converts its input into net.tmp and
// parts.tmp in the workspace and says whether it recognised its format (see
// reader_support.h for the shared contract).

#include "readers/reader_support.h"

#include <string>

namespace lintora {

ReaderResult readAccel(Workspace& ws, const std::string& path);      // ACCEL
ReaderResult readTelesis(Workspace& ws, const std::string& path);    // Telesis, ALLEGRO
ReaderResult readSfx(Workspace& ws, const std::string& path);        // SFX, CADIX XID, OHM-3
ReaderResult readCadlus(Workspace& ws, const std::string& path);     // CADLUS-PC
ReaderResult readCadvance(Workspace& ws, const std::string& path);   // CADVANCE
ReaderResult readCr2000(Workspace& ws, const std::string& path);     // CR2000
ReaderResult readCr5000(Workspace& ws, const std::string& path);     // CR3000, CR5000
ReaderResult readCsi(Workspace& ws, const std::string& path);        // CSi
ReaderResult readD2Cad(Workspace& ws, const std::string& path);      // D2 CAD
ReaderResult readExpedition(Workspace& ws, const std::string& path); // Expedition PCB
ReaderResult readFuture(Workspace& ws, const std::string& path);     // FUTURE
ReaderResult readIntergra(Workspace& ws, const std::string& path);   // INTERGRA
// MM-COLMO_NEO & MM2: the extra argument is the path of a separate parts file; the run
// always passes an empty one.
ReaderResult readMm(Workspace& ws, const std::string& path, const std::string& partsPath);
ReaderResult readMentor(Workspace& ws, const std::string& path);   // MENTOR
ReaderResult readMypcb(Workspace& ws, const std::string& path);    // MYPCB
ReaderResult readPads2000(Workspace& ws, const std::string& path); // PADS2000
ReaderResult readPadsPcb(Workspace& ws, const std::string& path);  // PADSPCB
ReaderResult readPcadNlt(Workspace& ws, const std::string& path);  // Pcad(nlt)
ReaderResult readPcadWrl(Workspace& ws, const std::string& path);  // Pcad(wrl)
ReaderResult readProtel(Workspace& ws, const std::string& path);   // PROTEL
ReaderResult readProtel2(Workspace& ws, const std::string& path);  // PROTEL2
ReaderResult readTango(Workspace& ws, const std::string& path);    // TANGO
ReaderResult readWacom(Workspace& ws, const std::string& path);    // WACOM SIMPLE NET

// Today's CAD tools, after the 27 names of the format box.
ReaderResult readKicad(Workspace& ws, const std::string& path);      // KiCad
ReaderResult readIpcD356(Workspace& ws, const std::string& path);    // IPC-D-356
ReaderResult readAllegroPst(Workspace& ws, const std::string& path); // Allegro PST
ReaderResult readOrcadPcb2(Workspace& ws, const std::string& path);  // OrCAD PCB II
ReaderResult readGeda(Workspace& ws, const std::string& path);       // gEDA

} // namespace lintora
