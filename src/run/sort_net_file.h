#pragma once

#include "base/workspace.h"

#include <string>
#include <vector>

namespace lintora {

// sortStringRange: sorts slots lo to hi of a string array in binary order (byte by byte, the
// shorter string first), so pin U1.10 comes before U1.2. A range with lo >= hi is left as
// it is. Only mode 0 (binary) exists. Equal strings are identical, so any correct sort
// gives the same order; this one never recurses deeply, whatever the data.
void sortStringRange(std::vector<std::string>& array, long lo, long hi, int mode = 0);

// sortNetFile: reads net.tmp and appends its nets to `sortedText`, one normalised net line per
// net (pins in binary order inside the line, blanks dropped) followed by CR LF, the lines
// in binary order. Reading stops at the first empty line.
void sortNetFile(Workspace& ws, std::string& sortedText);

} // namespace lintora
