#include "run/net_compare.h"

#include "run/net_line.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace lintora {

SplitNet splitNetLine(FieldArray& scratch, std::string_view line) {
    const std::size_t written = mts1net(scratch, line);
    const std::size_t pinCount = splitPinCount(scratch, written);
    SplitNet net;
    net.name = std::move(scratch[0]);
    net.count = std::move(scratch[1]);
    net.pins.reserve(pinCount);
    for (std::size_t i = 0; i < pinCount; ++i)
        net.pins.push_back(std::move(scratch[i + 2]));
    return net;
}

std::string netBody(const SplitNet& net) {
    std::string body = net.count;
    body += ": ";
    const std::size_t count = std::min(leadingNumber(net.count), net.pins.size());
    for (std::size_t i = 0; i < count; ++i) {
        body += net.pins[i];
        body += ", ";
    }
    return body;
}

std::string netLine(const SplitNet& net) { return net.name + "; " + netBody(net); }

void dropIdenticalNets(std::vector<SplitNet>& side1, std::vector<SplitNet>& side2) {
    // Bodies of side 2, each mapped to its first net.
    std::unordered_map<std::string, std::size_t> firstWithBody;
    firstWithBody.reserve(side2.size() * 2);
    for (std::size_t b = 0; b < side2.size(); ++b)
        firstWithBody.emplace(netBody(side2[b]), b);

    std::vector<bool> matched1(side1.size(), false);
    std::vector<bool> matched2(side2.size(), false);
    for (std::size_t i = 0; i < side1.size(); ++i) {
        const auto found = firstWithBody.find(netBody(side1[i]));
        if (found != firstWithBody.end()) {
            matched1[i] = true;
            matched2[found->second] = true;
        }
    }
    const auto keepUnmatched = [](std::vector<SplitNet>& nets, const std::vector<bool>& matched) {
        std::size_t next = 0;
        for (std::size_t i = 0; i < nets.size(); ++i)
            if (!matched[i]) {
                if (next != i)
                    nets[next] = std::move(nets[i]);
                ++next;
            }
        nets.resize(next);
    };
    keepUnmatched(side1, matched1);
    keepUnmatched(side2, matched2);
}

namespace {

using PinId = std::uint32_t;

// Gives every distinct pin text a small number, so that pins compare as integers.
class PinIds {
public:
    PinId idOf(const std::string& pin) {
        const auto [it, inserted] = m_ids.emplace(pin, static_cast<PinId>(m_ids.size()));
        return it->second;
    }
    // The id of a pin that may be unknown; size() for one never seen.
    PinId find(const std::string& pin) const {
        const auto it = m_ids.find(pin);
        return it == m_ids.end() ? static_cast<PinId>(m_ids.size()) : it->second;
    }
    std::size_t size() const { return m_ids.size(); }

private:
    std::unordered_map<std::string, PinId> m_ids;
};

// A pin with how often it occurs in one net.
struct PinCount {
    PinId pin;
    std::uint32_t count;
};

// The distinct pins of a net with their multiplicities, in ascending id order.
std::vector<PinCount> countPins(std::vector<PinId> ids) {
    std::sort(ids.begin(), ids.end());
    std::vector<PinCount> counts;
    for (const PinId id : ids) {
        if (!counts.empty() && counts.back().pin == id)
            ++counts.back().count;
        else
            counts.push_back({id, 1});
    }
    return counts;
}

// Of the occurrences of each pin, the first `budget[pin]` in order are shared; marks them.
std::vector<bool> markShared(const std::vector<PinId>& ids,
                             std::unordered_map<PinId, std::uint32_t> budget) {
    std::vector<bool> shared(ids.size(), false);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const auto it = budget.find(ids[i]);
        if (it != budget.end() && it->second > 0) {
            --it->second;
            shared[i] = true;
        }
    }
    return shared;
}

} // namespace

