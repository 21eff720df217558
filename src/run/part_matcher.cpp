#include "run/part_matcher.h"

#include "base/text_hash.h"

#include <algorithm>
#include <tuple>
#include <unordered_map>

namespace lintora::proposal {

namespace {

constexpr std::uint64_t kPartSalt = 0x5041525453414C54ULL;
constexpr std::uint64_t kNetSalt = 0x4E45545341414C54ULL;
constexpr std::uint64_t kPairedPart = 0x5041495245445054ULL;
constexpr std::uint64_t kPairedNet = 0x504149524544454EULL;
constexpr std::uint64_t kHubColour = 0x4855424855424855ULL;
constexpr std::uint64_t kPinSalt = 0x50494E4E414D4553ULL;

// Rounds of refinement without a new pair or a new split before the colours count as settled.
constexpr int kSettledRounds = 2;
constexpr int kMaxRounds = 64;
constexpr int kMostRefinements = 32;
// A net is a hub (a ground or supply) when it has more pins than this many times the average
// net: its colour stays the same on both sides until it is paired, since one moved pin on a
// ground net would otherwise set every part on it apart from its counterpart.
constexpr std::size_t kHubFactor = 4;
constexpr std::size_t kSmallestHub = 16;
// Candidates for a part come from the paired nets it sits on; a net with more unpaired pins
// than this (a ground net early on) proposes too many to weigh.
constexpr Index kMostCandidatesPerNet = 64;

std::uint64_t pairedPartColour(Index part1) { return mixBits(kPairedPart + part1); }
std::uint64_t pairedNetColour(Index net1) { return mixBits(kPairedNet + net1); }

// Whether two sorted runs of pin names have a name in common (or are both empty).
bool haveCommonName(const SideGraph& g1, Index part1, const SideGraph& g2, Index part2) {
    Index i = g1.partPinStart[part1];
    Index j = g2.partPinStart[part2];
    const Index endI = g1.partPinStart[part1 + 1];
    const Index endJ = g2.partPinStart[part2 + 1];
    if (i == endI && j == endJ)
        return true;
    while (i < endI && j < endJ) {
        const Index a = g1.pinName[g1.partPins[i]];
        const Index b = g2.pinName[g2.partPins[j]];
        if (a == b)
            return true;
        if (a < b)
            ++i;
        else
            ++j;
    }
    return false;
}

// Orders twins for pairing: by value, then footprint, then reference as a designer reads it.
bool twinLess(const SideGraph& g, Index a, Index b) {
    if (g.values[a] != g.values[b])
        return g.values[a] < g.values[b];
    if (g.footprints[a] != g.footprints[b])
        return g.footprints[a] < g.footprints[b];
    return naturalLess(g.references[a], g.references[b]);
}

// The value that occurs most often in `values` and how often; kNone when none or when two
// values share the top.
std::pair<Index, Index> mostFrequent(std::vector<Index>& values) {
    std::sort(values.begin(), values.end());
    Index best = kNone;
    Index bestCount = 0;
    bool tie = false;
    for (std::size_t i = 0; i < values.size();) {
        std::size_t j = i;
        while (j < values.size() && values[j] == values[i])
            ++j;
        const auto count = static_cast<Index>(j - i);
        if (count > bestCount) {
            best = values[i];
            bestCount = count;
            tie = false;
        } else if (count == bestCount) {
            tie = true;
        }
        i = j;
    }
    return tie ? std::pair<Index, Index>{kNone, 0} : std::pair<Index, Index>{best, bestCount};
}

} // namespace

PartMatcher::PartMatcher(const SideGraph& side1, const SideGraph& side2) : m_g{&side1, &side2} {
    std::size_t pins = 0;
    std::size_t nets = 0;
    for (int s = 0; s < 2; ++s) {
        const SideGraph& g = *m_g[s];
        m_partMate[s].assign(g.parts(), kNone);
        m_netMate[s].assign(g.nets(), kNone);
        m_partColour[s].assign(g.parts(), 0);
        m_netColour[s].assign(g.nets(), 0);
        m_partQueued[s].assign(g.parts(), 0);
        m_netQueued[s].assign(g.nets(), 0);
        pins += g.pinPart.size();
        nets += g.nets();
    }
    m_sharesPinNames.assign(side1.parts(), 0);
    for (int s = 0; s < 2; ++s) {
        const SideGraph& g = *m_g[s];
        const SideGraph& o = *m_g[1 - s];
        m_namesake[s].resize(g.parts());
        for (Index p = 0; p < g.parts(); ++p)
            m_namesake[s][p] = o.findPart(g.references[p]);
    }
    // One threshold for both sides, so that a net and its counterpart are hubs alike.
    const std::size_t average = nets == 0 ? 0 : pins / nets;
    const std::size_t hubAbove = std::max(kSmallestHub, kHubFactor * average);
    for (int s = 0; s < 2; ++s) {
        const SideGraph& g = *m_g[s];
        m_hub[s].assign(g.nets(), 0);
        for (Index n = 0; n < g.nets(); ++n)
            m_hub[s][n] = g.netSize(n) > hubAbove ? 1 : 0;
    }
}

void PartMatcher::run() {
    pairIdenticalNets();
    pairNetsByNamesakes();
    pairSameReferences();
    propagate();
    // Each pass pairs at least one part. Refinement costs a pass over every pin, so after
    // kMostRefinements passes (boards need a handful) only the cheap stages go on, which keeps
    // a pathological board from taking quadratic time; twins then pair as namesakes or stay.
    for (int pass = 0;; ++pass) {
        const bool refine = pass < kMostRefinements;
        if (refine)
            refineAndPairUniques();
        if ((refine && breakTies()) || pairNamesakes(true) || pairLeftovers() ||
            pairNamesakes(false)) {
            propagate();
            continue;
        }
        break;
    }
}

void PartMatcher::pairParts(Index part1, Index part2) {
    m_partMate[0][part1] = part2;
    m_partMate[1][part2] = part1;
    m_partColour[0][part1] = m_partColour[1][part2] = pairedPartColour(part1);
    m_sharesPinNames[part1] = haveCommonName(*m_g[0], part1, *m_g[1], part2) ? 1 : 0;
    queueNeighboursOfPart(0, part1);
    queueNeighboursOfPart(1, part2);
}

void PartMatcher::pairNets(Index net1, Index net2) {
    m_netMate[0][net1] = net2;
    m_netMate[1][net2] = net1;
    m_netColour[0][net1] = m_netColour[1][net2] = pairedNetColour(net1);
    queueNeighboursOfNet(0, net1);
    queueNeighboursOfNet(1, net2);
}

void PartMatcher::queueNeighboursOfPart(int side, Index part) {
    const SideGraph& g = *m_g[side];
    for (Index i = g.partPinStart[part]; i < g.partPinStart[part + 1]; ++i) {
        const Index net = g.pinNet[g.partPins[i]];
        if (m_netMate[side][net] == kNone && !m_netQueued[side][net]) {
            m_netQueued[side][net] = 1;
            m_netQueue[side].push_back(net);
        }
    }
}

void PartMatcher::queueNeighboursOfNet(int side, Index net) {
    const SideGraph& g = *m_g[side];
    for (Index pin = g.netPinStart[net]; pin < g.netPinStart[net + 1]; ++pin) {
        const Index part = g.pinPart[pin];
        if (m_partMate[side][part] == kNone && !m_partQueued[side][part]) {
            m_partQueued[side][part] = 1;
            m_partQueue[side].push_back(part);
        }
    }
}

// Nets with the same pins on both sides pair first: they are the anchors everything else
// is measured from.
void PartMatcher::pairIdenticalNets() {
    const SideGraph& g1 = *m_g[0];
    const SideGraph& g2 = *m_g[1];
    const auto sortedPins = [](const SideGraph& g, Index net) {
        std::vector<std::string_view> pins(g.pinTexts.begin() + g.netPinStart[net],
                                           g.pinTexts.begin() + g.netPinStart[net + 1]);
        std::sort(pins.begin(), pins.end());
        return pins;
    };
    std::unordered_multimap<std::uint64_t, Index> side2ByKey;
    side2ByKey.reserve(g2.nets());
    for (Index n = 0; n < g2.nets(); ++n)
        side2ByKey.emplace(netKeyOf(g2, n), n);
    for (Index n = 0; n < g1.nets(); ++n) {
        const auto [first, last] = side2ByKey.equal_range(netKeyOf(g1, n));
        for (auto it = first; it != last; ++it) {
            if (m_netMate[1][it->second] != kNone || g1.netSize(n) != g2.netSize(it->second))
                continue;
            if (sortedPins(g1, n) != sortedPins(g2, it->second))
                continue;
            pairNets(n, it->second);
            ++m_identicalNets;
            break;
        }
    }
}

// The side-`other` net that most pins of `net` lead to when each pin is taken to the pin of
// the same name on the part of the same reference; kNone unless it holds more than half the
// pins of both nets. Renumbering moves a minority of the parts, so a net keeps most of its
// pins under their names: supply and ground nets pair so before any part does.
Index PartMatcher::bestNetByNamesakes(int side, Index net) const {
    const int other = 1 - side;
    const SideGraph& g = *m_g[side];
    const SideGraph& o = *m_g[other];
    std::vector<Index> targets;
    for (Index pin = g.netPinStart[net]; pin < g.netPinStart[net + 1]; ++pin) {
        const Index namesake = m_namesake[side][g.pinPart[pin]];
        if (namesake == kNone)
            continue;
        const Index otherPin = o.findPin(namesake, g.pinName[pin]);
        if (otherPin != kNone && m_netMate[other][o.pinNet[otherPin]] == kNone)
            targets.push_back(o.pinNet[otherPin]);
    }
    const auto [best, votes] = mostFrequent(targets);
    if (best == kNone || 2 * votes <= std::max(g.netSize(net), o.netSize(best)))
        return kNone;
    return best;
}

void PartMatcher::pairNetsByNamesakes() {
    for (Index n1 = 0; n1 < m_g[0]->nets(); ++n1) {
        if (m_netMate[0][n1] != kNone)
            continue;
        const Index n2 = bestNetByNamesakes(0, n1);
        if (n2 != kNone && bestNetByNamesakes(1, n2) == n1)
            pairNets(n1, n2);
    }
}

// A part that keeps its reference and its value, and whose pins mostly sit on the
// counterparts of each other's nets, is that part. Its other pins may be real changes.
void PartMatcher::pairSameReferences() {
    const SideGraph& g1 = *m_g[0];
    const SideGraph& g2 = *m_g[1];
    for (Index p1 = 0; p1 < g1.parts(); ++p1) {
        const Index p2 = m_namesake[0][p1];
        if (p2 == kNone || m_partMate[1][p2] != kNone)
            continue;
        if (g1.values[p1] != g2.values[p2] || g1.footprints[p1] != g2.footprints[p2])
            continue;
        Index agree = 0;
        for (Index i = g1.partPinStart[p1]; i < g1.partPinStart[p1 + 1]; ++i) {
            const Index pin1 = g1.partPins[i];
            const Index pin2 = g2.findPin(p2, g1.pinName[pin1]);
            const Index mate = m_netMate[0][g1.pinNet[pin1]];
            if (pin2 != kNone && mate != kNone && g2.pinNet[pin2] == mate)
                ++agree;
        }
        if (2 * agree > std::max(g1.partSize(p1), g2.partSize(p2)))
            pairParts(p1, p2);
    }
}

// One round of refinement: a part's colour from the colours of its nets, a net's from the
// colours of its parts (and, for paired parts, which pin it is). Colours are built afresh
// from the pairs made, without the history of earlier colours, so a real change sets apart
// only what lies near it, and pairs made since heal what it had set apart.
void PartMatcher::computeColours() {
    std::array<std::vector<std::uint64_t>, 2> nextParts;
    std::array<std::vector<std::uint64_t>, 2> nextNets;
    for (int s = 0; s < 2; ++s) {
        const SideGraph& g = *m_g[s];
        nextParts[s] = m_partColour[s];
        nextNets[s] = m_netColour[s];
        for (Index p = 0; p < g.parts(); ++p) {
            if (m_partMate[s][p] != kNone)
                continue;
            std::uint64_t sum = 0;
            for (Index i = g.partPinStart[p]; i < g.partPinStart[p + 1]; ++i)
                sum += mixBits(m_netColour[s][g.pinNet[g.partPins[i]]]);
            nextParts[s][p] = mixBits(sum ^ (kPartSalt + g.partSize(p)));
        }
        for (Index n = 0; n < g.nets(); ++n) {
            if (m_netMate[s][n] != kNone || isHub(s, n))
                continue;
            std::uint64_t sum = 0;
            for (Index pin = g.netPinStart[n]; pin < g.netPinStart[n + 1]; ++pin) {
                const Index part = g.pinPart[pin];
                std::uint64_t element = m_partColour[s][part];
                const Index mate = m_partMate[s][part];
                const Index part1 = s == 0 ? part : mate;
                if (mate != kNone && m_sharesPinNames[part1])
                    element = mixBits(element ^ (kPinSalt + g.pinName[pin]));
                sum += mixBits(element);
            }
            nextNets[s][n] = mixBits(sum ^ (kNetSalt + g.netSize(n)));
        }
    }
    m_partColour = std::move(nextParts);
    m_netColour = std::move(nextNets);
}

// Pairs the parts and nets whose colour one element has on each side. Returns whether it
// paired any.
bool PartMatcher::pairUniqueColours() {
    struct Tally {
        Index count[2] = {0, 0};
        Index first[2] = {kNone, kNone};
    };
    bool paired = false;
    // Parts.
    {
        std::unordered_map<std::uint64_t, Tally> tallies;
        for (int s = 0; s < 2; ++s)
            for (Index p = 0; p < m_g[s]->parts(); ++p)
                if (m_partMate[s][p] == kNone) {
                    Tally& t = tallies[m_partColour[s][p]];
                    if (t.count[s]++ == 0)
                        t.first[s] = p;
                }
        std::vector<std::pair<Index, Index>> pairs;
        for (const auto& [colour, t] : tallies)
            if (t.count[0] == 1 && t.count[1] == 1)
                pairs.emplace_back(t.first[0], t.first[1]);
        std::sort(pairs.begin(), pairs.end()); // the same order on every machine
        for (const auto& [p1, p2] : pairs)
            pairParts(p1, p2);
        paired = paired || !pairs.empty();
    }
    // Nets (hubs pair only by the evidence of their pins).
    {
        std::unordered_map<std::uint64_t, Tally> tallies;
        for (int s = 0; s < 2; ++s)
            for (Index n = 0; n < m_g[s]->nets(); ++n)
                if (m_netMate[s][n] == kNone && !isHub(s, n)) {
                    Tally& t = tallies[m_netColour[s][n]];
                    if (t.count[s]++ == 0)
                        t.first[s] = n;
                }
        std::vector<std::pair<Index, Index>> pairs;
        for (const auto& [colour, t] : tallies)
            if (t.count[0] == 1 && t.count[1] == 1)
                pairs.emplace_back(t.first[0], t.first[1]);
        std::sort(pairs.begin(), pairs.end());
        for (const auto& [n1, n2] : pairs)
            pairNets(n1, n2);
        paired = paired || !pairs.empty();
    }
    return paired;
}

void PartMatcher::refineAndPairUniques() {
    // Start from what is known: pairs keep their pair colour, every other part and net is
    // known only by its number of pins, hubs by being hubs.
    for (int s = 0; s < 2; ++s) {
        const SideGraph& g = *m_g[s];
        for (Index p = 0; p < g.parts(); ++p)
            if (m_partMate[s][p] == kNone)
                m_partColour[s][p] = mixBits(kPartSalt + g.partSize(p));
        for (Index n = 0; n < g.nets(); ++n)
            if (m_netMate[s][n] == kNone)
                m_netColour[s][n] = isHub(s, n) ? kHubColour : mixBits(kNetSalt + g.netSize(n));
    }
    std::size_t previousClasses = 0;
    int settled = 0;
    for (int round = 0; round < kMaxRounds && settled < kSettledRounds; ++round) {
        computeColours();
        if (pairUniqueColours()) {
            propagate();
            settled = 0;
            continue;
        }
        std::vector<std::uint64_t> colours;
        for (int s = 0; s < 2; ++s) {
            for (Index p = 0; p < m_g[s]->parts(); ++p)
                if (m_partMate[s][p] == kNone)
                    colours.push_back(m_partColour[s][p]);
            for (Index n = 0; n < m_g[s]->nets(); ++n)
                if (m_netMate[s][n] == kNone)
                    colours.push_back(m_netColour[s][n]);
        }
        std::sort(colours.begin(), colours.end());
        const std::size_t classes =
            static_cast<std::size_t>(std::unique(colours.begin(), colours.end()) - colours.begin());
        settled = classes > previousClasses ? 0 : settled + 1;
        previousClasses = classes;
    }
}

void PartMatcher::propagate() {
    for (;;) {
        bool worked = false;
        for (int s = 0; s < 2; ++s) {
            while (!m_netQueue[s].empty()) {
                const Index net = m_netQueue[s].back();
                m_netQueue[s].pop_back();
                m_netQueued[s][net] = 0;
                if (m_netMate[s][net] == kNone)
                    tryPairNet(s, net);
                worked = true;
            }
            while (!m_partQueue[s].empty()) {
                const Index part = m_partQueue[s].back();
                m_partQueue[s].pop_back();
                m_partQueued[s][part] = 0;
                if (m_partMate[s][part] == kNone)
                    tryPairPart(s, part, false);
                worked = true;
            }
        }
        if (!worked)
            return;
    }
}

// The unpaired net of the other side that most pins of `net` lead to through paired parts,
// when it is one net and holds at least half the pins of both; kNone otherwise.
Index PartMatcher::bestNetFor(int side, Index net) const {
    const int other = 1 - side;
    const SideGraph& g = *m_g[side];
    const SideGraph& o = *m_g[other];
    std::vector<Index> targets;
    for (Index pin = g.netPinStart[net]; pin < g.netPinStart[net + 1]; ++pin) {
        const Index part = g.pinPart[pin];
        const Index mate = m_partMate[side][part];
        if (mate == kNone || !m_sharesPinNames[side == 0 ? part : mate])
            continue;
        const Index otherPin = o.findPin(mate, g.pinName[pin]);
        if (otherPin == kNone)
            continue;
        const Index target = o.pinNet[otherPin];
        if (m_netMate[other][target] == kNone)
            targets.push_back(target);
    }
    const auto [best, votes] = mostFrequent(targets);
    if (best == kNone || 2 * votes < std::max(g.netSize(net), o.netSize(best)))
        return kNone;
    return best;
}

bool PartMatcher::tryPairNet(int side, Index net) {
    const Index best = bestNetFor(side, net);
    if (best == kNone || bestNetFor(1 - side, best) != net)
        return false;
    if (side == 0)
        pairNets(net, best);
    else
        pairNets(best, net);
    return true;
}

// How well `candidate` (of the other side) fits `part`: its pins on paired nets whose
// counterpart holds a pin of the candidate agree, the others on paired nets disagree.
PartMatcher::Score PartMatcher::score(int side, Index part, Index candidate) const {
    const int other = 1 - side;
    const SideGraph& g = *m_g[side];
    const SideGraph& o = *m_g[other];
    std::vector<Index> mates;
    for (Index i = g.partPinStart[part]; i < g.partPinStart[part + 1]; ++i) {
        const Index mate = m_netMate[side][g.pinNet[g.partPins[i]]];
        if (mate != kNone)
            mates.push_back(mate);
    }
    std::vector<Index> candidateNets;
    for (Index i = o.partPinStart[candidate]; i < o.partPinStart[candidate + 1]; ++i)
        candidateNets.push_back(o.pinNet[o.partPins[i]]);
    std::sort(mates.begin(), mates.end());
    std::sort(candidateNets.begin(), candidateNets.end());
    Score result;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < mates.size() && j < candidateNets.size()) {
        if (mates[i] == candidateNets[j]) {
            ++result.agree;
            ++i;
            ++j;
        } else if (mates[i] < candidateNets[j]) {
            ++i;
        } else {
            ++j;
        }
    }
    result.disagree = static_cast<Index>(mates.size()) - result.agree;
    return result;
}

