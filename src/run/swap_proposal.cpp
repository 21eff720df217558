// From pairs of parts to the swap file's pairs: which references and pins to rename, which
// pairs cannot be proposed, and how many nets each pair makes match.

#include "run/swap_proposal.h"

#include "run/part_matcher.h"
#include "run/proposal_graph.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace lintora {

namespace {

using proposal::Index;
using proposal::kNone;
using proposal::naturalLess;
using proposal::PartMatcher;
using proposal::SideGraph;

// The reference a swap pair's new name gives its pins: what stands before its first full stop.
std::string_view referenceOf(std::string_view name) { return name.substr(0, name.find('.')); }

// A side-1 pin's new name under the proposal.
struct PinRename {
    Index pin1;
    Index pin2;
};

class ProposalBuilder {
public:
    ProposalBuilder(const SideGraph& g1, const SideGraph& g2, const PartMatcher& matcher,
                    SwapProposal& proposal)
        : m_g1(g1), m_g2(g2), m_matcher(matcher), m_proposal(proposal),
          m_renamedTo(g1.parts(), kNone), m_reason(g1.parts(), kNoReason),
          m_pinTarget(g1.pinPart.size(), kNone) {}

    void build() {
        takePairs();
        dropNamesMadeByUser();
        dropTakenNames();
        renamePins();
        countEvidence();
        writePairs();
        listUnpaired();
    }

private:
    static constexpr int kNoReason = -1;

    // Pairs that rename a reference, and the pin names to carry over.
    void takePairs() {
        for (Index p1 = 0; p1 < m_g1.parts(); ++p1) {
            const Index p2 = m_matcher.mateOf1(p1);
            if (p2 == kNone)
                continue;
            if (m_g1.references[p1] == m_g2.references[p2])
                ++m_proposal.partsPairedAsThemselves;
            m_renamedTo[p1] = p2;
        }
    }

    // The user's pairs are taken as given: a name the user's file made is not renamed again,
    // since the swap pass renames each pin once, by the file's first pair that names it.
    void dropNamesMadeByUser() {
        std::unordered_set<std::string_view> madeByUser;
        for (const SwapPair& pair : m_proposal.userPairs)
            madeByUser.insert(referenceOf(pair.newName));
        for (Index p1 = 0; p1 < m_g1.parts(); ++p1) {
            const Index p2 = m_renamedTo[p1];
            if (p2 != kNone && m_g1.references[p1] != m_g2.references[p2] &&
                madeByUser.count(m_g1.references[p1]) != 0) {
                m_renamedTo[p1] = kNone;
                m_reason[p1] = static_cast<int>(NotProposedReason::RenamedByUser);
            }
        }
    }

    // A part renamed to a reference that a side-1 part keeps would merge two parts: such a
    // pair is undone, which may leave its own old name kept, and so on along a chain of renames.
    void dropTakenNames() {
        std::vector<Index> claimant(m_g1.parts(), kNone); // side-1 part -> the part renamed to its name
        for (Index p1 = 0; p1 < m_g1.parts(); ++p1) {
            const Index p2 = m_renamedTo[p1];
            if (p2 == kNone || m_g1.references[p1] == m_g2.references[p2])
                continue;
            const Index holder = m_g1.findPart(m_g2.references[p2]);
            if (holder != kNone)
                claimant[holder] = p1;
        }
        std::vector<Index> kept; // names that stay, with a part renamed onto them
        for (Index holder = 0; holder < m_g1.parts(); ++holder)
            if (claimant[holder] != kNone && m_renamedTo[holder] == kNone)
                kept.push_back(holder);
        while (!kept.empty()) {
            const Index holder = kept.back();
            kept.pop_back();
            const Index p1 = claimant[holder];
            if (m_renamedTo[p1] == kNone)
                continue;
            m_partner.emplace(p1, m_renamedTo[p1]);
            m_renamedTo[p1] = kNone;
            m_reason[p1] = static_cast<int>(NotProposedReason::NameTaken);
            if (claimant[p1] != kNone)
                kept.push_back(p1);
        }
    }

