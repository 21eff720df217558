#pragma once

#include "run/field_array.h"

#include <string>
#include <string_view>
#include <vector>

namespace lintora {

// One net of a sorted net file, split into its fields.
struct SplitNet {
    std::string name;
    std::string count; // the count as written; its value is the number of pins
    std::vector<std::string> pins;
};

// Splits one net line (blanks dropped) with the net-line splitter.
SplitNet splitNetLine(FieldArray& scratch, std::string_view line);

// "count: pin, pin, " - the net line without its name: two nets with the same pins have
// equal bodies once both files are sorted.
std::string netBody(const SplitNet& net);
// The whole net line: "name; count: pin, pin, ".
std::string netLine(const SplitNet& net);

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
    std::vector<SplitNet> unpaired1;          // side-1 nets missing on side 2
    std::vector<SplitNet> unpaired2;          // side-2 nets missing on side 1

    bool identical() const {
        return differences.empty() && unpaired1.empty() && unpaired2.empty();
    }
};

// Phase 1: drops every net that has a net with the same pins on the other side, whatever
// the names. A side-1 net takes the first side-2 net with its pins, whether or not that one
// was taken already, so two equal side-1 nets both match one side-2 net. The nets left
// keep their order.
void dropIdenticalNets(std::vector<SplitNet>& side1, std::vector<SplitNet>& side2);

// Phase 2: pairs each remaining side-1 net, in order, with the first remaining side-2 net
// (in order) that shares more than `threshold` percent of the pins of each; pins pair one
// to one. Paired nets with different pins become difference blocks; the rest are unpaired.
// The cost follows the pins the nets share, not the product of the two sides.
NetComparison pairSimilarNets(std::vector<SplitNet> side1, std::vector<SplitNet> side2,
                              long threshold);

} // namespace lintora
