#include "base/net_line.h"
#include "base/parts_line.h"
#include "base/text_file.h"
#include "passes/passes.h"
#include "passes/pin_rewrite.h"

#include <algorithm>

namespace lintora {

namespace {

// Whether an entry of the list names the part of `parts`.
bool isListed(const IgnoreList& ignored, const PinParts& parts) {
    return partIsListed(parts, [&](const std::string& text) {
        return !text.empty() &&
               std::find(ignored.parts.begin(), ignored.parts.end(), text) != ignored.parts.end();
    });
}

bool isListedPin(const IgnoreList& ignored, std::string_view pin) {
    if (ignored.parts.empty())
        return false;
    const PinParts parts = splitPin(pin);
    return parts.hasFullStop && isListed(ignored, parts);
}

bool isListedReference(const IgnoreList& ignored, const std::string& reference) {
    return isListed(ignored, splitPin(reference + "."));
}

// The nets without the listed parts' pins, and without the nets that leaves empty (or, when
// asked, with one pin). A net the pass does not change keeps its line as it was.
void ignoreInNets(Workspace& ws, const IgnoreList& ignored) {
    const auto path = ws.file(files::net);
    const std::string text = readFileBytes(path);
    FieldArray fields(ws.limits.fieldSlots);
    std::string kept;
    kept.reserve(text.size());
    LineReader lines(text);
    std::string_view line;
    while (lines.next(line) && !line.empty()) {
        const std::size_t count = splitPinCount(fields, splitNetLine(fields, line));
        std::size_t left = 0;
        for (std::size_t i = 2; i < count + 2; ++i) {
            if (isListedPin(ignored, fields.at(i)))
                continue;
            if (left + 2 != i)
                fields[left + 2] = fields.at(i);
            ++left;
        }
        if ((left == 0 && count > 0) || (ignored.onePinNets && left == 1))
            continue;
        if (left == count) {
            kept.append(line).append("\r\n");
            continue;
        }
        fields[1] = std::to_string(left);
        appendNetLine(fields, kept);
        kept.append("\r\n");
    }
    printTextFile(path, kept);
}

void ignoreInParts(Workspace& ws, const IgnoreList& ignored) {
    const auto path = ws.file(files::parts);
    const std::string text = readFileBytes(path);
    std::string kept;
    kept.reserve(text.size());
    PartRecord part;
    LineReader lines(text);
    std::string_view line;
    while (lines.next(line) && !line.empty()) {
        splitPartsLine(part, line);
        if (!isListedReference(ignored, part.reference))
            kept.append(line).append("\r\n");
    }
    printTextFile(path, kept);
}

} // namespace

void ignoreParts(Workspace& ws, const IgnoreList& ignored) {
    if (ignored.empty())
        return; // nothing to leave out: the files already are what the pass would write
    ignoreInNets(ws, ignored);
    if (!ignored.parts.empty())
        ignoreInParts(ws, ignored);
}

} // namespace lintora
