#include "passes/passes.h"
#include "passes/pin_rewrite.h"

#include <algorithm>

namespace lintora {

// makeNonPolar: a listed part's pins lose their pin names ("C1.2" -> "C1.*"), so it no longer
// matters which pin of a non-polar part sits on which net. An entry holding letters only
// ("C") lists every part with that letter prefix, a whole reference ("C12") that one part.
void makeNonPolar(Workspace& ws, std::string_view fileName, const OptionList& options) {
    // An empty entry lists nothing: otherwise it would equal the empty letter prefix of
    // every reference without capital letters.
    const auto listed = [&](const std::string& text) {
        return !text.empty() &&
               std::find(options.begin(), options.begin() + 11, text) != options.begin() + 11;
    };
    if (std::all_of(options.begin(), options.begin() + 11, [](const auto& e) { return e.empty(); }))
        return; // nothing listed: the file already is what the pass would write
    rewritePins(ws, fileName, [&](std::string& pin) {
        const PinParts parts = splitPin(pin);
        if (!parts.hasFullStop)
            return;
        if (partIsListed(parts, listed))
            pin = parts.prefix + parts.rest + ".*";
    });
}

} // namespace lintora