NetComparison pairSimilarNets(std::vector<SplitNet> side1, std::vector<SplitNet> side2,
                              long threshold) {
    // Index side 2: pin -> the side-2 nets holding it, with how often each holds it.
    PinIds ids;
    std::vector<std::vector<PinId>> pinIds2(side2.size());
    for (std::size_t w = 0; w < side2.size(); ++w) {
        pinIds2[w].reserve(side2[w].pins.size());
        for (const auto& pin : side2[w].pins)
            pinIds2[w].push_back(ids.idOf(pin));
    }
    struct Holder {
        std::uint32_t net;
        std::uint32_t count;
    };
    std::vector<std::vector<Holder>> holders(ids.size());
    for (std::size_t w = 0; w < side2.size(); ++w)
        for (const PinCount& pc : countPins(pinIds2[w]))
            holders[pc.pin].push_back({static_cast<std::uint32_t>(w), pc.count});

    const auto exceeds = [threshold](std::uint64_t shared, std::size_t count) {
        // shared > count * T / 100, without rounding: every product here fits the 64-bit
        // mantissa of a long double exactly.
        return static_cast<long double>(shared) * 100.0L >
               static_cast<long double>(count) * static_cast<long double>(threshold);
    };

    NetComparison result;
    std::vector<bool> paired1(side1.size(), false);
    std::vector<bool> paired2(side2.size(), false);
    std::vector<std::uint64_t> sharedWith(side2.size(), 0);
    std::vector<std::uint32_t> touched;

    for (std::size_t l = 0; l < side1.size(); ++l) {
        const SplitNet& a = side1[l];
        std::vector<PinId> idsA;
        idsA.reserve(a.pins.size());
        for (const auto& pin : a.pins)
            idsA.push_back(ids.find(pin));
        const std::vector<PinCount> countsA = countPins(idsA);

        // Shared pins with every side-2 net that holds one of them, paired one to one.
        touched.clear();
        for (const PinCount& pc : countsA) {
            if (pc.pin >= holders.size())
                continue; // a pin side 2 does not have
            for (const Holder& h : holders[pc.pin]) {
                if (paired2[h.net])
                    continue;
                if (sharedWith[h.net] == 0)
                    touched.push_back(h.net);
                sharedWith[h.net] += std::min(pc.count, h.count);
            }
        }
        const std::size_t count1 = leadingNumber(a.count);
        std::uint32_t partner = UINT32_MAX;
        for (const std::uint32_t w : touched) {
            if (w < partner && exceeds(sharedWith[w], count1) &&
                exceeds(sharedWith[w], leadingNumber(side2[w].count)))
                partner = w;
        }
        for (const std::uint32_t w : touched)
            sharedWith[w] = 0;
        if (partner == UINT32_MAX)
            continue;

        // Which occurrences are shared: per pin, the first min(count1, count2) in order.
        const SplitNet& b = side2[partner];
        std::unordered_map<PinId, std::uint32_t> budget;
        {
            const std::vector<PinCount> countsB = countPins(pinIds2[partner]);
            std::size_t j = 0;
            for (const PinCount& pc : countsA) {
                while (j < countsB.size() && countsB[j].pin < pc.pin)
                    ++j;
                if (j < countsB.size() && countsB[j].pin == pc.pin)
                    budget[pc.pin] = std::min(pc.count, countsB[j].count);
            }
        }
        const std::vector<bool> sharedA = markShared(idsA, budget);
        const std::vector<bool> sharedB = markShared(pinIds2[partner], budget);
        DifferenceBlock block;
        block.name1 = a.name;
        block.name2 = b.name;
        for (std::size_t u = 0; u < a.pins.size(); ++u)
            (sharedA[u] ? block.shared : block.only1).push_back(a.pins[u]);
        for (std::size_t v = 0; v < b.pins.size(); ++v)
            if (!sharedB[v])
                block.only2.push_back(b.pins[v]);
        if (!block.only1.empty() || !block.only2.empty())
            result.differences.push_back(std::move(block));
        paired1[l] = true;
        paired2[partner] = true;
    }

    for (std::size_t l = 0; l < side1.size(); ++l)
        if (!paired1[l])
            result.unpaired1.push_back(std::move(side1[l]));
    for (std::size_t w = 0; w < side2.size(); ++w)
        if (!paired2[w])
            result.unpaired2.push_back(std::move(side2[w]));
    return result;
}

} // namespace lintora
