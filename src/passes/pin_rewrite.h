#pragma once

#include "base/workspace.h"

#include <functional>
#include <string>
#include <string_view>

namespace lintora {

// A pin as the pin passes see it: of the characters before its first full stop, the
// capital letters form the letter prefix and all others the rest; the characters after it
// form the pin name. R12.2 has prefix "R", rest "12", name "2"; U1A.3 has prefix "UA",
// rest "1".
struct PinParts {
    bool hasFullStop = false;
    std::string prefix;
    std::string rest;
    std::string name;
};
PinParts splitPin(std::string_view pin);

// Rewrites every pin of a sorted net file in place through `change`, which may replace
// the pin text. Lines and pins keep their order; reading stops at the first empty line.
void rewritePins(Workspace& ws, std::string_view fileName,
                 const std::function<void(std::string& pin)>& change);

} // namespace lintora
