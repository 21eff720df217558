// The swap proposal on generated boards whose second side was renumbered: references moved
// within their prefix and to other prefixes, pins of some parts renamed, and a few real
// changes made. Applied, the proposal must leave exactly the real changes.

#include "generator/netlist_generator.h"
#include "run/swap_proposal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace lintora {
namespace {

// A side as plain data: net name -> pins, reference -> value.
struct PlainSide {
    std::map<std::string, std::vector<std::string>> nets;
    std::map<std::string, std::string> values;
};

struct Texts {
    std::string nets;
    std::string parts;
    ProposalSide side() const { return {nets, parts}; }
};

Texts texts(const PlainSide& side) {
    Texts t;
    for (const auto& [name, pins] : side.nets) {
        t.nets += name + "; " + std::to_string(pins.size()) + ": ";
        for (const auto& pin : pins)
            t.nets += pin + ", ";
        t.nets += "\r\n";
    }
    for (const auto& [reference, value] : side.values)
        t.parts += "! " + value + "; " + reference + ": FP? \r\n";
    return t;
}

PlainSide plain(const bench::Board& board) {
    PlainSide side;
    for (const auto& net : board.nets) {
        auto& pins = side.nets[net.name];
        for (const auto& pin : net.pins)
            pins.push_back(board.pinText(pin));
    }
    for (const auto& part : board.parts)
        side.values[part.reference] = board.types[part.type].value;
    return side;
}

// Side 1 as the swap pass makes it: a pin changes by the first pair naming it or its
// reference.
PlainSide applied(const PlainSide& side, const SwapProposal& proposal) {
    std::unordered_map<std::string, std::string> first;
    const auto add = [&first](const std::string& from, const std::string& to) {
        first.emplace(from, to);
    };
    for (const auto& pair : proposal.userPairs)
        add(pair.oldName, pair.newName);
    for (const auto& pair : proposal.pinPairs)
        add(pair.oldName, pair.newName);
    for (const auto& pair : proposal.referencePairs)
        add(pair.oldName, pair.newName);
    PlainSide result;
    for (const auto& [name, pins] : side.nets) {
        auto& out = result.nets[name];
        for (const auto& pin : pins) {
            const auto whole = first.find(pin);
            const std::size_t stop = pin.find('.');
            const auto byReference = first.find(pin.substr(0, stop));
            if (whole != first.end())
                out.push_back(whole->second);
            else if (byReference != first.end())
                out.push_back(byReference->second + pin.substr(stop));
            else
                out.push_back(pin);
        }
    }
    return result;
}

// Names of the nets whose pins differ (or that one side lacks).
std::set<std::string> differingNets(const PlainSide& a, const PlainSide& b) {
    std::set<std::string> names;
    for (const auto& [name, pins] : a.nets) {
        const auto other = b.nets.find(name);
        auto sortedA = pins;
        std::sort(sortedA.begin(), sortedA.end());
        if (other == b.nets.end()) {
            names.insert(name);
            continue;
        }
        auto sortedB = other->second;
        std::sort(sortedB.begin(), sortedB.end());
        if (sortedA != sortedB)
            names.insert(name);
    }
    for (const auto& [name, pins] : b.nets)
        if (a.nets.count(name) == 0)
            names.insert(name);
    return names;
}

struct Scenario {
    std::size_t nets = 400;
    unsigned seed = 1;
    double permuteShare = 0.08;  // references moved within their prefix
    std::size_t otherPrefix = 3; // parts given another prefix
    std::size_t pinRenamed = 2;  // three-pin parts whose pins become G, S, D
    std::size_t swappedPins = 2; // real changes: two pins of a part exchange their nets
    std::size_t movedPins = 2;   // real changes: a pin moves to another net
};

struct Outcome {
    std::set<std::string> expected; // nets with real changes
    std::set<std::string> left;     // nets that still differ with the proposal applied
    SwapProposal proposal;
};

std::uint64_t nextRandom(std::uint64_t& state) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return state >> 33;
}

