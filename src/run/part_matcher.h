#pragma once

// Pairs side 1's parts with side 2's by connectivity. The matcher knows nothing of swap files:
// it fills partMate and netMate, and says for each pair whether its parts share pin names.

#include "run/proposal_graph.h"

#include <array>
#include <cstdint>
#include <vector>

namespace lintora::proposal {

class PartMatcher {
public:
    PartMatcher(const SideGraph& side1, const SideGraph& side2);

    // Pairs parts and nets, in this order of trust:
    //  1. nets with exactly the same pins on both sides, nets that keep most of their pins
    //     under their names, and parts that keep their reference and sit mostly on those
    //     nets (nothing to propose for them);
    //  2. parts and nets whose connectivity, refined round by round, is unique on both sides;
    //  3. parts and nets next to pairs already made, by a clear majority of their pins;
    //  4. twins (parts no connectivity tells apart) by value, footprint, then reference;
    //  5. what is left: a part keeps its reference when nothing speaks against it, else it
    //     pairs with the one part of its prefix that most of its paired nets point to.
    void run();

    // The side-2 part of side-1 part p (and the reverse); kNone when unpaired.
    Index mateOf1(Index part) const { return m_partMate[0][part]; }
    Index mateOf2(Index part) const { return m_partMate[1][part]; }
    Index netMateOf1(Index net) const { return m_netMate[0][net]; }
    // Whether side-1 part p and its mate have a pin name in common.
    bool sharesPinNames(Index part1) const { return m_sharesPinNames[part1] != 0; }
    std::size_t identicalNets() const { return m_identicalNets; }

private:
    struct Score {
        Index agree = 0;    // pins whose paired net holds a pin of the candidate
        Index disagree = 0; // pins on paired nets that do not
    };

    void pairParts(Index part1, Index part2);
    void pairNets(Index net1, Index net2);
    void pairIdenticalNets();
    void pairNetsByNamesakes();
    Index bestNetByNamesakes(int side, Index net) const;
    void pairSameReferences();
    void refineAndPairUniques();
    void computeColours();
    bool pairUniqueColours();
    void propagate();
    bool tryPairNet(int side, Index net);
    Index bestNetFor(int side, Index net) const;
    bool tryPairPart(int side, Index part, bool leftover);
    Index bestPartFor(int side, Index part, bool leftover) const;
    Score score(int side, Index part, Index candidate) const;
    bool breakTies();
    bool pairNamesakes(bool withEvidence);
    bool pairLeftovers();
    void queueNeighboursOfPart(int side, Index part);
    void queueNeighboursOfNet(int side, Index net);
    bool isHub(int side, Index net) const { return m_hub[side][net] != 0; }

    std::array<const SideGraph*, 2> m_g;
    std::array<std::vector<Index>, 2> m_partMate;
    std::array<std::vector<Index>, 2> m_netMate;
    std::array<std::vector<std::uint64_t>, 2> m_partColour;
    std::array<std::vector<std::uint64_t>, 2> m_netColour;
    std::array<std::vector<char>, 2> m_hub;
    std::array<std::vector<Index>, 2> m_namesake; // the other side's part of the same reference
    std::vector<char> m_sharesPinNames; // by side-1 part
    std::size_t m_identicalNets = 0;

    // Work of the propagation: parts and nets of either side next to a new pair.
    std::array<std::vector<Index>, 2> m_partQueue;
    std::array<std::vector<Index>, 2> m_netQueue;
    std::array<std::vector<char>, 2> m_partQueued;
    std::array<std::vector<char>, 2> m_netQueued;
};

} // namespace lintora::proposal
