// Proposing the swap file for a renumbered board: 5 % of the references moved, 0.2 % of the
// nets really changed, at 20,000 and 1,000,000 nets. The sides are the net and parts lines
// the comparison would see; generating them is not timed.
#include "generator/netlist_generator.h"
#include "run/swap_proposal.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

namespace lintora::bench {
namespace {

struct ProposalSides {
    std::string nets1, parts1, nets2, parts2;
};

void appendSide(const Board& board, std::string& nets, std::string& parts) {
    std::string pin;
    for (const Net& net : board.nets) {
        nets += net.name;
        nets += "; ";
        nets += std::to_string(net.pins.size());
        nets += ": ";
        for (const PinRef& ref : net.pins) {
            nets += board.pinText(ref);
            nets += ", ";
        }
        nets += "\r\n";
    }
    for (const Part& part : board.parts) {
        parts += "! ";
        parts += board.types[part.type].value;
        parts += "; ";
        parts += part.reference;
        parts += ": ";
        parts += board.types[part.type].footprint;
        parts += "? \r\n";
    }
}

const ProposalSides& sidesOf(std::size_t nets) {
    static std::map<std::size_t, std::unique_ptr<ProposalSides>> cache;
    auto& entry = cache[nets];
    if (!entry) {
        BoardSpec request;
        request.nets = nets;
        const Board board = generateBoard(request);
        RevisionSpec change;
        change.changes = 0.002;
        change.renumber = true;
        change.renumberShare = 0.05;
        const Revision revision = reviseBoard(board, change);
        entry = std::make_unique<ProposalSides>();
        appendSide(board, entry->nets1, entry->parts1);
        appendSide(revision.board, entry->nets2, entry->parts2);
    }
    return *entry;
}

void ProposeSwap(benchmark::State& state) {
    const ProposalSides& sides = sidesOf(static_cast<std::size_t>(state.range(0)));
    SwapProposal proposal;
    for (auto _ : state) {
        proposal = proposeSwap({sides.nets1, sides.parts1}, {sides.nets2, sides.parts2});
        benchmark::DoNotOptimize(proposal);
    }
    state.counters["pairs"] = static_cast<double>(proposal.referencePairs.size());
    state.counters["matching_before"] = static_cast<double>(proposal.netsMatchingBefore);
    state.counters["matching_after"] = static_cast<double>(proposal.netsMatchingAfter);
}

BENCHMARK(ProposeSwap)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(ProposeSwap)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
} // namespace lintora::bench
