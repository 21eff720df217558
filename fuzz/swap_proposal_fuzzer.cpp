// Any bytes as the two sides of a swap proposal (split at the first NUL, or halved): the
// proposal never crashes, never proposes a reference twice on either side, and its file
// renames only names the sides have.
#include "run/swap_proposal.h"

#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t split = input.find('\0');
    if (split == std::string_view::npos)
        split = size / 2;
    const std::string side1(input.substr(0, split));
    const std::string side2(input.substr(split < size ? split + 1 : size));
    const lintora::SwapProposal proposal = lintora::proposeSwap({side1, {}}, {side2, {}});
    std::set<std::string> olds;
    std::set<std::string> news;
    for (const auto& pair : proposal.referencePairs) {
        if (!olds.insert(pair.oldName).second || !news.insert(pair.newName).second ||
            pair.oldName == pair.newName)
            std::abort();
        if (side1.find(pair.oldName) == std::string::npos ||
            side2.find(pair.newName) == std::string::npos)
            std::abort();
    }
    if (proposal.netsMatchingAfter > proposal.nets1 || proposal.netsMatchingBefore > proposal.nets1)
        std::abort();
    (void)lintora::swapProposalText(proposal);
    return 0;
}
