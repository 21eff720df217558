#pragma once

// Proposing the swap file from connectivity. When the board's references were renumbered
// (back-annotation) or a library renamed a part's pins, the two netlists no longer match by
// pins. The connectivity still says which side-1 part is which side-2 part: parts are paired
// by the nets they sit on, not by their names, and the pairs are written in the swap file's
// syntax so that a second run with that file shows only the real differences.

#include "passes/passes.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lintora {

// One side as the comparison sees it: net lines ("GND; 2: U1.7, U2.7, ") up to the first
// empty line, and its parts lines ("! 74HC00; U1: DIP14? "), which may be empty. The parts
// only break ties between parts whose connectivity is the same (value, then footprint).
struct ProposalSide {
    std::string_view netText;
    std::string_view partsText;
};

// A proposed pair: a side-1 reference ("Q3") and its side-2 reference ("Q9"), or a side-1 pin
// ("Q3.G") and its side-2 pin ("Q9.1").
struct ProposedPair {
    std::string oldName;
    std::string newName;
    // The evidence: side-1 nets touching this part (or pin) that match a side-2 net exactly
    // once the whole proposal is applied.
    std::size_t netsMatched = 0;
};

// Why a part is not in the proposal.
enum class NotProposedReason {
    NoCounterpart, // no part of the other side has connectivity like it
    NameTaken,     // its side-2 reference is kept by a side-1 part that stays as it is
    PinNames,      // its pin names differ from its partner's but overlap them (1/2/3 against
                   // 2/3/4): left to the pin-number changes
    RenamedByUser, // the user's swap file made this name; the user's pairs are taken as given
};

struct NotProposedPart {
    int side = 1;          // the side the reference belongs to
    std::string reference;
    NotProposedReason reason = NotProposedReason::NoCounterpart;
    std::string partner;   // the other side's reference it would pair with, when known
};

struct SwapProposal {
    std::vector<SwapPair> userPairs;           // the user's own swap file, as read
    std::vector<ProposedPair> pinPairs;        // "Q3.G Q9.1"; before the references
    std::vector<ProposedPair> referencePairs;  // "Q3 Q9"
    std::vector<NotProposedPart> notProposed;  // side 1 first, each side by reference
    std::size_t partsPairedAsThemselves = 0;   // references both sides share, left alone
    std::size_t netsMatchingBefore = 0;        // side-1 nets that equal a side-2 net
    std::size_t netsMatchingAfter = 0;         // the same, once the proposal is applied
    std::size_t nets1 = 0;
    std::size_t nets2 = 0;

    bool proposesNothing() const { return pinPairs.empty() && referencePairs.empty(); }
    // Lines of the file: the user's pairs, then the pin pairs, then the reference pairs.
    std::size_t pairCount() const {
        return userPairs.size() + pinPairs.size() + referencePairs.size();
    }
};

// proposeSwap: pairs side 1's parts with side 2's by connectivity and proposes the renames
// that make the most nets match. References that pair as themselves are not proposed; a
// reference is proposed at most once on either side; pin names a part has on both sides are
// never renamed. `userPairs` are the pairs of the user's swap file, already applied to side 1:
// they are taken as given and lead the proposal. Deterministic.
SwapProposal proposeSwap(const ProposalSide& side1, const ProposalSide& side2,
                         std::vector<SwapPair> userPairs = {});

// The proposal in the swap file's syntax: one "OLD NEW" pair a line, CR LF; the user's pairs
// first, then pin pairs (the first pair that names a pin wins), then reference pairs.
std::string swapProposalText(const SwapProposal& proposal);

// Writes swapProposalText to `path`, atomically; throws WriteFailed.
void writeSwapProposalFile(const std::filesystem::path& path, const SwapProposal& proposal);

} // namespace lintora