    // Pin names change only where a part and its partner have no pin name in common (G/S/D
    // against 1/2/3): each pin takes the partner's pin on the counterpart of its net. Pin
    // names both have are never renamed, so two swapped pins stay a difference to see.
    void renamePins() {
        for (Index p1 = 0; p1 < m_g1.parts(); ++p1) {
            const Index p2 = m_renamedTo[p1];
            if (p2 == kNone)
                continue;
            const auto [namesOnlyIn1, namesOnlyIn2] = unsharedPinNames(p1, p2);
            // A pin that only one side names is a pin connected or left open: a change to
            // report, not a renaming.
            if (!namesOnlyIn1 || !namesOnlyIn2)
                continue;
            if (m_matcher.sharesPinNames(p1)) {
                // Renumbered pins (1/2/3 against 2/3/4) leave most pins on other nets than
                // their namesakes; a pin or two moved leave most where they were.
                if (!mostPinsKeepTheirNets(p1, p2)) {
                    m_reason[p1] = static_cast<int>(NotProposedReason::PinNames);
                    m_partner.emplace(p1, p2);
                }
                continue;
            }
            std::vector<char> taken(m_g2.partSize(p2), 0);
            for (Index i = m_g1.partPinStart[p1]; i < m_g1.partPinStart[p1 + 1]; ++i) {
                const Index pin1 = m_g1.partPins[i];
                const Index net2 = m_matcher.netMateOf1(m_g1.pinNet[pin1]);
                if (net2 == kNone)
                    continue;
                // Pins on one net (the three source pins of a MOSFET) pair in pin order.
                for (Index j = m_g2.partPinStart[p2]; j < m_g2.partPinStart[p2 + 1]; ++j) {
                    const Index pin2 = m_g2.partPins[j];
                    if (!taken[j - m_g2.partPinStart[p2]] && m_g2.pinNet[pin2] == net2) {
                        taken[j - m_g2.partPinStart[p2]] = 1;
                        m_pinTarget[pin1] = pin2;
                        break;
                    }
                }
            }
        }
    }

    bool mostPinsKeepTheirNets(Index p1, Index p2) const {
        Index kept = 0;
        for (Index i = m_g1.partPinStart[p1]; i < m_g1.partPinStart[p1 + 1]; ++i) {
            const Index pin1 = m_g1.partPins[i];
            const Index pin2 = m_g2.findPin(p2, m_g1.pinName[pin1]);
            if (pin2 != kNone && m_matcher.netMateOf1(m_g1.pinNet[pin1]) == m_g2.pinNet[pin2])
                ++kept;
        }
        return 2 * kept >= m_g1.partSize(p1);
    }

    // Whether p1 has a pin name p2 lacks, and whether p2 has one p1 lacks.
    std::pair<bool, bool> unsharedPinNames(Index p1, Index p2) const {
        bool onlyIn1 = false;
        bool onlyIn2 = false;
        Index i = m_g1.partPinStart[p1];
        Index j = m_g2.partPinStart[p2];
        const Index end1 = m_g1.partPinStart[p1 + 1];
        const Index end2 = m_g2.partPinStart[p2 + 1];
        while (i < end1 || j < end2) {
            const Index a = i < end1 ? m_g1.pinName[m_g1.partPins[i]] : kNone;
            const Index b = j < end2 ? m_g2.pinName[m_g2.partPins[j]] : kNone;
            if (a == b) {
                ++i;
                ++j;
            } else if (a < b) {
                onlyIn1 = true;
                ++i;
            } else {
                onlyIn2 = true;
                ++j;
            }
        }
        return {onlyIn1, onlyIn2};
    }

    // Side 1 with the proposal applied, net by net, against side 2: which side-1 nets then
    // equal a side-2 net, and so how many nets each pair makes match.
    void countEvidence() {
        std::unordered_map<std::uint64_t, Index> side2Keys;
        side2Keys.reserve(m_g2.nets());
        for (Index n = 0; n < m_g2.nets(); ++n)
            ++side2Keys[proposal::netKeyOf(m_g2, n)];
        m_partNets.assign(m_g1.parts(), 0);
        m_pinNets.assign(m_g1.pinPart.size(), 0);
        std::vector<Index> lastNet(m_g1.parts(), kNone);
        std::string renamed;
        for (Index n = 0; n < m_g1.nets(); ++n) {
            std::uint64_t sum = 0;
            for (Index pin = m_g1.netPinStart[n]; pin < m_g1.netPinStart[n + 1]; ++pin)
                sum += proposal::pinKey(newPinText(pin, renamed));
            const auto it = side2Keys.find(proposal::netKey(sum, m_g1.netSize(n)));
            if (it == side2Keys.end() || it->second == 0)
                continue;
            --it->second;
            ++m_proposal.netsMatchingAfter;
            for (Index pin = m_g1.netPinStart[n]; pin < m_g1.netPinStart[n + 1]; ++pin) {
                const Index part = m_g1.pinPart[pin];
                ++m_pinNets[pin];
                if (lastNet[part] != n) {
                    lastNet[part] = n;
                    ++m_partNets[part];
                }
            }
        }
    }

