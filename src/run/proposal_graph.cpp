#include "run/proposal_graph.h"

#include "base/parts_line.h"
#include "base/text_file.h"

#include <algorithm>

namespace lintora::proposal {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

Index SideGraph::findPin(Index part, Index name) const {
    const auto first = partPins.begin() + partPinStart[part];
    const auto last = partPins.begin() + partPinStart[part + 1];
    const auto it = std::lower_bound(first, last, name,
                                     [this](Index pin, Index n) { return pinName[pin] < n; });
    return it != last && pinName[*it] == name ? *it : kNone;
}

std::uint64_t netKeyOf(const SideGraph& side, Index net) {
    std::uint64_t sum = 0;
    for (Index pin = side.netPinStart[net]; pin < side.netPinStart[net + 1]; ++pin)
        sum += pinKey(side.pinTexts[pin]);
    return netKey(sum, side.netSize(net));
}

SideGraph buildSideGraph(const ProposalSide& side, NameNumbers& pinNames) {
    SideGraph g;
    g.netPinStart.push_back(0);
    // A net line is "NAME; COUNT: PIN, PIN, "; the pins are what the commas separate after
    // the colon. A pin is REFERENCE.PIN, split at its first full stop, as the swap pass
    // splits it; a pin without a full stop is a part of its own with an empty pin name.
    LineReader lines(side.netText);
    std::string_view line;
    while (lines.next(line) && !line.empty()) {
        const std::size_t semicolon = line.find(';');
        const std::size_t colon = line.find(':', semicolon == std::string_view::npos ? 0 : semicolon);
        if (semicolon == std::string_view::npos || colon == std::string_view::npos)
            continue;
        const Index net = g.nets();
        g.netNames.push_back(trimmed(line.substr(0, semicolon)));
        std::string_view rest = line.substr(colon + 1);
        while (!rest.empty()) {
            const std::size_t comma = rest.find(',');
            const std::string_view pin = trimmed(rest.substr(0, comma));
            rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
            if (pin.empty())
                continue;
            const std::size_t stop = pin.find('.');
            const std::string_view reference = pin.substr(0, stop);
            const std::string_view name =
                stop == std::string_view::npos ? std::string_view() : pin.substr(stop + 1);
            const Index part = g.partByReference.number(reference);
            if (part == g.references.size())
                g.references.push_back(reference);
            g.pinTexts.push_back(pin);
            g.pinPart.push_back(part);
            g.pinName.push_back(pinNames.number(name));
            g.pinNet.push_back(net);
        }
        g.netPinStart.push_back(static_cast<Index>(g.pinTexts.size()));
    }

    // Each part's pins, sorted by pin name so that findPin can search them.
    const Index parts = g.parts();
    g.partPinStart.assign(parts + 1, 0);
    for (const Index part : g.pinPart)
        ++g.partPinStart[part + 1];
    for (Index p = 0; p < parts; ++p)
        g.partPinStart[p + 1] += g.partPinStart[p];
    g.partPins.resize(g.pinPart.size());
    std::vector<Index> filled(g.partPinStart.begin(), g.partPinStart.end() - 1);
    for (Index pin = 0; pin < g.pinPart.size(); ++pin)
        g.partPins[filled[g.pinPart[pin]]++] = pin;
    for (Index p = 0; p < parts; ++p)
        std::sort(g.partPins.begin() + g.partPinStart[p], g.partPins.begin() + g.partPinStart[p + 1],
                  [&g](Index a, Index b) {
                      return g.pinName[a] != g.pinName[b] ? g.pinName[a] < g.pinName[b] : a < b;
                  });

    // Values and footprints, where the parts lines list the part.
    g.values.resize(parts);
    g.footprints.resize(parts);
    PartRecord record;
    LineReader partLines(side.partsText);
    while (partLines.next(line) && !line.empty()) {
        record = PartRecord();
        splitPartsLine(record, line);
        const Index part = g.findPart(record.reference);
        if (part != kNone && g.values[part].empty() && g.footprints[part].empty()) {
            g.values[part] = std::move(record.name);
            g.footprints[part] = std::move(record.footprint);
        }
    }
    return g;
}

std::string_view referencePrefix(std::string_view reference) {
    std::size_t end = 0;
    while (end < reference.size() && !isDigit(reference[end]))
        ++end;
    return reference.substr(0, end);
}

bool naturalLess(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            std::size_t endA = i;
            std::size_t endB = j;
            while (endA < a.size() && isDigit(a[endA]))
                ++endA;
            while (endB < b.size() && isDigit(b[endB]))
                ++endB;
            // Compare the numbers by value: without leading zeros, the longer one is larger.
            std::size_t startA = i;
            std::size_t startB = j;
            while (startA + 1 < endA && a[startA] == '0')
                ++startA;
            while (startB + 1 < endB && b[startB] == '0')
                ++startB;
            const std::string_view numberA = a.substr(startA, endA - startA);
            const std::string_view numberB = b.substr(startB, endB - startB);
            if (numberA.size() != numberB.size())
                return numberA.size() < numberB.size();
            if (numberA != numberB)
                return numberA < numberB;
            i = endA;
            j = endB;
            continue;
        }
        if (a[i] != b[j])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
        ++i;
        ++j;
    }
    if (a.size() - i != b.size() - j)
        return a.size() - i < b.size() - j;
    return a < b; // "R01" and "R1": keep a strict order
}

} // namespace lintora::proposal
