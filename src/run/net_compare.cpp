#include "run/net_compare.h"

#include "base/net_line.h"
#include "base/text_file.h"
#include "base/text_hash.h"

#include <algorithm>
#include <array>
#include <optional>
#include <cstring>
#include <functional>

namespace lintora {

NetList::Span NetList::keep(std::string_view field) {
    const Span span{m_text.size(), field.size()};
    m_text.append(field);
    return span;
}

void NetList::addPin(Span pin) {
    m_pins.push_back(pin);
    m_pinHashes.push_back(hashText(text(pin)));
}

void NetList::add(FieldArray& scratch, std::string_view line) {
    const std::size_t written = splitNetLine(scratch, line);
    const std::size_t pins = splitPinCount(scratch, written);
    Entry entry{keep(scratch.at(0)), keep(scratch.at(1)), m_pins.size(), pins};
    for (std::size_t i = 0; i < pins; ++i)
        addPin(keep(scratch.at(i + 2)));
    m_nets.push_back(entry);
}

namespace {

// Characters that may not stand inside a field of a line as the net-line writer makes it.
constexpr std::array<bool, 256> kNotInField = [] {
    std::array<bool, 256> set{};
    for (const char c : {';', ':', ',', ' '})
        set[static_cast<unsigned char>(c)] = true;
    return set;
}();

} // namespace

// A line exactly as the net-line writer makes it, "name; count: pin, pin, " with the count
// telling the pins, splits into exactly those fields: take them where they stand. Any other
// line goes through the splitter. Returns false when the line is not of that form.
bool NetList::addWrittenLine(std::size_t begin, std::size_t end) {
    const char* s = m_text.data();
    std::size_t i = begin;
    const auto field = [&](char separator) -> std::optional<Span> {
        const std::size_t start = i;
        while (i < end && !kNotInField[static_cast<unsigned char>(s[i])])
            ++i;
        if (i + 1 >= end || s[i] != separator || s[i + 1] != ' ')
            return std::nullopt;
        const Span span{start, i - start};
        i += 2;
        return span;
    };
    const auto name = field(';');
    if (!name)
        return false;
    const auto count = field(':');
    if (!count)
        return false;
    const std::size_t firstPin = m_pins.size();
    while (i < end) {
        const auto pin = field(',');
        if (!pin) {
            m_pins.resize(firstPin);
            m_pinHashes.resize(firstPin);
            return false;
        }
        addPin(*pin);
    }
    const std::size_t pins = m_pins.size() - firstPin;
    if (leadingNumber(text(*count)) != pins) {
        m_pins.resize(firstPin);
        m_pinHashes.resize(firstPin);
        return false;
    }
    m_nets.push_back({*name, *count, firstPin, pins});
    return true;
}

NetList::NetList(std::string fileText, FieldArray& scratch, std::size_t maxNets)
    : m_text(std::move(fileText)) {
    const std::size_t size = m_text.size();
    const auto lines = static_cast<std::size_t>(std::count(m_text.begin(), m_text.end(), '\n'));
    m_nets.reserve(lines);
    m_pins.reserve(static_cast<std::size_t>(std::count(m_text.begin(), m_text.end(), ',')));
    m_pinHashes.reserve(m_pins.capacity());
    LineReader reader(std::string_view(m_text.data(), size));
    std::string_view line;
    while (reader.next(line) && !line.empty()) {
        if (m_nets.size() + 1 >= maxNets)
            throw CapacityExceeded("side table");
        const std::size_t begin = static_cast<std::size_t>(line.data() - m_text.data());
        if (addWrittenLine(begin, begin + line.size()))
            continue;
        // A line of another form is split; its fields go after the file's text, which may
        // move it: read on from the same place in the moved text.
        std::size_t next = begin + line.size();
        if (next < size && m_text[next] == '\r')
            ++next;
        if (next < size && m_text[next] == '\n')
            ++next;
        add(scratch, std::string(line));
        reader = LineReader(std::string_view(m_text.data() + next, size - next));
    }
}

std::string NetList::body(std::size_t net) const {
    std::string text(count(net));
    text += ": ";
    for (std::size_t i = 0; i < pinCount(net); ++i) {
        text += pin(net, i);
        text += ", ";
    }
    return text;
}

std::string NetList::line(std::size_t net) const {
    std::string text(name(net));
    text += "; ";
    text += body(net);
    return text;
}

namespace {


std::uint64_t bodyHash(const NetList& nets, std::size_t net) {
    std::uint64_t h = hashText(nets.count(net));
    for (std::size_t i = 0; i < nets.pinCount(net); ++i)
        h = (h ^ nets.pinHash(net, i)) * 0x100000001B3ULL + i;
    return mixBits(h);
}

bool sameBody(const NetList& a, std::size_t i, const NetList& b, std::size_t j) {
    if (a.count(i) != b.count(j) || a.pinCount(i) != b.pinCount(j))
        return false;
    for (std::size_t p = 0; p < a.pinCount(i); ++p)
        if (a.pin(i, p) != b.pin(j, p))
            return false;
    return true;
}

// An open-addressing table of entries found by a hash and an equality test.
template <typename Value>
class HashTable {
public:
    explicit HashTable(std::size_t expected) {
        std::size_t size = 64;
        while (size < 2 * expected + 2)
            size *= 2;
        m_slots.assign(size, Slot{});
    }
    // The value stored under `hash` for which `same(value)` holds; inserts `value` when none
    // does. Returns the stored value and whether it was inserted.
    template <typename Same>
    std::pair<Value, bool> findOrInsert(std::uint64_t hash, Value value, Same same) {
        if (2 * (m_used + 1) > m_slots.size())
            grow();
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& slot = m_slots[i];
            if (!slot.used) {
                slot = {hash, value, true};
                ++m_used;
                return {value, true};
            }
            if (slot.hash == hash && same(slot.value))
                return {slot.value, false};
        }
    }
    template <typename Same>
    const Value* find(std::uint64_t hash, Same same) const {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = m_slots[i];
            if (!slot.used)
                return nullptr;
            if (slot.hash == hash && same(slot.value))
                return &slot.value;
        }
    }

private:
    struct Slot {
        std::uint64_t hash = 0;
        Value value{};
        bool used = false;
    };
    void grow() {
        std::vector<Slot> old = std::move(m_slots);
        m_slots.assign(old.size() * 2, Slot{});
        const std::size_t mask = m_slots.size() - 1;
        for (const Slot& slot : old) {
            if (!slot.used)
                continue;
            std::size_t i = slot.hash & mask;
            while (m_slots[i].used)
                i = (i + 1) & mask;
            m_slots[i] = slot;
        }
    }