// The unpaired part of the other side that fits `part` best, when one fits clearly: more of
// its pins agree than disagree, at least half of them agree (any agreement will do for a
// leftover), and no other candidate fits as well.
Index PartMatcher::bestPartFor(int side, Index part, bool leftover) const {
    const int other = 1 - side;
    const SideGraph& g = *m_g[side];
    const SideGraph& o = *m_g[other];
    std::vector<Index> candidates;
    for (Index i = g.partPinStart[part]; i < g.partPinStart[part + 1]; ++i) {
        const Index mate = m_netMate[side][g.pinNet[g.partPins[i]]];
        if (mate == kNone)
            continue;
        std::size_t before = candidates.size();
        for (Index pin = o.netPinStart[mate]; pin < o.netPinStart[mate + 1]; ++pin) {
            const Index candidate = o.pinPart[pin];
            if (m_partMate[other][candidate] == kNone)
                candidates.push_back(candidate);
            if (candidates.size() - before > kMostCandidatesPerNet) {
                candidates.resize(before);
                break;
            }
        }
    }
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    const std::string_view prefix = referencePrefix(g.references[part]);
    Index best = kNone;
    std::tuple<Index, long, bool> bestRank;
    bool tie = false;
    for (const Index candidate : candidates) {
        const Score s = score(side, part, candidate);
        if (s.agree == 0 || s.agree < s.disagree)
            continue;
        if (s.agree == s.disagree) {
            // Even evidence (a two-pin part with one pin moved) is enough only for a
            // leftover that keeps its letter prefix: a resistor that went is no capacitor
            // that came.
            if (!leftover || referencePrefix(o.references[candidate]) != prefix)
                continue;
        }
        if (!leftover && 2 * s.agree < g.partSize(part))
            continue;
        // Between candidates with the same evidence, the one that keeps the letter prefix
        // wins: a capacitor between ground and a changed net is the capacitor there, not
        // the resistor beside it.
        const bool samePrefix = referencePrefix(o.references[candidate]) == prefix;
        const auto rank = std::make_tuple(s.agree, -static_cast<long>(s.disagree), samePrefix);
        if (best == kNone || rank > bestRank) {
            best = candidate;
            bestRank = rank;
            tie = false;
        } else if (rank == bestRank) {
            tie = true;
        }
    }
    return tie ? kNone : best;
}

