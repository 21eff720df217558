// The proposal as a swap file.

#include "base/text_file.h"
#include "run/swap_proposal.h"

namespace lintora {

std::string swapProposalText(const SwapProposal& proposal) {
    std::string text;
    const auto addLine = [&text](const std::string& oldName, const std::string& newName) {
        text.append(oldName).append(" ").append(newName).append("\r\n");
    };
    // The user's pairs come first: the swap pass keeps the first pair that names a pin, so
    // they stay as the user wrote them. Pin pairs come before reference pairs for the same
    // reason: "Q3.G Q9.1" must win over the "Q3 Q9" that would make Q3.G into Q9.G.
    for (const SwapPair& pair : proposal.userPairs)
        addLine(pair.oldName, pair.newName);
    for (const ProposedPair& pair : proposal.pinPairs)
        addLine(pair.oldName, pair.newName);
    for (const ProposedPair& pair : proposal.referencePairs)
        addLine(pair.oldName, pair.newName);
    return text;
}

void writeSwapProposalFile(const std::filesystem::path& path, const SwapProposal& proposal) {
    writeFileAtomically(path, swapProposalText(proposal));
}

} // namespace lintora