Outcome runScenario(const Scenario& s) {
    bench::BoardSpec request;
    request.nets = s.nets;
    request.seed = s.seed;
    const bench::Board board = bench::generateBoard(request);
    std::uint64_t random = s.seed * 7919u + 13u;
    const PlainSide original = plain(board);

    // Real changes, made in side 1's names: pins of multi-pin parts exchange nets, pins move.
    PlainSide changed = original;
    std::map<std::string, std::string*> pinSlot;
    for (auto& [name, pins] : changed.nets)
        for (auto& pin : pins)
            pinSlot[pin] = &pin;
    std::vector<std::string> allPins;
    for (const auto& [pin, slot] : pinSlot)
        allPins.push_back(pin);
    // No real change touches a part whose pins side 2 renames: with no pin name in common,
    // only the nets say which pin is which, so a swap there is not a change anyone can see.
    std::set<std::string> pinRenamedParts;
    for (const auto& part : board.parts)
        if (pinRenamedParts.size() < s.pinRenamed && part.pinCount == 3 &&
            part.kind == bench::PartKind::Transistor)
            pinRenamedParts.insert(part.reference);
    // Nor a part that side 2 gives another letter prefix: with one of its two pins moved, a
    // diode D35 that became ZZ11 is as likely a diode that went and a part that came.
    std::vector<std::string> otherPrefixParts;
    for (std::size_t i = 0; i < s.otherPrefix; ++i)
        otherPrefixParts.push_back(board.parts[nextRandom(random) % board.parts.size()].reference);
    const auto untouchable = [&](const std::string& pin) {
        const std::string reference = pin.substr(0, pin.find('.'));
        return pinRenamedParts.count(reference) != 0 ||
               std::find(otherPrefixParts.begin(), otherPrefixParts.end(), reference) !=
                   otherPrefixParts.end();
    };
    for (std::size_t i = 0; i < s.swappedPins; ++i) {
        const std::string& a = allPins[nextRandom(random) % allPins.size()];
        if (untouchable(a))
            continue;
        const std::string reference = a.substr(0, a.find('.'));
        // Another pin of the same part on another net.
        for (const auto& [pin, slot] : pinSlot)
            if (pin != a && pin.substr(0, pin.find('.')) == reference && *slot == pin &&
                *pinSlot[a] == a) {
                std::swap(*pinSlot[a], *slot);
                break;
            }
    }
    for (std::size_t i = 0; i < s.movedPins; ++i) {
        auto from = changed.nets.begin();
        std::advance(from, nextRandom(random) % changed.nets.size());
        auto to = changed.nets.begin();
        std::advance(to, nextRandom(random) % changed.nets.size());
        if (from == to || from->second.size() < 3 || untouchable(from->second.back()))
            continue;
        to->second.push_back(from->second.back());
        from->second.pop_back();
    }
    Outcome outcome;
    outcome.expected = differingNets(original, changed);

    // Renumbering: side 2 is the changed board under new references and pin names.
    std::map<std::string, std::vector<std::string>> byPrefix;
    for (const auto& part : board.parts) {
        std::string prefix;
        for (char c : part.reference)
            if (c < '0' || c > '9')
                prefix += c;
            else
                break;
        byPrefix[prefix].push_back(part.reference);
    }
    std::map<std::string, std::string> newReference;
    for (auto& [prefix, references] : byPrefix) {
        std::vector<std::string> chosen;
        for (const auto& reference : references)
            if (nextRandom(random) % 1000 < s.permuteShare * 1000)
                chosen.push_back(reference);
        for (std::size_t i = 0; i < chosen.size(); ++i)
            newReference[chosen[i]] = chosen[(i + 1) % chosen.size()];
    }
    for (std::size_t i = 0; i < otherPrefixParts.size(); ++i)
        newReference[otherPrefixParts[i]] = "ZZ" + std::to_string(i + 1);
    std::map<std::string, std::map<std::string, std::string>> newPinNames;
    for (const auto& reference : pinRenamedParts)
        newPinNames[reference] = {{"1", "G"}, {"2", "S"}, {"3", "D"}};
    PlainSide side2;
    for (const auto& [name, pins] : changed.nets) {
        auto& out = side2.nets[name];
        for (const auto& pin : pins) {
            const std::size_t stop = pin.find('.');
            const std::string reference = pin.substr(0, stop);
            std::string pinName = pin.substr(stop + 1);
            const auto renamedPins = newPinNames.find(reference);
            if (renamedPins != newPinNames.end())
                pinName = renamedPins->second.at(pinName);
            const auto renamed = newReference.find(reference);
            out.push_back((renamed == newReference.end() ? reference : renamed->second) + "." +
                          pinName);
        }
    }
    for (const auto& [reference, value] : original.values) {
        const auto renamed = newReference.find(reference);
        side2.values[renamed == newReference.end() ? reference : renamed->second] = value;
    }

    const Texts t1 = texts(original);
    const Texts t2 = texts(side2);
    outcome.proposal = proposeSwap(t1.side(), t2.side());
    outcome.left = differingNets(applied(original, outcome.proposal), side2);
    return outcome;
}

TEST(SwapProposalOnGeneratedBoards, LeavesExactlyTheRealChanges) {
    std::vector<Scenario> scenarios;
    for (unsigned seed = 1; seed <= 6; ++seed)
        scenarios.push_back({120 + seed * 60, seed, 0.08, 3, 2, 2, 2});
    scenarios.push_back({2000, 11, 0.05, 10, 5, 4, 4});
    scenarios.push_back({2000, 12, 0.30, 20, 8, 6, 6}); // heavily renumbered
    scenarios.push_back({5000, 13, 0.05, 5, 3, 0, 0});  // renumbering only
    scenarios.push_back({300, 14, 0.0, 0, 0, 3, 3});    // real changes only
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE("nets " + std::to_string(s.nets) + ", seed " + std::to_string(s.seed));
        const Outcome outcome = runScenario(s);
        EXPECT_EQ(outcome.left, outcome.expected);
        // No reference is proposed twice, on either side.
        std::set<std::string> olds;
        std::set<std::string> news;
        for (const auto& pair : outcome.proposal.referencePairs) {
            EXPECT_TRUE(olds.insert(pair.oldName).second) << pair.oldName;
            EXPECT_TRUE(news.insert(pair.newName).second) << pair.newName;
            EXPECT_NE(pair.oldName, pair.newName);
        }
    }
}

TEST(SwapProposalOnGeneratedBoards, ABoardComparedWithItselfProposesNothing) {
    bench::BoardSpec request;
    request.nets = 3000;
    const PlainSide side = plain(bench::generateBoard(request));
    const Texts t = texts(side);
    const SwapProposal proposal = proposeSwap(t.side(), t.side());
    EXPECT_TRUE(proposal.proposesNothing());
    EXPECT_TRUE(proposal.notProposed.empty());
    EXPECT_EQ(proposal.netsMatchingBefore, side.nets.size());
    EXPECT_EQ(proposal.netsMatchingAfter, side.nets.size());
}

TEST(SwapProposalOnGeneratedBoards, IsTheSameOnEveryRun) {
    const Scenario s{1500, 21, 0.1, 5, 3, 2, 2};
    const Outcome first = runScenario(s);
    const Outcome second = runScenario(s);
    EXPECT_EQ(swapProposalText(first.proposal), swapProposalText(second.proposal));
    EXPECT_FALSE(first.proposal.proposesNothing());
}

} // namespace
} // namespace lintora
