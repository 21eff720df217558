#pragma once

// The loop shared by the two PADS netlist readers (mnpapin for PADSPCB, mnpa2in for
// PADS2000). Both dialects lay the file out the same way; they differ only in how the parts
// section treats "*PART*" and "*REMARK*".

#include "readers/reader_support.h"

#include <string>

namespace lintora {

struct PadsDialect {
    // "*PART*" starts the parts list afresh: parts gathered before it are dropped.
    bool partRestartsList = false;
    // "*REMARK*" in the parts section is a comment line.
    bool remarkIsComment = false;
};

// Reads a PADS netlist into net.tmp and parts.tmp; "good" once "*NET*" was found.
void readPadsNetlist(Workspace& ws, const std::string& path, std::string& status,
                     const PadsDialect& dialect);

} // namespace lintora
