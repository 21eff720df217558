#include "run/swap_proposal.h"

namespace lintora {

SwapProposal proposeSwap(const ProposalSide&, const ProposalSide&) { return {}; }

} // namespace lintora
