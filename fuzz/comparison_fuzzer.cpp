// Differential: the indexed net comparison must give exactly what the literal pin-by-pin
// comparison gives, on sorted sides built from any bytes.
#include "run/net_compare.h"
#include "support/literal_net_compare.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Bytes to two sorted sides: each byte picks a pin from a small pool, 0xFF ends a net and
// 0xFE ends side 1, so that nets share pins often.
std::vector<std::string> side(const uint8_t*& p, const uint8_t* end, unsigned& names) {
    std::vector<std::string> lines;
    std::vector<std::string> pins;
    const auto flush = [&] {
        std::sort(pins.begin(), pins.end());
        std::string line = "N" + std::to_string(names++ % 5) + "; " + std::to_string(pins.size()) + ": ";
        for (const auto& pin : pins)
            line += pin + ", ";
        lines.push_back(line);
        pins.clear();
    };
    while (p < end && *p != 0xFE) {
        if (*p == 0xFF)
            flush();
        else
            pins.push_back("U" + std::to_string(*p % 4) + "." + std::to_string((*p / 4) % 5));
        ++p;
    }
    if (!pins.empty())
        flush();
    if (p < end)
        ++p;
    std::sort(lines.begin(), lines.end());
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const long threshold = static_cast<long>(data[0] % 120) - 10;
    const uint8_t* p = data + 1;
    unsigned names = 0;
    const auto lines1 = side(p, data + size, names);
    const auto lines2 = side(p, data + size, names);

    const auto expected = lintora::test::literalCompareNets(lines1, lines2, threshold);
    // Side 1 is read from its file's text, side 2 line by line: both ways of filling the
    // tables are held against the literal comparison.
    lintora::FieldArray fields;
    std::string file1;
    for (const auto& line : lines1)
        file1 += line + "\r\n";
    const lintora::NetList side1(file1, fields, 1000000);
    lintora::NetList side2;
    for (const auto& line : lines2)
        side2.add(fields, line);
    const auto actual =
        lintora::pairSimilarNets(side1, side2, lintora::dropIdenticalNets(side1, side2), threshold);

    if (actual.differences.size() != expected.differences.size())
        std::abort();
    for (std::size_t i = 0; i < expected.differences.size(); ++i) {
        const auto& a = actual.differences[i];
        const auto& e = expected.differences[i];
        if (a.name1 != e.name1 || a.name2 != e.name2 || a.only1 != e.only1 || a.only2 != e.only2 ||
            a.shared != e.shared)
            std::abort();
    }
    if (actual.unpaired1 != expected.unpaired1 || actual.unpaired2 != expected.unpaired2)
        std::abort();
    return 0;
}
