#include "run/net_sort.h"

#include "run/net_line.h"
#include "run/text_file.h"

#include <algorithm>

namespace lintora {

void modStrSort(std::vector<std::string>& array, long lo, long hi, int /*mode*/) {
    if (lo >= hi || lo < 0)
        return;
    const auto first = array.begin() + lo;
    const auto last = array.begin() + std::min<long>(hi, static_cast<long>(array.size()) - 1) + 1;
    std::sort(first, last);
}

void mtssort(Workspace& ws, std::string& sortedText) {
    const std::string text = readFileBytes(ws.file(files::net));
    FieldArray fields(ws.limits.fieldSlots);
    std::vector<std::string> lines;
    std::vector<std::string> pins;
    LineReader reader(text);
    std::string_view line;
    while (reader.next(line)) {
        if (line.empty())
            break; // the empty line that ends every written file ends the data
        if (lines.size() + 1 >= ws.limits.sideSlots)
            throw CapacityExceeded("nets of a side");
        const std::size_t written = mts1net(fields, line);
        const std::size_t pinCount = splitPinCount(fields, written);
        pins.resize(pinCount);
        for (std::size_t i = 0; i < pinCount; ++i)
            pins[i].swap(fields[i + 2]);
        modStrSort(pins, 0, static_cast<long>(pinCount) - 1, 0);
        for (std::size_t i = 0; i < pinCount; ++i)
            fields[i + 2].swap(pins[i]);
        if (pinCount != leadingNumber(fields.at(1)))
            fields[1] = std::to_string(pinCount); // never take pins the line does not have
        std::string& normalised = lines.emplace_back();
        mntsout(fields, normalised);
    }
    modStrSort(lines, 0, static_cast<long>(lines.size()) - 1, 0);
    std::size_t size = 0;
    for (const auto& l : lines)
        size += l.size() + 2;
    sortedText.reserve(sortedText.size() + size);
    for (const auto& l : lines) {
        sortedText += l;
        sortedText += "\r\n";
    }
}

} // namespace lintora