bool PartMatcher::tryPairPart(int side, Index part, bool leftover) {
    const Index best = bestPartFor(side, part, leftover);
    if (best == kNone || bestPartFor(1 - side, best, leftover) != part)
        return false;
    if (side == 0)
        pairParts(part, best);
    else
        pairParts(best, part);
    return true;
}

// Twins: parts whose colours settled into classes of the same size on both sides. Every
// choice among them gives the same nets, so the choice serves the parts comparison and the
// reader: a twin pairs with the twin of its own value and footprint, its namesake first, so
// that no value merely moves between twins; then with its namesake, so that nothing needs
// proposing (one tool writes values another leaves out); the rest in order of value,
// footprint and reference.
bool PartMatcher::breakTies() {
    std::unordered_map<std::uint64_t, std::array<std::vector<Index>, 2>> classes;
    for (int s = 0; s < 2; ++s)
        for (Index p = 0; p < m_g[s]->parts(); ++p)
            if (m_partMate[s][p] == kNone)
                classes[m_partColour[s][p]][s].push_back(p);
    std::vector<std::array<std::vector<Index>, 2>> twins;
    for (auto& [colour, members] : classes)
        if (members[0].size() == members[1].size() && members[0].size() > 1)
            twins.push_back(std::move(members));
    std::sort(twins.begin(), twins.end()); // the same order on every machine
    const SideGraph& g1 = *m_g[0];
    const SideGraph& g2 = *m_g[1];
    const auto sameLabel = [&g1, &g2](Index p1, Index p2) {
        return g1.values[p1] == g2.values[p2] && g1.footprints[p1] == g2.footprints[p2];
    };
    for (const auto& members : twins) {
        const std::vector<Index>& members1 = members[0];
        const std::vector<Index>& members2 = members[1];
        const auto unpaired = [this](int side, const std::vector<Index>& members) {
            std::vector<Index> left;
            for (const Index p : members)
                if (m_partMate[side][p] == kNone)
                    left.push_back(p);
            return left;
        };
        const auto inClass2 = [&members2](Index p2) {
            return std::find(members2.begin(), members2.end(), p2) != members2.end();
        };
        // Namesakes of the same label, then any twin of the same label.
        for (const Index p1 : members1) {
            const Index p2 = m_namesake[0][p1];
            if (p2 != kNone && m_partMate[1][p2] == kNone && inClass2(p2) && sameLabel(p1, p2))
                pairParts(p1, p2);
        }
        std::vector<Index> rest2 = unpaired(1, members2);
        std::sort(rest2.begin(), rest2.end(),
                  [&g2](Index a, Index b) { return twinLess(g2, a, b); });
        std::vector<Index> rest1 = unpaired(0, members1);
        std::sort(rest1.begin(), rest1.end(),
                  [&g1](Index a, Index b) { return twinLess(g1, a, b); });
        for (const Index p1 : rest1)
            for (const Index p2 : rest2)
                if (m_partMate[1][p2] == kNone && sameLabel(p1, p2)) {
                    pairParts(p1, p2);
                    break;
                }
        // Namesakes whose labels differ.
        for (const Index p1 : unpaired(0, members1)) {
            const Index p2 = m_namesake[0][p1];
            if (p2 != kNone && m_partMate[1][p2] == kNone && inClass2(p2))
                pairParts(p1, p2);
        }
        // The rest, in order.
        rest1 = unpaired(0, rest1);
        rest2 = unpaired(1, rest2);
        for (std::size_t i = 0; i < rest1.size() && i < rest2.size(); ++i)
            pairParts(rest1[i], rest2[i]);
    }
    return !twins.empty();
}

