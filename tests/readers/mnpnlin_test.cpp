#include "readers/readers.h"
#include "run/errors.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

namespace lintora {
namespace {

struct Conversion {
    std::string status;
    std::optional<std::string> net;
    std::optional<std::string> parts;
    int hides = 0;
};

Conversion convert(std::string_view text) {
    test::ScratchWorkspace sw;
    const auto input = sw.dir / "input.nlt";
    test::writeFile(input, text);
    Conversion result;
    mnpnlin(sw.ws, input.string(), result.status);
    if (test::fileExists(sw.dir / "net.tmp"))
        result.net = test::readFile(sw.dir / "net.tmp");
    if (test::fileExists(sw.dir / "parts.tmp"))
        result.parts = test::readFile(sw.dir / "parts.tmp");
    result.hides = sw.observer.hides;
    return result;
}

std::string written(const std::vector<std::string>& lines) {
    return test::crlfText(lines) + "\r\n";
}

TEST(MnpnlinReader, ConvertsPartsAndNets) {
    const auto c = convert("P-CAD NETLIST BOARD1 = TEST;\r\n"
                           "%parts\r\n"
                           "74ls00 = U1, U2;\r\n"
                           "RES = R1,\r\n"
                           "   R2;\r\n"
                           "%nets\r\n"
                           "gnd = U1/7 U2/7\r\n"
                           "   R1/2;\r\n"
                           "N 1 = U1/1 /X R2/A/1;\r\n");
    EXPECT_EQ(c.status, "good");
    EXPECT_EQ(c.parts,
              written({"! 74LS00; U1: ? ", "! 74LS00; U2: ? ", "! RES; R1: ? ", "! RES; R2: ? "}));
    // Blanks before "=" are dropped; every "/" after a pin's first character becomes ".".
    EXPECT_EQ(c.net, written({"GND; 3: U1.7, U2.7, R1.2, ", "N1; 3: U1.1, /X, R2.A.1, "}));
}

TEST(MnpnlinReader, ALineEndDoesNotEndAPin) {
    // A pin wrapped without a blank joins the next line's text; TAB separates nothing.
    const auto c = convert("%PARTS\r\n%NETS\r\nCLK = U1/3 U2\r\n/1 R1/\t2;\r\n");
    EXPECT_EQ(c.net, written({"CLK; 3: U1.3, U2.1, R1.2, "}));
}

TEST(MnpnlinReader, NetsKeywordIsAWordOfItsOwn) {
    // A part name that starts with NETS does not open the nets section.
    const auto c = convert("%PARTS\r\nNETSWITCH = S1;\r\n%NETS\r\nA = S1/1;\r\n");
    EXPECT_EQ(c.parts, written({"! NETSWITCH; S1: ? "}));
    EXPECT_EQ(c.net, written({"A; 1: S1.1, "}));
}

TEST(MnpnlinReader, NeedsThePartsLineFollowedByNets) {
    for (const char* text : {"NETS\r\nA = U1/1;\r\n",              // no PARTS line
                             "%PARTS X\r\n%NETS\r\nA = U1/1;\r\n", // PARTS not alone
                             "%PARTS\r\n74LS00 = U1;\r\n"}) {      // no NETS
        SCOPED_TRACE(text);
        const auto c = convert(text);
        EXPECT_EQ(c.status, "bad");
        EXPECT_EQ(c.hides, 1);
        EXPECT_TRUE(c.parts.has_value());
        EXPECT_FALSE(c.net.has_value());
    }
}

TEST(MnpnlinReader, TheLastNetSurvivesAMissingSemicolon) {
    const auto c = convert("%PARTS\r\n%NETS\r\nA = U1/1;\r\nB = U1/2 U1/3");
    EXPECT_EQ(c.net, written({"A; 1: U1.1, ", "B; 2: U1.2, U1.3, "}));
}

TEST(MnpnlinReader, SmallBoardMatchesItsTelesisVersion) {
    test::ComparisonFixture fx;
    fx.inputs.path1 = test::dataFile("readers/mnpnlin/board.nlt").string();
    fx.inputs.format1 = "Pcad(nlt)";
    fx.inputs.path2 = test::dataFile("readers/mnpnlin/board.tel").string();
    fx.inputs.format2 = "Telesis";
    const auto r = fx.run();
    EXPECT_EQ(r.outcome, RunOutcome::Completed);
    EXPECT_TRUE(r.allClear);
}

TEST(MnpnlinReader, ATelesisFileIsAFormatMismatch) {
    test::ComparisonFixture fx;
    fx.inputs.path1 = test::dataFile("readers/mnpnlin/board.nlt").string();
    fx.inputs.format1 = "Pcad(nlt)";
    fx.inputs.path2 = test::dataFile("readers/mnpnlin/board.tel").string();
    fx.inputs.format2 = "Pcad(nlt)";
    EXPECT_EQ(fx.run().outcome, RunOutcome::FormatMismatch);
}

void expectSurvives(std::string_view text) {
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "input.nlt", text);
    std::string status;
    try {
        mnpnlin(sw.ws, (sw.dir / "input.nlt").string(), status);
    } catch (const RunFailure&) {
    }
}

TEST(MnpnlinReader, SurvivesTruncatedGarbledAndHugeInput) {
    const std::string board = test::readFile(test::dataFile("readers/mnpnlin/board.nlt"));
    for (std::size_t n = 0; n <= board.size(); ++n) {
        SCOPED_TRACE(n);
        expectSurvives(board.substr(0, n));
    }
    std::mt19937 random(11);
    const std::vector<std::string> pieces{
        "%PARTS\r\n", "%NETS\r\n", "PARTS", "NETS", "=",  ";", ",",  "/",
        " ",          "\t",        "\r\n",  "\n",   "U1", "%", "電", std::string(1, '\0')};
    for (int round = 0; round < 50; ++round) {
        std::string soup;
        for (int i = 0; i < 300; ++i)
            soup += pieces[random() % pieces.size()];
        expectSurvives(soup);
    }
    // One long line without a single separator: the token just grows.
    expectSurvives("%PARTS\r\n%NETS\r\nA=" + std::string(2'000'000, 'X'));
    std::string hugeNet = "%PARTS\r\n%NETS\r\nBIG =";
    for (int i = 0; i < 30000; ++i)
        hugeNet += " U" + std::to_string(i) + "/1";
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "big.nlt", hugeNet + ";");
    std::string status;
    EXPECT_THROW(mnpnlin(sw.ws, (sw.dir / "big.nlt").string(), status), CapacityExceeded);
}

} // namespace
} // namespace lintora
