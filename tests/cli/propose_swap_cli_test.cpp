// --propose-swap FILE: the run compares as usual and then writes the swap file that pairs the
// parts by their nets, for a second run with --swap FILE. The file must never land on one of
// the run's own files, and it is written after every completed run, even an empty one.
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <set>

namespace lintora {
namespace {

using Json = nlohmann::json;
using test::CliResult;
using test::runCli;

// A small amplifier: every part sits on its own set of nets, so each has one counterpart.
constexpr std::string_view kSchematic = "$PACKAGES\n"
                                        "SOIC8 ! LM358 ; U1\n"
                                        "R0603 ! 10K ; R1 R2\n"
                                        "R0603 ! 100K ; R3\n"
                                        "C0603 ! 100NF ; C1\n"
                                        "$NETS\n"
                                        "VCC ; U1.8 C1.1 R1.1\n"
                                        "GND ; U1.4 C1.2 R2.2\n"
                                        "IN ; R3.1 U1.3\n"
                                        "FB ; U1.2 R3.2 R2.1\n"
                                        "OUT ; U1.1 R1.2\n"
                                        "$END\n";

// The same board after back-annotation renumbered every reference.
constexpr std::string_view kRenumbered = "$PACKAGES\n"
                                         "SOIC8 ! LM358 ; IC5\n"
                                         "R0603 ! 10K ; R11 R12\n"
                                         "R0603 ! 100K ; R13\n"
                                         "C0603 ! 100NF ; C21\n"
                                         "$NETS\n"
                                         "VCC ; IC5.8 C21.1 R11.1\n"
                                         "GND ; IC5.4 C21.2 R12.2\n"
                                         "IN ; R13.1 IC5.3\n"
                                         "FB ; IC5.2 R13.2 R12.1\n"
                                         "OUT ; IC5.1 R11.2\n"
                                         "$END\n";

const std::set<std::string> kRenumberings{"U1 IC5", "R1 R11", "R2 R12", "R3 R13", "C1 C21"};

// Writes the schematic as side1.tel and `side2` as side2.tel.
void writeBoards(const test::TempDir& dir, std::string_view side2) {
    test::writeFile(dir / "side1.tel", kSchematic);
    test::writeFile(dir / "side2.tel", side2);
}

const std::string kSides = " side1.tel side2.tel";

std::set<std::string> fileLines(const std::filesystem::path& path) {
    const std::vector<std::string> lines = test::crlfLines(test::readFile(path));
    return {lines.begin(), lines.end()};
}

bool contains(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

TEST(CommandLineSwapProposal, ARenumberedBoardMatchesFullyWithTheProposedFile) {
    test::TempDir dir;
    writeBoards(dir, kRenumbered);
    const CliResult first = runCli(dir, "--propose-swap proposal.swp" + kSides);
    EXPECT_EQ(first.exitCode, 1) << first.err;            // nothing matches by name yet
    EXPECT_TRUE(contains(first.out, "VCC")) << first.out; // the report still goes out
    ASSERT_TRUE(test::fileExists(dir / "proposal.swp")) << first.err;
    EXPECT_EQ(fileLines(dir / "proposal.swp"), kRenumberings)
        << test::readFile(dir / "proposal.swp");
    EXPECT_TRUE(contains(first.err, "lintora-cli: swap proposal: 5 reference pairs and 0 pin "
                                    "pairs proposed; 0 parts paired as themselves\n"))
        << first.err;
    EXPECT_TRUE(contains(first.err, "side-1 nets matching a side-2 net: 0 of 5 before, 5 of 5 "
                                    "after\n"))
        << first.err;
    EXPECT_TRUE(contains(first.err, "lintora-cli: wrote proposal.swp (5 pairs); run again with "
                                    "--swap proposal.swp to see the real differences\n"))
        << first.err;

    // The parts lines are renamed too: the parts compare alike as well.
    const CliResult second = runCli(dir, "-q --parts --swap proposal.swp" + kSides);
    EXPECT_EQ(second.exitCode, 0) << second.err << second.out;
    EXPECT_TRUE(second.err.empty()) << second.err;

    // The user's own pairs lead the file as written, and are told apart in the count.
    test::writeFile(dir / "mine.swp", "U1 IC5\r\n");
    const CliResult mine = runCli(dir, "--swap mine.swp --propose-swap proposal.swp" + kSides);
    const std::vector<std::string> lines = test::crlfLines(test::readFile(dir / "proposal.swp"));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "U1 IC5");
    EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()), kRenumberings);
    EXPECT_TRUE(contains(mine.err, "wrote proposal.swp (5 pairs, 1 of them from your swap file)"))
        << mine.err;
}