    std::vector<Slot> m_slots;
    std::size_t m_used = 0;
};

} // namespace

RemainingNets dropIdenticalNets(const NetList& side1, const NetList& side2) {
    // Each distinct side-2 body, with its first net.
    HashTable<std::size_t> firstWithBody(side2.size());
    std::vector<std::uint64_t> hashes2(side2.size());
    for (std::size_t b = 0; b < side2.size(); ++b) {
        hashes2[b] = bodyHash(side2, b);
        firstWithBody.findOrInsert(hashes2[b], b,
                                   [&](std::size_t other) { return sameBody(side2, other, side2, b); });
    }
    std::vector<bool> matched2(side2.size(), false);
    RemainingNets remaining;
    for (std::size_t i = 0; i < side1.size(); ++i) {
        const std::size_t* found = firstWithBody.find(
            bodyHash(side1, i), [&](std::size_t b) { return sameBody(side1, i, side2, b); });
        if (found != nullptr)
            matched2[*found] = true;
        else
            remaining.side1.push_back(i);
    }
    for (std::size_t b = 0; b < side2.size(); ++b)
        if (!matched2[b])
            remaining.side2.push_back(b);
    return remaining;
}

namespace {

using PinId = std::uint32_t;

// A pin with how often it occurs in one net.
struct PinCount {
    PinId pin;
    std::uint32_t count;
};

// The distinct pins of a net with their multiplicities, in ascending id order.
void countPins(std::vector<PinId> ids, std::vector<PinCount>& counts) {
    std::sort(ids.begin(), ids.end());
    counts.clear();
    for (const PinId id : ids) {
        if (!counts.empty() && counts.back().pin == id)
            ++counts.back().count;
        else
            counts.push_back({id, 1});
    }
}

// Of the occurrences of each pin, the first `budget` in order are shared: marks them.
// `left` is a table indexed by pin id, all zero on entry and left all zero again.
std::vector<bool> markShared(const std::vector<PinId>& ids, const std::vector<PinCount>& budget,
                             std::vector<std::uint32_t>& left) {
    for (const PinCount& pc : budget)
        left[pc.pin] = pc.count;
    std::vector<bool> shared(ids.size(), false);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (left[ids[i]] > 0) {
            --left[ids[i]];
            shared[i] = true;
        }
    }
    for (const PinCount& pc : budget)
        left[pc.pin] = 0;
    return shared;
}

} // namespace

