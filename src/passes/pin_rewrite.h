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

// Whether `listed` names the part of a pin, as the user lists parts (non-polar ones, or ones
// to leave out): by its letter prefix ("C", every capacitor) or by its reference ("C12").
template <typename Listed> bool partIsListed(const PinParts& parts, Listed listed) {
    return listed(parts.prefix) || listed(parts.prefix + parts.rest);
}

// Rewrites every pin of a sorted net file in place through `change`, which may replace
// the pin text. Lines and pins keep their order; reading stops at the first empty line.
void rewritePins(Workspace& ws, std::string_view fileName,
                 const std::function<void(std::string& pin)>& change);

} // namespace lintora
