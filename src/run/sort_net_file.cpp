#include "run/sort_net_file.h"

#include "base/net_line.h"
#include "base/text_file.h"

#include <algorithm>
#include <cstdint>

namespace lintora {

namespace {

// The first eight bytes of a string as a number that orders like the bytes do, so that most
// comparisons of a sort are one integer comparison instead of a call to compare the texts.
std::uint64_t orderKey(const std::string& s) {
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < 8; ++i)
        key = (key << 8) | (i < s.size() ? static_cast<unsigned char>(s[i]) : 0u);
    return key;
}

} // namespace

void sortStringRange(std::vector<std::string>& array, long lo, long hi, int /*mode*/) {
    if (lo < 0)
        lo = 0;
    hi = std::min<long>(hi, static_cast<long>(array.size()) - 1);
    if (lo >= hi)
        return;
    const auto count = static_cast<std::size_t>(hi - lo + 1);
    if (count < 16) {
        std::sort(array.begin() + lo, array.begin() + hi + 1);
        return;
    }
    struct Keyed {
        std::uint64_t key;
        std::string* text;
    };
    std::vector<Keyed> keyed(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string& s = array[static_cast<std::size_t>(lo) + i];
        keyed[i] = {orderKey(s), &s};
    }
    // Equal keys fall back to comparing the whole texts, so the order is exactly the
    // byte order of the texts.
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        return a.key != b.key ? a.key < b.key : *a.text < *b.text;
    });
    std::vector<std::string> sorted;
    sorted.reserve(count);
    for (const Keyed& k : keyed)
        sorted.push_back(std::move(*k.text));
    std::move(sorted.begin(), sorted.end(), array.begin() + lo);
}

void sortNetFile(Workspace& ws, std::string& sortedText) {
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
        const std::size_t written = splitNetLine(fields, line);
        const std::size_t pinCount = splitPinCount(fields, written);
        pins.resize(pinCount);
        for (std::size_t i = 0; i < pinCount; ++i)
            pins[i].swap(fields[i + 2]);
        sortStringRange(pins, 0, static_cast<long>(pinCount) - 1, 0);
        for (std::size_t i = 0; i < pinCount; ++i)
            fields[i + 2].swap(pins[i]);
        if (pinCount != leadingNumber(fields.at(1)))
            fields[1] = std::to_string(pinCount); // never take pins the line does not have
        std::string& normalised = lines.emplace_back();
        writeNetLine(fields, normalised);
    }
    sortStringRange(lines, 0, static_cast<long>(lines.size()) - 1, 0);
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