NetComparison pairSimilarNets(const NetList& side1, const NetList& side2,
                              const RemainingNets& remaining, long threshold) {
    const std::vector<std::size_t>& nets1 = remaining.side1;
    const std::vector<std::size_t>& nets2 = remaining.side2;

    // Number the pins of the remaining side-2 nets; a side-1 pin without a number is one
    // side 2 does not have.
    struct PinKey {
        std::string_view text;
        PinId id;
    };
    HashTable<PinKey> pinIds(nets2.size() * 3);
    PinId nextId = 0;
    std::vector<std::vector<PinId>> pinIds2(nets2.size());
    for (std::size_t w = 0; w < nets2.size(); ++w) {
        const std::size_t net = nets2[w];
        pinIds2[w].reserve(side2.pinCount(net));
        for (std::size_t i = 0; i < side2.pinCount(net); ++i) {
            const std::string_view pin = side2.pin(net, i);
            const auto [key, inserted] = pinIds.findOrInsert(
                side2.pinHash(net, i), PinKey{pin, nextId}, [&](const PinKey& k) { return k.text == pin; });
            if (inserted)
                ++nextId;
            pinIds2[w].push_back(key.id);
        }
    }
    const PinId unknownPin = nextId;

    // Index side 2: pin -> the remaining side-2 nets holding it, with how often each does.
    struct Holder {
        std::uint32_t net;
        std::uint32_t count;
    };
    std::vector<std::vector<Holder>> holders(nextId);
    std::vector<PinCount> counts;
    for (std::size_t w = 0; w < nets2.size(); ++w) {
        countPins(pinIds2[w], counts);
        for (const PinCount& pc : counts)
            holders[pc.pin].push_back({static_cast<std::uint32_t>(w), pc.count});
    }

    const auto exceeds = [threshold](std::uint64_t shared, std::size_t count) {
        // shared > count * T / 100, without rounding: every product here fits the 64-bit
        // mantissa of a long double exactly.
        return static_cast<long double>(shared) * 100.0L >
               static_cast<long double>(count) * static_cast<long double>(threshold);
    };

    NetComparison result;
    std::vector<bool> paired1(nets1.size(), false);
    std::vector<bool> paired2(nets2.size(), false);
    std::vector<std::uint64_t> sharedWith(nets2.size(), 0);
    std::vector<std::uint32_t> touched;
    std::vector<PinId> idsA;
    std::vector<PinCount> countsA;
    std::vector<PinCount> countsB;
    std::vector<std::uint32_t> sharesLeft(static_cast<std::size_t>(unknownPin) + 1, 0);

    for (std::size_t l = 0; l < nets1.size(); ++l) {
        const std::size_t a = nets1[l];
        idsA.clear();
        for (std::size_t i = 0; i < side1.pinCount(a); ++i) {
            const std::string_view pin = side1.pin(a, i);
            const PinKey* key =
                pinIds.find(side1.pinHash(a, i), [&](const PinKey& k) { return k.text == pin; });
            idsA.push_back(key != nullptr ? key->id : unknownPin);
        }
        countPins(idsA, countsA);

        // Shared pins with every side-2 net that holds one of them, paired one to one.
        touched.clear();
        for (const PinCount& pc : countsA) {
            if (pc.pin == unknownPin)
                continue;
            for (const Holder& h : holders[pc.pin]) {
                if (paired2[h.net])
                    continue;
                if (sharedWith[h.net] == 0)
                    touched.push_back(h.net);
                sharedWith[h.net] += std::min(pc.count, h.count);
            }
        }
        const std::size_t count1 = leadingNumber(side1.count(a));
        std::uint32_t partner = UINT32_MAX;
        for (const std::uint32_t w : touched) {
            if (w < partner && exceeds(sharedWith[w], count1) &&
                exceeds(sharedWith[w], leadingNumber(side2.count(nets2[w]))))
                partner = w;
        }
        for (const std::uint32_t w : touched)
            sharedWith[w] = 0;
        if (partner == UINT32_MAX)
            continue;

        // Which occurrences are shared: per pin, the first min(count1, count2) in order.
        const std::size_t b = nets2[partner];
        countPins(pinIds2[partner], countsB);
        std::vector<PinCount> budget;
        std::size_t j = 0;
        for (const PinCount& pc : countsA) {
            while (j < countsB.size() && countsB[j].pin < pc.pin)
                ++j;
            if (j < countsB.size() && countsB[j].pin == pc.pin)
                budget.push_back({pc.pin, std::min(pc.count, countsB[j].count)});
        }
        const std::vector<bool> sharedA = markShared(idsA, budget, sharesLeft);
        const std::vector<bool> sharedB = markShared(pinIds2[partner], budget, sharesLeft);
        DifferenceBlock block;
        block.name1 = side1.name(a);
        block.name2 = side2.name(b);
        for (std::size_t u = 0; u < side1.pinCount(a); ++u)
            (sharedA[u] ? block.shared : block.only1).emplace_back(side1.pin(a, u));
        for (std::size_t v = 0; v < side2.pinCount(b); ++v)
            if (!sharedB[v])
                block.only2.emplace_back(side2.pin(b, v));
        if (!block.only1.empty() || !block.only2.empty())
            result.differences.push_back(std::move(block));
        paired1[l] = true;
        paired2[partner] = true;
    }

    for (std::size_t l = 0; l < nets1.size(); ++l)
        if (!paired1[l])
            result.unpaired1.push_back(side1.line(nets1[l]));
    for (std::size_t w = 0; w < nets2.size(); ++w)
        if (!paired2[w])
            result.unpaired2.push_back(side2.line(nets2[w]));
    return result;
}

} // namespace lintora
