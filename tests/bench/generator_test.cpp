#include "generator/netlist_generator.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <stdexcept>

namespace lintora {
namespace {

using bench::Board;
using bench::BoardSpec;
using bench::Revision;
using bench::RevisionSpec;

Board board(std::size_t nets, unsigned seed = 7, std::size_t parts = 0) {
    BoardSpec request;
    request.nets = nets;
    request.parts = parts;
    request.seed = seed;
    return bench::generateBoard(request);
}

Revision revision(const Board& from, double changes, bool renumber = false,
                  double renumberShare = 0.05) {
    RevisionSpec request;
    request.changes = changes;
    request.renumber = renumber;
    request.renumberShare = renumberShare;
    return bench::reviseBoard(from, request);
}

// Writes both sides in their formats and runs a whole comparison.
RunResult compare(const Board& side1, std::string_view format1, const Board& side2,
                  std::string_view format2, const std::string& swapText = {}) {
    test::ComparisonFixture fx;
    test::writeFile(fx.dir / "side1.net", bench::writeNetlist(side1, format1));
    test::writeFile(fx.dir / "side2.net", bench::writeNetlist(side2, format2));
    fx.inputs.path1 = (fx.dir / "side1.net").string();
    fx.inputs.path2 = (fx.dir / "side2.net").string();
    fx.inputs.format1 = format1;
    fx.inputs.format2 = format2;
    if (!swapText.empty()) {
        test::writeFile(fx.dir / "side2.swp", swapText);
        fx.inputs.swapPath = (fx.dir / "side2.swp").string();
    }
    return fx.run();
}

bool isNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

TEST(NetlistGenerator, BoardsHaveTheNetsAskedForAndEachPinInOneNetAtMost) {
    for (const auto& [nets, parts] : {std::pair<std::size_t, std::size_t>{1, 0},
                                      {7, 0},
                                      {300, 0},
                                      {300, 900},
                                      {300, 60},
                                      {4000, 0}}) {
        SCOPED_TRACE(std::to_string(nets) + " nets, " + std::to_string(parts) + " parts");
        const Board b = board(nets, 3, parts);
        EXPECT_EQ(b.nets.size(), nets);
        if (parts > 0) {
            EXPECT_EQ(b.parts.size(), parts);
        }
        std::set<std::string> names;
        std::set<std::pair<std::uint32_t, std::uint16_t>> pins;
        for (const auto& net : b.nets) {
            EXPECT_TRUE(names.insert(net.name).second) << net.name;
            EXPECT_TRUE(std::all_of(net.name.begin(), net.name.end(), isNameCharacter))
                << net.name;
            EXPECT_FALSE(net.pins.empty()) << net.name;
            for (const auto& pin : net.pins) {
                ASSERT_LT(pin.part, b.parts.size());
                EXPECT_GE(pin.pin, 1);
                EXPECT_LE(pin.pin, b.parts[pin.part].pinCount);
                EXPECT_TRUE(pins.insert({pin.part, pin.pin}).second) << b.pinText(pin);
            }
        }
        std::set<std::string> references;
        for (const auto& part : b.parts)
            EXPECT_TRUE(references.insert(part.reference).second) << part.reference;
    }
}

TEST(NetlistGenerator, WritersNameGridPinsAndWrapLongNets) {
    // Ball-grid rows skip I, O, Q, S, X and Z; a net of nine pins continues on a second line.
    Board b;
    b.types = {{"XC7A100T", "BGA400"}, {"10K", "R0603"}};
    b.parts = {{"U1", 0, 400, bench::PartKind::Ic, true},
               {"R1", 1, 2, bench::PartKind::Resistor, false}};
    b.nets = {{"N1", {{0, 1}, {0, 20}, {0, 21}, {0, 161}, {0, 181}, {0, 400}, {1, 1}, {0, 2},
                      {0, 3}},
               false}};
    EXPECT_EQ(bench::writeNetlist(b, "Telesis"),
              test::crlfText({"$PACKAGES", "BGA400 ! XC7A100T ; U1", "R0603 ! 10K ; R1", "$NETS",
                              "N1 ; U1.A1 U1.A20 U1.B1 U1.J1 U1.K1 U1.Y20 R1.1 U1.A2 ,",
                              "    U1.A3", "$END"}));
}

TEST(NetlistGenerator, BoardsLookLikeRealBoards) {
    const Board b = board(4000);
    std::size_t small = 0;
    std::size_t signal = 0;
    std::size_t busNets = 0;
    std::size_t biggestPower = 0;
    for (const auto& net : b.nets) {
        if (net.power) {
            biggestPower = std::max(biggestPower, net.pins.size());
            continue;
        }
        ++signal;
        small += net.pins.size() >= 2 && net.pins.size() <= 4;
        busNets += net.name.find("_D") != std::string::npos;
    }
    EXPECT_GT(small * 100, signal * 80); // mostly 2- to 4-pin nets
    EXPECT_GT(busNets, signal / 20);
    EXPECT_GT(biggestPower, 1000u);
    EXPECT_GT(b.connectedPins(), 3 * b.nets.size());
    const bool hasGrid = std::any_of(b.parts.begin(), b.parts.end(),
                                     [](const bench::Part& p) { return p.gridPins; });
    EXPECT_TRUE(hasGrid);

    // A large board splits its ground and supplies rather than grow a net past 8000 pins.
    const Board large = board(60000);
    for (const auto& net : large.nets)
        EXPECT_LE(net.pins.size(), 8000u) << net.name;
    EXPECT_NE(std::find_if(large.nets.begin(), large.nets.end(),
                           [](const bench::Net& n) { return n.name == "GND_2"; }),
              large.nets.end());
}

TEST(NetlistGenerator, RejectsBoardsThatCannotBeBuilt) {
    EXPECT_THROW(board(0), std::invalid_argument);
    EXPECT_THROW(board(5000, 1, 3), std::invalid_argument); // three parts, 5000 nets
    EXPECT_THROW(bench::writeNetlist(board(10), "EDIF"), std::invalid_argument);
    RevisionSpec tooMuch;
    tooMuch.changes = 1.5;
    EXPECT_THROW(bench::reviseBoard(board(10), tooMuch), std::invalid_argument);
}

TEST(NetlistGenerator, RevisionsKeepEveryPinInOneNetAtMostAndAddOnlyUnconnectedPins) {
    const Board b = board(250, 8);
    std::set<std::string> side1Pins;
    for (const auto& net : b.nets)
        for (const auto& pin : net.pins)
            side1Pins.insert(b.pinText(pin));
    // Every net changed at once: each signal net takes one change at most, and the changes
    // stop where the nets run out.
    const Revision r = revision(b, 1.0);
    const auto signalNets = static_cast<std::size_t>(std::count_if(
        b.nets.begin(), b.nets.end(), [](const bench::Net& n) { return !n.power; }));
    EXPECT_LE(r.renamedNets + 2 * r.movedPins + r.missingNets, signalNets);
    EXPECT_LT(r.renamedNets + r.movedPins + r.missingNets + r.extraNets, b.nets.size());
    std::set<std::string> side2Pins;
    for (const auto& net : r.board.nets) {
        EXPECT_GE(net.pins.size(), 2u) << net.name;
        for (const auto& pin : net.pins) {
            EXPECT_TRUE(side2Pins.insert(r.board.pinText(pin)).second) << r.board.pinText(pin);
            if (net.name.starts_with("ECO_")) {
                EXPECT_EQ(side1Pins.count(r.board.pinText(pin)), 0u) << net.name;
            }
        }
    }
    EXPECT_EQ(r.board.nets.size(), b.nets.size() - r.missingNets + r.extraNets);
}

TEST(NetlistGenerator, IsDeterministicForASeed) {
    const Board a = board(500, 11);
    const Board b = board(500, 11);
    EXPECT_EQ(bench::writeNetlist(a, "Telesis"), bench::writeNetlist(b, "Telesis"));
    EXPECT_NE(bench::writeNetlist(a, "Telesis"), bench::writeNetlist(board(500, 12), "Telesis"));
    const Revision ra = revision(a, 0.1, true);
    const Revision rb = revision(b, 0.1, true);
    EXPECT_EQ(bench::writeNetlist(ra.board, "PADSPCB"), bench::writeNetlist(rb.board, "PADSPCB"));
    EXPECT_EQ(ra.swapText, rb.swapText);
}

// Every writer against the Telesis writer, through the readers and the whole run: the
// board in the format as side 1, and its unchanged revision in the format as side 2.
TEST(NetlistGenerator, EveryFormatReadsAsAFullMatchWithTelesis) {
    const Board b = board(300, 5);
    const Revision same = revision(b, 0.0);
    EXPECT_EQ(bench::writableFormats().size(), 32u);
    for (const std::string_view format : bench::writableFormats()) {
        SCOPED_TRACE(format);
        const RunResult asSide1 = compare(b, format, b, "Telesis");
        EXPECT_EQ(asSide1.outcome, RunOutcome::Completed);
        EXPECT_TRUE(asSide1.allClear);
        const RunResult asSide2 = compare(b, "Telesis", same.board, format);
        EXPECT_EQ(asSide2.outcome, RunOutcome::Completed);
        EXPECT_TRUE(asSide2.allClear);
        EXPECT_FALSE(bench::fileExtension(format).empty());
    }
}

TEST(NetlistGenerator, ChangesShowInTheComparisonAsCounted) {
    const Board b = board(400, 9);
    const Revision changed = revision(b, 0.1);
    EXPECT_EQ(changed.renamedNets + changed.movedPins + changed.missingNets + changed.extraNets,
              40u);
    EXPECT_GT(changed.movedPins, 0u);
    EXPECT_GT(changed.missingNets, 0u);
    EXPECT_GT(changed.extraNets, 0u);
    EXPECT_TRUE(changed.swapText.empty());

    // A moved pin changes two nets; renamed nets match by their pins.
    for (const auto format : {"Telesis", "PADSPCB"}) {
        SCOPED_TRACE(format);
        const RunResult r = compare(b, format, changed.board, format);
        EXPECT_EQ(r.outcome, RunOutcome::Completed);
        EXPECT_FALSE(r.allClear);
        EXPECT_EQ(r.differenceBlocks, 2 * changed.movedPins);
        EXPECT_EQ(r.unpaired1, changed.missingNets);
        EXPECT_EQ(r.unpaired2, changed.extraNets);
    }

    // Renumbered on top: with the swap file the same result, without it far more.
    const Revision renumbered = revision(b, 0.1, true);
    EXPECT_EQ(renumbered.movedPins, changed.movedPins);
    const RunResult withSwap =
        compare(b, "PROTEL", renumbered.board, "Telesis", renumbered.swapText);
    EXPECT_EQ(withSwap.outcome, RunOutcome::Completed);
    EXPECT_EQ(withSwap.differenceBlocks, 2 * renumbered.movedPins);
    EXPECT_EQ(withSwap.unpaired1, renumbered.missingNets);
    EXPECT_EQ(withSwap.unpaired2, renumbered.extraNets);
    const RunResult withoutSwap = compare(b, "PROTEL", renumbered.board, "Telesis");
    EXPECT_GT(withoutSwap.differenceBlocks + withoutSwap.unpaired1,
              withSwap.differenceBlocks + withSwap.unpaired1);
}

TEST(NetlistGenerator, RenumberingAloneWithTheSwapFileIsAFullMatch) {
    const Board b = board(300, 4);
    const Revision renumbered = revision(b, 0.0, true, 0.2);
    ASSERT_GT(renumbered.renumberedReferences, 10u);
    EXPECT_EQ(std::count(renumbered.swapText.begin(), renumbered.swapText.end(), '\n'),
              static_cast<std::ptrdiff_t>(renumbered.renumberedReferences));
    // Some references trade places (R5 -> R9 and R9 -> R5): each pin must be renamed once.
    std::set<std::string> olds;
    std::set<std::string> news;
    for (const auto& line : test::crlfLines(renumbered.swapText)) {
        const auto blank = line.find(' ');
        olds.insert(line.substr(0, blank));
        news.insert(line.substr(blank + 1));
    }
    EXPECT_TRUE(std::any_of(news.begin(), news.end(),
                            [&](const std::string& n) { return olds.count(n) > 0; }));

    for (const auto format : {"Telesis", "CR5000", "FUTURE"}) {
        SCOPED_TRACE(format);
        const RunResult withSwap =
            compare(b, format, renumbered.board, format, renumbered.swapText);
        EXPECT_EQ(withSwap.outcome, RunOutcome::Completed);
        EXPECT_TRUE(withSwap.allClear);
        EXPECT_FALSE(compare(b, format, renumbered.board, format).allClear);
    }
}

TEST(NetlistGenerator, ProgramWritesBothSidesAndTheSwapFile) {
    test::TempDir dir;
    const std::string command = "'" LINTORA_GEN_NETLIST "' --nets 200 --seed 3 --format PADSPCB"
                                " --changes 0 --renumber --out '" +
                                dir.path().string() + "/out' > '" + dir.path().string() +
                                "/summary.txt'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string summary = test::readFile(dir / "summary.txt");
    EXPECT_TRUE(summary.starts_with("200 nets, ")) << summary;
    EXPECT_NE(summary.find("side1.asc"), std::string::npos) << summary;

    test::ComparisonFixture fx;
    fx.inputs.path1 = (dir / "out/side1.asc").string();
    fx.inputs.path2 = (dir / "out/side2.asc").string();
    fx.inputs.swapPath = (dir / "out/side2.swp").string();
    fx.inputs.format1 = "PADSPCB";
    fx.inputs.format2 = "PADSPCB";
    const RunResult r = fx.run();
    EXPECT_EQ(r.outcome, RunOutcome::Completed);
    EXPECT_TRUE(r.allClear);

    // A bad request is refused with a message, not with a crash.
    const std::string refused = "'" LINTORA_GEN_NETLIST "' --nets 100 --format EDIF --out '" +
                                dir.path().string() + "/bad' 2> /dev/null";
    const int badStatus = std::system(refused.c_str());
    ASSERT_TRUE(WIFEXITED(badStatus));
    EXPECT_NE(WEXITSTATUS(badStatus), 0);
}

} // namespace
} // namespace lintora
