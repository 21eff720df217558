#pragma once

// The two sides of a swap proposal as graphs of parts, pins and nets, with every name held as
// a small number: parts are numbered per side, pin names ("3", "G", "*") across both sides so
// that the same pin name has the same number on either side.

#include "run/swap_proposal.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lintora::proposal {

using Index = std::uint32_t;
inline constexpr Index kNone = 0xFFFFFFFFu;

// Names that both sides share a number for: pin names and part labels (value, footprint).
class NameNumbers {
public:
    Index number(std::string_view name) {
        const auto [it, added] = m_numbers.try_emplace(name, static_cast<Index>(m_numbers.size()));
        return it->second;
    }

private:
    std::unordered_map<std::string_view, Index> m_numbers;
};

// One side. Pins are numbered in net order, so a net's pins are the range
// netPinStart[n] .. netPinStart[n + 1]; a part's pins are listed in partPins, sorted by pin
// name, from partPinStart[p].
struct SideGraph {
    std::vector<std::string_view> netNames;
    std::vector<Index> netPinStart;

    std::vector<std::string_view> pinTexts; // "U1.3"
    std::vector<Index> pinPart;
    std::vector<Index> pinName;             // number of "3"
    std::vector<Index> pinNet;

    std::vector<std::string_view> references;
    std::vector<Index> partPinStart;
    std::vector<Index> partPins;
    std::vector<std::string> values;     // from the parts lines; empty when not listed
    std::vector<std::string> footprints;
    std::unordered_map<std::string_view, Index> partByReference;

    Index nets() const { return static_cast<Index>(netNames.size()); }
    Index parts() const { return static_cast<Index>(references.size()); }
    Index netSize(Index net) const { return netPinStart[net + 1] - netPinStart[net]; }
    Index partSize(Index part) const { return partPinStart[part + 1] - partPinStart[part]; }
    // The pin of `part` named `name`; kNone when the part has none.
    Index findPin(Index part, Index name) const;
    Index findPart(std::string_view reference) const {
        const auto it = partByReference.find(reference);
        return it == partByReference.end() ? kNone : it->second;
    }
};

// Builds a side from its net lines and parts lines. Views point into `side`'s texts.
SideGraph buildSideGraph(const ProposalSide& side, NameNumbers& pinNames);

// Sorts references as a designer reads them: by letter prefix, then by number, so R2 comes
// before R10.
bool naturalLess(std::string_view a, std::string_view b);
// The letters a reference starts with ("R" of "R12", "TP" of "TP3").
std::string_view referencePrefix(std::string_view reference);

} // namespace lintora::proposal
