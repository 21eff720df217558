#include "passes/pin_rewrite.h"

#include "base/net_line.h"
#include "base/text_file.h"

namespace lintora {

PinParts splitPin(std::string_view pin) {
    PinParts parts;
    const std::size_t stop = pin.find('.');
    if (stop == std::string_view::npos)
        return parts;
    parts.hasFullStop = true;
    for (std::size_t i = 0; i < stop; ++i) {
        const char c = pin[i];
        (c >= 'A' && c <= 'Z' ? parts.prefix : parts.rest) += c;
    }
    parts.name = pin.substr(stop + 1);
    return parts;
}

void rewritePins(Workspace& ws, std::string_view fileName,
                 const std::function<void(std::string& pin)>& change) {
    const auto path = ws.file(fileName);
    const std::string text = readFileBytes(path);
    FieldArray fields(ws.limits.fieldSlots);
    std::string rewritten;
    rewritten.reserve(text.size() + text.size() / 8);
    LineReader lines(text);
    std::string_view line;
    while (lines.next(line) && !line.empty()) {
        const std::size_t written = splitNetLine(fields, line);
        const std::size_t count = splitPinCount(fields, written);
        rewritten += fields.at(0);
        rewritten += "; ";
        rewritten += count == leadingNumber(fields.at(1)) ? fields.at(1) : std::to_string(count);
        rewritten += ": ";
        for (std::size_t i = 2; i < count + 2; ++i) {
            change(fields[i]);
            rewritten += fields.at(i);
            rewritten += ", ";
        }
        rewritten += "\r\n";
    }
    printTextFile(path, rewritten);
}

} // namespace lintora
