#include "support/literal_net_compare.h"

#include "base/net_line.h"

namespace lintora::test {

namespace {

struct Net {
    std::string name;
    std::string body;
};

Net splitForPhaseOne(FieldArray& fields, const std::string& line) {
    const std::size_t written = splitNetLine(fields, line);
    const std::size_t count = splitPinCount(fields, written);
    Net net{fields.at(0), fields.at(1) + ": "};
    for (std::size_t i = 0; i < count; ++i)
        net.body += fields.at(i + 2) + ", ";
    return net;
}

} // namespace

LiteralComparison literalCompareNets(const std::vector<std::string>& lines1,
                                     const std::vector<std::string>& lines2, long threshold) {
    FieldArray fields;
    // Phase 1: identical nets.
    std::vector<Net> side2;
    for (const auto& line : lines2)
        side2.push_back(splitForPhaseOne(fields, line));
    std::vector<Net> side1;
    std::vector<bool> settled1;
    std::vector<bool> settled2(side2.size(), false);
    for (const auto& line : lines1) {
        side1.push_back(splitForPhaseOne(fields, line));
        bool found = false;
        for (std::size_t b = 0; b < side2.size() && !found; ++b) {
            if (side2[b].body == side1.back().body) {
                settled2[b] = true;
                found = true;
            }
        }
        settled1.push_back(found);
    }
    std::vector<std::string> remaining1;
    std::vector<std::string> remaining2;
    for (std::size_t h = 0; h < side1.size(); ++h)
        if (!settled1[h])
            remaining1.push_back(side1[h].name + "; " + side1[h].body);
    for (std::size_t h = 0; h < side2.size(); ++h)
        if (!settled2[h])
            remaining2.push_back(side2[h].name + "; " + side2[h].body);

    // Phase 2: nets with differences.
    LiteralComparison result;
    std::vector<bool> paired1(remaining1.size(), false);
    std::vector<bool> paired2(remaining2.size(), false);
    FieldArray a;
    FieldArray b;
    for (std::size_t l = 0; l < remaining1.size(); ++l) {
        const std::size_t writtenA = splitNetLine(a, remaining1[l]);
        const std::size_t count1 = splitPinCount(a, writtenA);
        for (std::size_t w = 0; w < remaining2.size(); ++w) {
            if (paired2[w])
                continue;
            const std::size_t writtenB = splitNetLine(b, remaining2[w]);
            const std::size_t count2 = splitPinCount(b, writtenB);
            std::vector<bool> sharedA(count1 + 2, false);
            std::vector<bool> sharedB(count2 + 2, false);
            std::vector<std::string> shared;
            for (std::size_t u = 2; u < count1 + 2; ++u) {
                for (std::size_t v = 2; v < count2 + 2; ++v) {
                    if (!sharedB[v] && b.at(v) == a.at(u)) {
                        shared.push_back(a.at(u));
                        sharedA[u] = true;
                        sharedB[v] = true;
                        break;
                    }
                }
            }
            if (shared.empty())
                continue;
            const double m = static_cast<double>(shared.size());
            const double limit1 = static_cast<double>(leadingNumber(a.at(1))) *
                                  static_cast<double>(threshold) / 100.0;
            const double limit2 = static_cast<double>(leadingNumber(b.at(1))) *
                                  static_cast<double>(threshold) / 100.0;
            if (!(m > limit1) || !(m > limit2))
                continue;
            DifferenceBlock block{a.at(0), b.at(0), {}, {}, shared};
            for (std::size_t u = 2; u < count1 + 2; ++u)
                if (!sharedA[u])
                    block.only1.push_back(a.at(u));
            for (std::size_t v = 2; v < count2 + 2; ++v)
                if (!sharedB[v])
                    block.only2.push_back(b.at(v));
            if (!block.only1.empty() || !block.only2.empty())
                result.differences.push_back(block);
            paired1[l] = true;
            paired2[w] = true;
            break;
        }
    }
    for (std::size_t l = 0; l < remaining1.size(); ++l)
        if (!paired1[l])
            result.unpaired1.push_back(remaining1[l]);
    for (std::size_t w = 0; w < remaining2.size(); ++w)
        if (!paired2[w])
            result.unpaired2.push_back(remaining2[w]);
    return result;
}

} // namespace lintora::test
