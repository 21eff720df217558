#include "passes/passes.h"
#include "passes/pin_rewrite.h"

#include <algorithm>

namespace lintora {

// changePinNumbers: renames side-1 pins by up to ten rules (letter prefix, pin before, pin after),
// tried in order; a later rule sees what the earlier ones made of the pin, so the rules
// 1->2 and 2->1 leave pin 1 as it was and turn pin 2 into pin 1.
void changePinNumbers(Workspace& ws, std::string_view fileName, const OptionList& options) {
    if (std::all_of(options.begin(), options.begin() + 10, [](const auto& e) { return e.empty(); }))
        return; // no rule: the file already is what the pass would write
    rewritePins(ws, fileName, [&](std::string& pin) {
        const PinParts parts = splitPin(pin);
        if (!parts.hasFullStop)
            return;
        std::string name = parts.name;
        for (std::size_t rule = 0; rule < 10; ++rule) {
            const std::string& reference = options[rule];
            // A rule without a reference changes nothing (an empty column is no rule).
            if (reference.empty() || reference != parts.prefix)
                continue;
            if (options[10 + rule] == name) {
                name = options[20 + rule];
                pin = parts.prefix + parts.rest + "." + name;
            }
        }
    });
}

} // namespace lintora