TEST(CommandLineSwapProposal, NeverWritesOverTheRunsOwnFiles) {
    test::TempDir dir;
    writeBoards(dir, kRenumbered);
    test::writeFile(dir / "mine.swp", "U1 IC5\r\n");
    test::writeFile(dir / "ignore.txt", "TP\n");
    struct Case {
        std::string arguments; // besides the two sides
        std::string file;      // the file that must stay as it is
        std::string said;
    };
    const std::vector<Case> cases{
        {"--swap mine.swp --propose-swap mine.swp", "mine.swp", "is also your --swap file"},
        {"--swap mine.swp --propose-swap ./mine.swp", "mine.swp", "your --swap file"},
        {"--propose-swap side1.tel", "side1.tel", "is also FILE1"},
        {"--propose-swap \"$PWD/side2.tel\"", "side2.tel", "is also FILE2"},
        {"--ignore-file ignore.txt --propose-swap ignore.txt", "ignore.txt", "--ignore-file"},
        {"--json mine.swp --propose-swap mine.swp", "mine.swp", "the --json report"},
        {"--propose-swap cmp.txt", "side1.tel", "a report of the run, cmp.txt"},
    };
    for (const Case& c : cases) {
        const std::string before = test::readFile(dir / c.file);
        const CliResult r = runCli(dir, c.arguments + kSides);
        EXPECT_EQ(r.exitCode, 2) << c.arguments;
        EXPECT_TRUE(contains(r.err, "lintora-cli: --propose-swap ")) << r.err;
        EXPECT_TRUE(contains(r.err, c.said)) << r.err;
        EXPECT_EQ(test::readFile(dir / c.file), before) << c.arguments;
        EXPECT_FALSE(test::fileExists(dir / "cmp.txt")) << c.arguments; // no run at all
    }
    const CliResult empty = runCli(dir, "--propose-swap ''" + kSides);
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_TRUE(contains(empty.err, "--propose-swap: give the file")) << empty.err;
}

TEST(CommandLineSwapProposal, TheJsonReportCarriesTheProposalAndTheIgnoreSettings) {
    test::TempDir dir;
    writeBoards(dir, kRenumbered);
    test::writeFile(dir / "ignore.txt", "TP9\n");
    const CliResult r = runCli(dir, "-q --json result.json --propose-swap proposal.swp --ignore MH "
                                    "--ignore TP3 --ignore-file ignore.txt --skip-one-pin-nets" +
                                        kSides);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    const Json json = Json::parse(test::readFile(dir / "result.json"));
    const Json& settings = json["settings"];
    EXPECT_EQ(settings["ignoredParts"], Json({"MH", "TP3"}));
    EXPECT_EQ(settings["ignoreFile"], "ignore.txt");
    EXPECT_EQ(settings["skipOnePinNets"], true);
    EXPECT_EQ(settings["proposeSwap"], "proposal.swp");

    const Json& p = json["swapProposal"];
    ASSERT_TRUE(p.is_object()) << json.dump(2);
    EXPECT_EQ(p["file"], "proposal.swp");
    EXPECT_EQ(p["written"], true);
    EXPECT_EQ(p["userPairs"], Json::array());
    EXPECT_EQ(p["pinPairs"], Json::array());
    // Each pair with the side-1 nets it makes match: U1 sits on all five.
    const std::map<std::string, std::pair<std::string, int>> expected{{"U1", {"IC5", 5}},
                                                                      {"R1", {"R11", 2}},
                                                                      {"R2", {"R12", 2}},
                                                                      {"R3", {"R13", 2}},
                                                                      {"C1", {"C21", 2}}};
    std::map<std::string, std::pair<std::string, int>> pairs;
    std::set<std::string> asLines;
    for (const Json& pair : p["referencePairs"]) {
        pairs[pair["old"]] = {pair["new"], pair["netsMatched"]};
        asLines.insert(pair["old"].get<std::string>() + " " + pair["new"].get<std::string>());
    }
    EXPECT_EQ(pairs, expected) << p.dump(2);
    EXPECT_EQ(asLines, fileLines(dir / "proposal.swp")); // the file says the same
    EXPECT_EQ(p["notProposed"], Json::array());
    EXPECT_EQ(p["partsPairedAsThemselves"], 0);
    EXPECT_EQ(p["netsMatchingBefore"], 0);
    EXPECT_EQ(p["netsMatchingAfter"], 5);
    EXPECT_EQ(p["nets1"], 5);

    // Without the option: no proposal, and the settings say so.
    ASSERT_EQ(runCli(dir, "-q --json plain.json" + kSides).exitCode, 1);
    const Json plain = Json::parse(test::readFile(dir / "plain.json"));
    EXPECT_TRUE(plain["swapProposal"].is_null());
    EXPECT_TRUE(plain["settings"]["proposeSwap"].is_null());
    EXPECT_TRUE(plain["settings"]["ignoreFile"].is_null());
    EXPECT_EQ(plain["settings"]["ignoredParts"], Json::array());
}

