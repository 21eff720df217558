#pragma once

// The two sides of a swap proposal as graphs of parts, pins and nets, with every name held as
// a small number: parts are numbered per side, pin names ("3", "G", "*") across both sides so
// that the same pin name has the same number on either side.

#include "base/text_hash.h"
#include "run/swap_proposal.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lintora::proposal {

using Index = std::uint32_t;
inline constexpr Index kNone = 0xFFFFFFFFu;

// Numbers for names: the first name added gets 0, the next new one 1, and so on. Open
// addressing on the one text hash, so that a million references and pins are numbered
// without a node per name.
class NameTable {
public:
    // The number of `name`, added when new.
    Index number(std::string_view name) {
        if (2 * (m_count + 1) > m_slots.size())
            grow();
        const std::uint64_t hash = hashText(name);
        std::size_t i = hash & (m_slots.size() - 1);
        for (;; i = (i + 1) & (m_slots.size() - 1)) {
            Slot& slot = m_slots[i];
            if (slot.value == kNone) {
                slot = {hash, name, m_count};
                return m_count++;
            }
            if (slot.hash == hash && slot.key == name)
                return slot.value;
        }
    }
    // The number of `name`; kNone when it was never added.
    Index find(std::string_view name) const {
        if (m_slots.empty())
            return kNone;
        const std::uint64_t hash = hashText(name);
        for (std::size_t i = hash & (m_slots.size() - 1);; i = (i + 1) & (m_slots.size() - 1)) {
            const Slot& slot = m_slots[i];
            if (slot.value == kNone)
                return kNone;
            if (slot.hash == hash && slot.key == name)
                return slot.value;
        }
    }
    Index size() const { return m_count; }

private:
    struct Slot {
        std::uint64_t hash = 0;
        std::string_view key;
        Index value = kNone;
    };
    void grow() {
        std::vector<Slot> old = std::move(m_slots);
        m_slots.assign(old.empty() ? 64 : old.size() * 2, Slot());
        for (const Slot& slot : old) {
            if (slot.value == kNone)
                continue;
            std::size_t i = slot.hash & (m_slots.size() - 1);
            while (m_slots[i].value != kNone)
                i = (i + 1) & (m_slots.size() - 1);
            m_slots[i] = slot;
        }
    }

    std::vector<Slot> m_slots;
    Index m_count = 0;
};

// Pin names and part labels carry the same number on both sides.
using NameNumbers = NameTable;

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
    NameTable partByReference; // numbers parts in the order references appear

    Index nets() const { return static_cast<Index>(netNames.size()); }
    Index parts() const { return static_cast<Index>(references.size()); }
    Index netSize(Index net) const { return netPinStart[net + 1] - netPinStart[net]; }
    Index partSize(Index part) const { return partPinStart[part + 1] - partPinStart[part]; }
    // The pin of `part` named `name`; kNone when the part has none.
    Index findPin(Index part, Index name) const;
    Index findPart(std::string_view reference) const { return partByReference.find(reference); }
};

// What identifies a net by its pins whatever their order: the pins' hashes summed, with
// the count. Equal pins give equal keys; a net's pins can be summed pin by pin.
inline std::uint64_t pinKey(std::string_view pin) { return mixBits(hashText(pin)); }
inline std::uint64_t netKey(std::uint64_t pinKeySum, std::size_t pins) {
    return mixBits(pinKeySum + pins);
}
std::uint64_t netKeyOf(const SideGraph& side, Index net);

// Builds a side from its net lines and parts lines. Views point into `side`'s texts.
SideGraph buildSideGraph(const ProposalSide& side, NameNumbers& pinNames);

// Sorts references as a designer reads them: by letter prefix, then by number, so R2 comes
// before R10.
bool naturalLess(std::string_view a, std::string_view b);
// The letters a reference starts with ("R" of "R12", "TP" of "TP3").
std::string_view referencePrefix(std::string_view reference);

} // namespace lintora::proposal
