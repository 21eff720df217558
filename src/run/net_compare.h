#pragma once

#include "base/field_array.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lintora {

// One side's nets as the comparison holds them: the text of all of them in one buffer, each
// net as its name, its count and its pins. A million nets take two allocations, not millions.
class NetList {
public:
    NetList() = default;
    // The nets of a sorted net file's text, up to its first empty line; the list keeps the
    // text and points into it. Throws CapacityExceeded beyond `maxNets` nets.
    NetList(std::string fileText, FieldArray& scratch, std::size_t maxNets);

    // Splits a net line with the net-line splitter (blanks dropped) and keeps the net, with
    // as many pins as the count says but never one the line does not have.
    void add(FieldArray& scratch, std::string_view line);

    std::size_t size() const { return m_nets.size(); }
    std::string_view name(std::size_t net) const { return text(m_nets[net].name); }
    std::string_view count(std::size_t net) const { return text(m_nets[net].count); }
    std::size_t pinCount(std::size_t net) const { return m_nets[net].pins; }
    std::string_view pin(std::size_t net, std::size_t i) const {
        return text(m_pins[m_nets[net].firstPin + i]);
    }
    // A hash of the pin's text, made once when the net was added.
    std::uint64_t pinHash(std::size_t net, std::size_t i) const {
        return m_pinHashes[m_nets[net].firstPin + i];
    }
    // "name; count: pin, pin, ": the net line again.
    std::string line(std::size_t net) const;
    // "count: pin, pin, ": two nets with equal bodies have the same pins (both sides sorted).
    std::string body(std::size_t net) const;

private:
    struct Span {
        std::size_t offset;
        std::size_t length;
    };
    struct Entry {
        Span name;
        Span count;
        std::size_t firstPin;
        std::size_t pins;
    };
    std::string_view text(Span span) const { return {m_text.data() + span.offset, span.length}; }
    Span keep(std::string_view field);
    void addPin(Span pin);
    bool addWrittenLine(std::size_t begin, std::size_t end);

    std::string m_text; // the file's text, and after it what lines in another form needed
    std::vector<Span> m_pins;
    std::vector<std::uint64_t> m_pinHashes;
    std::vector<Entry> m_nets;
};

// A side-1 net and a side-2 net reported as one net with differences.
struct DifferenceBlock {
    std::string name1;
    std::string name2;
    std::vector<std::string> only1;  // pins only the side-1 net has, in its order
    std::vector<std::string> only2;  // pins only the side-2 net has
    std::vector<std::string> shared; // pins both have, in side-1 order
};

struct NetComparison {
    std::vector<DifferenceBlock> differences; // in side-1 order
    std::vector<std::string> unpaired1;       // net lines of side 1 missing on side 2
    std::vector<std::string> unpaired2;       // net lines of side 2 missing on side 1

    bool identical() const {
        return differences.empty() && unpaired1.empty() && unpaired2.empty();
    }
};

// The nets of each side, by index, that phase 1 left.
struct RemainingNets {
    std::vector<std::size_t> side1;
    std::vector<std::size_t> side2;
};

// Phase 1: drops every net that has a net with the same pins on the other side, whatever
// the names. A side-1 net takes the first side-2 net with its pins, whether or not that one
// was taken already, so two equal side-1 nets both match one side-2 net. The nets left keep
// their order.
RemainingNets dropIdenticalNets(const NetList& side1, const NetList& side2);

// Phase 2: pairs each remaining side-1 net, in order, with the first remaining side-2 net
// (in order) that shares more than `threshold` percent of the pins of each; pins pair one
// to one. Paired nets with different pins become difference blocks; the rest are unpaired.
// The cost follows the pins the nets share, not the product of the two sides.
NetComparison pairSimilarNets(const NetList& side1, const NetList& side2,
                              const RemainingNets& remaining, long threshold);

} // namespace lintora
