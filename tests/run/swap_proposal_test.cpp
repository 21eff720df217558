// Proposing the swap file on small boards drawn by hand, and on the real hackrf revisions.

#include "run/comparison_run.h"
#include "run/swap_proposal.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace lintora {
namespace {

// Net lines from "NAME: PIN PIN ..." and parts lines from "REF VALUE", one per entry.
struct Side {
    std::string nets;
    std::string parts;
    Side(std::initializer_list<std::string_view> netLines,
         std::initializer_list<std::string_view> partLines = {}) {
        for (std::string_view line : netLines) {
            const std::size_t colon = line.find(':');
            nets += std::string(line.substr(0, colon)) + "; 0: ";
            std::string_view pins = line.substr(colon + 1);
            while (!pins.empty()) {
                const std::size_t start = pins.find_first_not_of(' ');
                if (start == std::string_view::npos)
                    break;
                pins.remove_prefix(start);
                const std::size_t end = pins.find(' ');
                nets += std::string(pins.substr(0, end)) + ", ";
                pins = end == std::string_view::npos ? std::string_view() : pins.substr(end);
            }
            nets += "\r\n";
        }
        for (std::string_view line : partLines) {
            const std::size_t blank = line.find(' ');
            parts += "! " + std::string(line.substr(blank + 1)) + "; " +
                     std::string(line.substr(0, blank)) + ": FP? \r\n";
        }
    }
    ProposalSide side() const { return {nets, parts}; }
};

std::vector<std::string> pairs(const std::vector<ProposedPair>& proposed) {
    std::vector<std::string> lines;
    for (const auto& pair : proposed)
        lines.push_back(pair.oldName + " " + pair.newName);
    return lines;
}

using Lines = std::vector<std::string>;

TEST(SwapProposal, PairsRenumberedPartsByTheirNets) {
    // R1 and R2 exchanged their references; U1 is the anchor that tells them apart.
    const Side side1({"A: U1.1 R1.1", "B: U1.2 R2.1", "C: R1.2 R2.2 U1.3"});
    const Side side2({"A: U1.1 R2.1", "B: U1.2 R1.1", "C: R2.2 R1.2 U1.3"});
    const SwapProposal proposal = proposeSwap(side1.side(), side2.side());
    EXPECT_EQ(pairs(proposal.referencePairs), (Lines{"R1 R2", "R2 R1"}));
    EXPECT_TRUE(proposal.pinPairs.empty());
    EXPECT_EQ(proposal.partsPairedAsThemselves, 1u);
    EXPECT_EQ(proposal.netsMatchingBefore, 1u); // C holds the same pins on both sides
    EXPECT_EQ(proposal.netsMatchingAfter, 3u);
    EXPECT_EQ(proposal.referencePairs[0].netsMatched, 2u);
    EXPECT_TRUE(proposal.notProposed.empty());
    EXPECT_EQ(swapProposalText(proposal), "R1 R2\r\nR2 R1\r\n");
}

TEST(SwapProposal, ABoardComparedWithItselfProposesNothing) {
    const Side side({"A: U1.1 R1.1", "B: U1.2 R1.2 C1.1", "GND: C1.2 U1.3"});
    const SwapProposal proposal = proposeSwap(side.side(), side.side());
    EXPECT_TRUE(proposal.proposesNothing());
    EXPECT_TRUE(proposal.notProposed.empty());
    EXPECT_EQ(proposal.partsPairedAsThemselves, 3u);
    EXPECT_EQ(swapProposalText(proposal), "");
}

TEST(SwapProposal, RenamesPinsOnlyWherePartsShareNoPinName) {
    // The library renamed Q1's pins G/S/D to 1/2/3: each pin takes the name of the pin on its
    // net's counterpart, pins before references in the file.
    const Side side1({"GATE: U1.1 Q1.G", "OUT: U1.2 Q1.D", "GND: U1.3 Q1.S"});
    const Side side2({"GATE: U1.1 Q1.1", "OUT: U1.2 Q1.3", "GND: U1.3 Q1.2"});
    const SwapProposal proposal = proposeSwap(side1.side(), side2.side());
    EXPECT_EQ(pairs(proposal.pinPairs), (Lines{"Q1.D Q1.3", "Q1.G Q1.1", "Q1.S Q1.2"}));
    EXPECT_TRUE(proposal.referencePairs.empty());
    EXPECT_EQ(proposal.netsMatchingAfter, 3u);

    // Renumbered and renamed at once: the pins name the new reference.
    const Side side3({"GATE: U1.1 Q9.1", "OUT: U1.2 Q9.3", "GND: U1.3 Q9.2"});
    const SwapProposal both = proposeSwap(side1.side(), side3.side());
    EXPECT_EQ(pairs(both.pinPairs), (Lines{"Q1.D Q9.3", "Q1.G Q9.1", "Q1.S Q9.2"}));
    EXPECT_EQ(pairs(both.referencePairs), (Lines{"Q1 Q9"}));
    EXPECT_EQ(swapProposalText(both), "Q1.D Q9.3\r\nQ1.G Q9.1\r\nQ1.S Q9.2\r\nQ1 Q9\r\n");
}

TEST(SwapProposal, NeverRenamesPinNamesBothSidesHave) {
    // Two swapped pins are the fault a comparison is run to catch.
    const Side side1({"A: U1.1 U2.1", "B: U1.2 U2.2", "C: U1.3 U2.3", "D: U1.4 U2.4"});
    const Side swapped({"A: U1.1 U2.2", "B: U1.2 U2.1", "C: U1.3 U2.3", "D: U1.4 U2.4"});
    const SwapProposal proposal = proposeSwap(side1.side(), swapped.side());
    EXPECT_TRUE(proposal.proposesNothing());

    // An overlapping renumbering (1/2/3 against 2/3/4) is left to the pin-number changes.
    const Side q1({"A: U1.1 Q1.1", "B: U1.2 Q1.2", "C: U1.3 Q1.3"});
    const Side q2({"A: U1.1 Q1.2", "B: U1.2 Q1.3", "C: U1.3 Q1.4"});
    const SwapProposal overlap = proposeSwap(q1.side(), q2.side());
    EXPECT_TRUE(overlap.pinPairs.empty());
    ASSERT_EQ(overlap.notProposed.size(), 1u);
    EXPECT_EQ(overlap.notProposed[0].reference, "Q1");
    EXPECT_EQ(overlap.notProposed[0].reason, NotProposedReason::PinNames);
    EXPECT_EQ(overlap.notProposed[0].partner, "Q1");

    // A pin that moved to another pin number (U2.4 wired as U2.5) is a change to report, not a
    // renumbering to hint at.
    const Side moved({"A: U1.1 U2.1", "B: U1.2 U2.2", "C: U1.3 U2.3", "D: U1.4 U2.5"});
    const SwapProposal change = proposeSwap(side1.side(), moved.side());
    EXPECT_TRUE(change.proposesNothing());
    EXPECT_TRUE(change.notProposed.empty());
}

TEST(SwapProposal, TwinsPairByValueBeforeReference) {
    // C1 and C2 sit between the same nets; side 2 swapped their values. Either pairing gives
    // the same nets, and pairing by value keeps the parts comparison quiet.
    const Side side1({"VCC: U1.1 C1.1 C2.1", "GND: U1.2 C1.2 C2.2"}, {"U1 MCU", "C1 10U", "C2 100N"});
    const Side byValue({"VCC: U1.1 C1.1 C2.1", "GND: U1.2 C1.2 C2.2"},
                       {"U1 MCU", "C1 100N", "C2 10U"});
    EXPECT_EQ(pairs(proposeSwap(side1.side(), byValue.side()).referencePairs),
              (Lines{"C1 C2", "C2 C1"}));
    // With the same values the twins keep their names.
    EXPECT_TRUE(proposeSwap(side1.side(), side1.side()).proposesNothing());
    // Renumbered twins of one value pair in reference order.
    const Side renumbered({"VCC: U1.1 C7.1 C8.1", "GND: U1.2 C7.2 C8.2"},
                          {"U1 MCU", "C7 10U", "C8 100N"});
    EXPECT_EQ(pairs(proposeSwap(side1.side(), renumbered.side()).referencePairs),
              (Lines{"C1 C7", "C2 C8"}));
    // Values that one tool writes and the other does not ("UNKNOWN") tell nothing: the
    // twins keep their names.
    const Side unknown({"VCC: U1.1 C1.1 C2.1", "GND: U1.2 C1.2 C2.2"},
                       {"U1 UNKNOWN", "C1 UNKNOWN", "C2 UNKNOWN"});
    EXPECT_TRUE(proposeSwap(side1.side(), unknown.side()).proposesNothing());
}

TEST(SwapProposal, PairsPartsWhosePinCountChanged) {
    // U1 grew a pin on side 2 (and was renumbered U5): most of its pins still agree.
    const Side side1({"A: U1.1 R1.1", "B: U1.2 R2.1", "C: U1.3 R3.1", "D: U1.4 J1.1",
                      "E: R1.2 R2.2 R3.2 J1.2"});
    const Side side2({"A: U5.1 R1.1", "B: U5.2 R2.1", "C: U5.3 R3.1", "D: U5.4 J1.1",
                      "E: R1.2 R2.2 R3.2 J1.2", "F: U5.5 J1.3"});
    const SwapProposal proposal = proposeSwap(side1.side(), side2.side());
    EXPECT_EQ(pairs(proposal.referencePairs), (Lines{"U1 U5"}));
    EXPECT_EQ(proposal.netsMatchingAfter, 5u);
}

TEST(SwapProposal, NeverPairsPartsWhoseConnectivityContradicts) {
    // R1 went and C9 came: they share net A, but R1's other pin is on B, C9's on C.
    const Side side1({"A: U1.1 R1.1", "B: U1.2 R1.2", "C: U1.3 U2.1"});
    const Side side2({"A: U1.1 C9.1", "B: U1.2", "C: U1.3 U2.1 C9.2"});
    const SwapProposal proposal = proposeSwap(side1.side(), side2.side());
    EXPECT_TRUE(proposal.proposesNothing());
    ASSERT_EQ(proposal.notProposed.size(), 2u);
    EXPECT_EQ(proposal.notProposed[0].side, 1);
    EXPECT_EQ(proposal.notProposed[0].reference, "R1");
    EXPECT_EQ(proposal.notProposed[0].reason, NotProposedReason::NoCounterpart);
    EXPECT_EQ(proposal.notProposed[1].side, 2);
    EXPECT_EQ(proposal.notProposed[1].reference, "C9");
}

TEST(SwapProposal, NeverRenamesOntoANameASide1PartKeeps) {
    // R1 became R2 on side 2, but side 1's own R2 has no counterpart and keeps its name:
    // renaming R1 would merge two parts.
    const Side side1({"A: U1.1 R1.1", "B: U1.2 R1.2", "X: R2.1 U1.3", "Y: R2.2 U1.4"});
    const Side side2({"A: U1.1 R2.1", "B: U1.2 R2.2", "X: U1.3", "Y: U1.4"});
    const SwapProposal proposal = proposeSwap(side1.side(), side2.side());
    EXPECT_TRUE(proposal.referencePairs.empty());
    ASSERT_FALSE(proposal.notProposed.empty());
    EXPECT_EQ(proposal.notProposed[0].reference, "R1");
    EXPECT_EQ(proposal.notProposed[0].reason, NotProposedReason::NameTaken);
    EXPECT_EQ(proposal.notProposed[0].partner, "R2");
}

TEST(SwapProposal, TheUserPairsLeadAndAreNotRenamedAgain) {
    // The user's file already made U7 out of U1 (side 1 below is after the swap pass); the
    // proposal would rename U7 again, which the swap pass cannot do after the user's pair.
    const Side side1({"A: U7.1 R1.1", "B: U7.2 R2.1", "C: R1.2 R2.2 U7.3"});
    const Side side2({"A: U9.1 R1.1", "B: U9.2 R2.1", "C: R1.2 R2.2 U9.3"});
    const SwapProposal proposal =
        proposeSwap(side1.side(), side2.side(), {{"U1", "U7"}, {"R5.1", "R5.2"}});
    EXPECT_TRUE(proposal.referencePairs.empty());
    ASSERT_EQ(proposal.notProposed.size(), 1u);
    EXPECT_EQ(proposal.notProposed[0].reason, NotProposedReason::RenamedByUser);
    EXPECT_EQ(proposal.notProposed[0].partner, "U9");
    EXPECT_EQ(swapProposalText(proposal), "U1 U7\r\nR5.1 R5.2\r\n");
    EXPECT_EQ(proposal.pairCount(), 2u);
}

TEST(SwapProposal, OrdersReferencesAsDesignersRead) {
    // R2 before R10, and a ring of renumbered parts is proposed whole.
    std::vector<std::string> nets1;
    std::vector<std::string> nets2;
    std::string text1;
    std::string text2;
    for (int i = 1; i <= 12; ++i) {
        const int renamed = i % 12 + 1;
        text1 += "N" + std::to_string(i) + "; 0: U1." + std::to_string(i) + ", R" +
                 std::to_string(i) + ".1, \r\n";
        text2 += "N" + std::to_string(i) + "; 0: U1." + std::to_string(i) + ", R" +
                 std::to_string(renamed) + ".1, \r\n";
    }
    text1 += "GND; 0: U1.13";
    text2 += "GND; 0: U1.13";
    for (int i = 1; i <= 12; ++i) {
        text1 += ", R" + std::to_string(i) + ".2";
        text2 += ", R" + std::to_string(i) + ".2";
    }
    text1 += ", \r\n";
    text2 += ", \r\n";
    const SwapProposal proposal = proposeSwap({text1, {}}, {text2, {}});
    ASSERT_EQ(proposal.referencePairs.size(), 12u);
    EXPECT_EQ(proposal.referencePairs[0].oldName, "R1");
    EXPECT_EQ(proposal.referencePairs[1].oldName, "R2");
    EXPECT_EQ(proposal.referencePairs[9].oldName, "R10");
    EXPECT_EQ(proposal.referencePairs[11].newName, "R1");
    EXPECT_EQ(proposal.netsMatchingAfter, 13u);
}

// The run: the proposal is made from the sides as they are compared, and "Only" stops before
// the comparison writes its report.
TEST(SwapProposalRun, OnlyProposesAndLeavesTheReportsAlone) {
    test::TempDir dir;
    const auto side1 = dir / "side1.tel";
    const auto side2 = dir / "side2.tel";
    test::writeFile(side1, "$PACKAGES\r\nR0603! 10K; R1 R2\r\nSOIC! MCU; U1\r\n"
                                              "$NETS\r\nA; U1.1 R1.1\r\nB; U1.2 R2.1\r\n"
                                              "C; R1.2 R2.2 U1.3\r\n$END\r\n");
    test::writeFile(side2, "$PACKAGES\r\nR0603! 10K; R1 R2\r\nSOIC! MCU; U1\r\n"
                                              "$NETS\r\nA; U1.1 R2.1\r\nB; U1.2 R1.1\r\n"
                                              "C; R1.2 R2.2 U1.3\r\n$END\r\n");
    RunInputs in;
    in.path1 = side1.string();
    in.path2 = side2.string();
    in.format1 = in.format2 = "Telesis";
    RunOptions options;
    options.workDir = dir.path();
    options.swapProposal = RunOptions::SwapProposal::Only;
    SilentObserver observer;
    const RunResult result = runComparison(in, options, observer);
    ASSERT_EQ(result.outcome, RunOutcome::Completed);
    ASSERT_TRUE(result.proposal.has_value());
    EXPECT_EQ(swapProposalText(*result.proposal), "R1 R2\r\nR2 R1\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "cmp.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "errlog.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "net01.tmp"));

    // Compared with the proposal as its swap file, the boards match.
    writeSwapProposalFile(dir.path() / "proposal.swp", *result.proposal);
    in.swapPath = (dir.path() / "proposal.swp").string();
    options.swapProposal = RunOptions::SwapProposal::Off;
    EXPECT_TRUE(runComparison(in, options, observer).allClear);
}

// The second hackrf pair: test points P1, P8 and P36 became net ties NT1-NT3, and the MOSFETs'
// pins G/S/D became 1/2/3; the RF switch was rewired for real.
TEST(SwapProposalRun, FindsTheHackrfRenamesAndLeavesTheRealRewiring) {
    const std::filesystem::path samples =
        std::filesystem::path(LINTORA_SHARED) / "samples-modern" / "kicad-net";
    const auto before = samples / "hackrf-one_5e6a2b5d.net";
    const auto after = samples / "hackrf-one_585e69a5.net";
    if (!std::filesystem::exists(before) || !std::filesystem::exists(after))
        GTEST_SKIP() << "the real netlists are not beside the project";
    test::TempDir dir;
    RunInputs in;
    in.path1 = before.string();
    in.path2 = after.string();
    in.format1 = in.format2 = "KiCad";
    RunOptions options;
    options.workDir = dir.path();
    options.limits = Limits::unlimited();
    options.swapProposal = RunOptions::SwapProposal::AlongsideComparison;
    SilentObserver observer;
    const RunResult result = runComparison(in, options, observer);
    ASSERT_TRUE(result.proposal.has_value());
    const SwapProposal& proposal = *result.proposal;
    EXPECT_EQ(pairs(proposal.referencePairs), (Lines{"P1 NT1", "P8 NT2", "P36 NT3"}));
    Lines pins;
    for (const std::string q : {"Q1", "Q2", "Q3", "Q4", "Q5"})
        for (const auto& [from, to] : {std::pair{"D", "3"}, {"G", "1"}, {"S", "2"}})
            pins.push_back(q + "." + from + " " + q + "." + to);
    EXPECT_EQ(pairs(proposal.pinPairs), pins);
    EXPECT_GT(proposal.netsMatchingAfter, proposal.netsMatchingBefore);

    writeSwapProposalFile(dir.path() / "proposal.swp", proposal);
    in.swapPath = (dir.path() / "proposal.swp").string();
    options.swapProposal = RunOptions::SwapProposal::Off;
    const RunResult second = runComparison(in, options, observer);
    ASSERT_EQ(second.outcome, RunOutcome::Completed);
    EXPECT_FALSE(second.allClear); // the RF switch's rewiring stays a difference
    EXPECT_LT(second.differenceBlocks + second.unpaired1 + second.unpaired2,
              result.differenceBlocks + result.unpaired1 + result.unpaired2);
}

} // namespace
} // namespace lintora