// A part both sides have by name keeps it, unless its paired nets speak against it. With
// `withEvidence`, only parts whose paired nets speak for it; without, the namesakes with the
// most pins go first, so that a large part pairs (and its nets with it) before the small
// parts around it are judged by nothing but their names.
bool PartMatcher::pairNamesakes(bool withEvidence) {
    const SideGraph& g1 = *m_g[0];
    std::vector<std::pair<Index, Index>> namesakes;
    Index mostPins = 0;
    for (Index p1 = 0; p1 < g1.parts(); ++p1) {
        if (m_partMate[0][p1] != kNone)
            continue;
        const Index p2 = m_namesake[0][p1];
        if (p2 == kNone || m_partMate[1][p2] != kNone)
            continue;
        const Score s = score(0, p1, p2);
        if (withEvidence ? s.agree > s.disagree : s.agree >= s.disagree) {
            namesakes.emplace_back(p1, p2);
            mostPins = std::max(mostPins, g1.partSize(p1));
        }
    }
    bool paired = false;
    for (const auto& [p1, p2] : namesakes)
        if (withEvidence || g1.partSize(p1) == mostPins) {
            pairParts(p1, p2);
            paired = true;
        }
    return paired;
}

// The last parts: each pairs with the one part that its paired nets point to, when the
// choice is clear from both sides.
bool PartMatcher::pairLeftovers() {
    bool paired = false;
    for (Index p1 = 0; p1 < m_g[0]->parts(); ++p1)
        if (m_partMate[0][p1] == kNone && tryPairPart(0, p1, true))
            paired = true;
    return paired;
}

} // namespace lintora::proposal