TEST(CommandLineSwapProposal, ABoardComparedWithItselfGetsAnEmptyFile) {
    test::TempDir dir;
    writeBoards(dir, kSchematic);
    test::writeFile(dir / "proposal.swp", "X1 X2\r\n"); // from an earlier run: replaced
    const CliResult r = runCli(dir, "--propose-swap proposal.swp" + kSides);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(test::readFile(dir / "proposal.swp"), "");
    EXPECT_TRUE(contains(r.err, "lintora-cli: swap proposal: nothing to propose;")) << r.err;
    EXPECT_TRUE(contains(r.err, "lintora-cli: wrote proposal.swp (0 pairs): nothing to swap\n"))
        << r.err;
    EXPECT_FALSE(contains(r.err, "run again")) << r.err;

    // --quiet leaves out the summary, not the file.
    test::writeFile(dir / "proposal.swp", "X1 X2\r\n");
    const CliResult quiet = runCli(dir, "-q --propose-swap proposal.swp" + kSides);
    EXPECT_EQ(quiet.exitCode, 0);
    EXPECT_TRUE(quiet.err.empty()) << quiet.err;
    EXPECT_EQ(test::readFile(dir / "proposal.swp"), "");
}

TEST(CommandLineSwapProposal, AFileThatCannotBeWrittenStopsWithExitTwoAndARunThatStopsWritesNone) {
    test::TempDir dir;
    writeBoards(dir, kRenumbered);
    const CliResult r =
        runCli(dir, "--json result.json --propose-swap missing/proposal.swp" + kSides);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(contains(r.err, "ファイルを書き込めませんでした。：missing/proposal.swp\n"
                                "lintora-cli: the swap proposal missing/proposal.swp cannot be "
                                "written"))
        << r.err;
    EXPECT_FALSE(contains(r.err, "wrote missing/proposal.swp")) << r.err;
    EXPECT_TRUE(contains(r.out, "VCC")); // the comparison itself completed
    const Json json = Json::parse(test::readFile(dir / "result.json"));
    EXPECT_EQ(json["swapProposal"]["written"], false);
    EXPECT_EQ(json["outcome"]["exitStatus"], 2);
    EXPECT_TRUE(contains(json["outcome"]["context"].get<std::string>(), "swap proposal"));

    const CliResult stopped = runCli(dir, "--propose-swap proposal.swp side1.tel nowhere.tel");
    EXPECT_EQ(stopped.exitCode, 2);
    EXPECT_FALSE(test::fileExists(dir / "proposal.swp"));
}

// A swap file holds 1001 pairs unless --no-limits lifts that; the run that proposes more says
// so, and the run with the file indeed needs the option.
TEST(CommandLineSwapProposal, MorePairsThanASwapFileHoldsNeedNoLimitsTheNextTime) {
    test::TempDir dir;
    writeBoards(dir, kRenumbered);
    const auto fillers = [](int count) { // pairs of names no netlist here has
        std::string text;
        for (int i = 0; i < count; ++i)
            text += "X" + std::to_string(i) + " Y" + std::to_string(i) + "\r\n";
        return text;
    };

    test::writeFile(dir / "full.swp", fillers(1001)); // exactly as many as a file holds
    test::writeFile(dir / "same.tel", kSchematic);
    const CliResult atLimit =
        runCli(dir, "--swap full.swp --propose-swap at_limit.swp side1.tel same.tel");
    EXPECT_EQ(atLimit.exitCode, 0) << atLimit.err;
    EXPECT_FALSE(contains(atLimit.err, "--no-limits")) << atLimit.err;
    EXPECT_EQ(runCli(dir, "-q --swap at_limit.swp side1.tel same.tel").exitCode, 0);

    test::writeFile(dir / "many.swp", fillers(1000)); // and five proposed pairs
    const CliResult over = runCli(dir, "--swap many.swp --propose-swap over.swp" + kSides);
    EXPECT_EQ(over.exitCode, 1) << over.err;
    EXPECT_TRUE(contains(over.err, "lintora-cli: warning: over.swp holds 1005 pairs, more than "
                                   "the 1001 a swap file may hold: the run with --swap over.swp "
                                   "needs --no-limits\n"))
        << over.err;
    EXPECT_TRUE(contains(over.err, "run again with --swap over.swp --no-limits")) << over.err;
    EXPECT_EQ(runCli(dir, "-q --swap over.swp" + kSides).exitCode, 2);
    EXPECT_EQ(runCli(dir, "-q --no-limits --swap over.swp" + kSides).exitCode, 0);
}

} // namespace
} // namespace lintora
