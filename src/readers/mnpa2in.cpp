// PADS2000 netlist reader (see pads_common.cpp for the layout). In this dialect "*PART*"
// keeps what was gathered before it, and "*REMARK*" is no keyword.

#include "readers/pads_common.h"
#include "readers/readers.h"

namespace lintora {

// mnpa2in: converts a PADS2000 netlist into net.tmp and parts.tmp.
void mnpa2in(Workspace& ws, const std::string& path, std::string& status) {
    readPadsNetlist(ws, path, status, PadsDialect{});
}

} // namespace lintora