    std::string_view newPinText(Index pin, std::string& buffer) const {
        if (m_pinTarget[pin] != kNone)
            return m_g2.pinTexts[m_pinTarget[pin]];
        const Index p2 = m_renamedTo[m_g1.pinPart[pin]];
        const std::string_view text = m_g1.pinTexts[pin];
        if (p2 == kNone)
            return text;
        const std::string_view reference = m_g1.references[m_g1.pinPart[pin]];
        buffer.assign(m_g2.references[p2]);
        buffer.append(text.substr(reference.size()));
        return buffer;
    }

    void writePairs() {
        for (Index p1 = 0; p1 < m_g1.parts(); ++p1) {
            const Index p2 = m_renamedTo[p1];
            if (p2 == kNone)
                continue;
            for (Index i = m_g1.partPinStart[p1]; i < m_g1.partPinStart[p1 + 1]; ++i) {
                const Index pin1 = m_g1.partPins[i];
                if (m_pinTarget[pin1] != kNone)
                    m_proposal.pinPairs.push_back({std::string(m_g1.pinTexts[pin1]),
                                                   std::string(m_g2.pinTexts[m_pinTarget[pin1]]),
                                                   m_pinNets[pin1]});
            }
            if (m_g1.references[p1] != m_g2.references[p2])
                m_proposal.referencePairs.push_back({std::string(m_g1.references[p1]),
                                                     std::string(m_g2.references[p2]),
                                                     m_partNets[p1]});
        }
        const auto byOldName = [](const ProposedPair& a, const ProposedPair& b) {
            return naturalLess(a.oldName, b.oldName);
        };
        std::sort(m_proposal.pinPairs.begin(), m_proposal.pinPairs.end(), byOldName);
        std::sort(m_proposal.referencePairs.begin(), m_proposal.referencePairs.end(), byOldName);
    }

    void listUnpaired() {
        std::vector<NotProposedPart> side1;
        for (Index p1 = 0; p1 < m_g1.parts(); ++p1) {
            if (m_reason[p1] == kNoReason && m_matcher.mateOf1(p1) != kNone)
                continue;
            NotProposedPart part;
            part.side = 1;
            part.reference = std::string(m_g1.references[p1]);
            part.reason = m_reason[p1] == kNoReason ? NotProposedReason::NoCounterpart
                                                    : static_cast<NotProposedReason>(m_reason[p1]);
            const auto partner = m_partner.find(p1);
            if (partner != m_partner.end())
                part.partner = std::string(m_g2.references[partner->second]);
            else if (m_matcher.mateOf1(p1) != kNone)
                part.partner = std::string(m_g2.references[m_matcher.mateOf1(p1)]);
            side1.push_back(std::move(part));
        }
        std::vector<NotProposedPart> side2;
        for (Index p2 = 0; p2 < m_g2.parts(); ++p2)
            if (m_matcher.mateOf2(p2) == kNone)
                side2.push_back({2, std::string(m_g2.references[p2]),
                                 NotProposedReason::NoCounterpart, {}});
        const auto byReference = [](const NotProposedPart& a, const NotProposedPart& b) {
            return naturalLess(a.reference, b.reference);
        };
        std::sort(side1.begin(), side1.end(), byReference);
        std::sort(side2.begin(), side2.end(), byReference);
        m_proposal.notProposed = std::move(side1);
        m_proposal.notProposed.insert(m_proposal.notProposed.end(),
                                      std::make_move_iterator(side2.begin()),
                                      std::make_move_iterator(side2.end()));
    }

    const SideGraph& m_g1;
    const SideGraph& m_g2;
    const PartMatcher& m_matcher;
    SwapProposal& m_proposal;
    std::vector<Index> m_renamedTo; // side-1 part -> side-2 part it becomes (itself included)
    std::vector<int> m_reason;      // NotProposedReason of a side-1 part the proposal leaves out
    std::unordered_map<Index, Index> m_partner; // of the parts left out with a partner
    std::vector<Index> m_pinTarget;             // side-1 pin -> side-2 pin it is renamed to
    std::vector<Index> m_partNets;              // nets matching after, by side-1 part
    std::vector<Index> m_pinNets;               // the same, by side-1 pin
};

} // namespace

SwapProposal proposeSwap(const ProposalSide& side1, const ProposalSide& side2,
                         std::vector<SwapPair> userPairs) {
    proposal::NameNumbers pinNames;
    const SideGraph g1 = proposal::buildSideGraph(side1, pinNames);
    const SideGraph g2 = proposal::buildSideGraph(side2, pinNames);
    PartMatcher matcher(g1, g2);
    matcher.run();

    SwapProposal result;
    result.userPairs = std::move(userPairs);
    result.nets1 = g1.nets();
    result.nets2 = g2.nets();
    result.netsMatchingBefore = matcher.identicalNets();
    ProposalBuilder(g1, g2, matcher, result).build();
    return result;
}

} // namespace lintora
