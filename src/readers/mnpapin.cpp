// PADSPCB netlist reader (see pads_common.cpp for the layout). In this dialect "*PART*"
// starts the parts list afresh and "*REMARK*" lines are comments.

#include "readers/pads_common.h"
#include "readers/readers.h"

namespace lintora {

// mnpapin: converts a PADSPCB netlist into net.tmp and parts.tmp.
void mnpapin(Workspace& ws, const std::string& path, std::string& status) {
    PadsDialect dialect;
    dialect.partRestartsList = true;
    dialect.remarkIsComment = true;
    readPadsNetlist(ws, path, status, dialect);
}

} // namespace lintora
