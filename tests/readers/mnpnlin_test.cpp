#include "readers/readers.h"
#include "run/errors.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace lintora {
namespace {

using Converted = test::Conversion;

Converted convert(std::string_view text) { return test::convertWith(&mnpnlin, text, "input.nlt"); }

TEST(MnpnlinReader, ConvertsPartsAndNets) {
    const auto c = convert("P-CAD NETLIST BOARD1 = TEST;\r\n"
                           "%parts\r\n"
                           "74ls00 = U1, U2;\r\n"
                           "RES = R1,\r\n"
                           "   R2;\r\n"
                           "NETSWITCH = S1;\r\n" // NETS only as a word of its own
                           "%nets\r\n"
                           "gnd = U1/7 U2/7\r\n"
                           "   R1/2;\r\n"
                           "N 1 = U1/1 /X R2/A/1 S1/1;\r\n"
                           "CLK = U1/3 U2\r\n" // the line end does not end a pin
                           "/1 R1/\t2;\r\n");  // and TAB separates nothing
    EXPECT_EQ(c.status, "good");
    EXPECT_EQ(c.parts, test::writtenFile({"! 74LS00; U1: ? ", "! 74LS00; U2: ? ", "! RES; R1: ? ",
                                "! RES; R2: ? ", "! NETSWITCH; S1: ? "}));
    EXPECT_EQ(c.net, test::writtenFile({"GND; 3: U1.7, U2.7, R1.2, ", "N1; 4: U1.1, /X, R2.A.1, S1.1, ",
                              "CLK; 3: U1.3, U2.1, R1.2, "}));
}

TEST(MnpnlinReader, NeedsThePartsLineFollowedByNets) {
    for (const char* text : {"NETS\r\nA = U1/1;\r\n",              // no PARTS line
                             "%PARTS X\r\n%NETS\r\nA = U1/1;\r\n", // PARTS not alone
                             "%PARTS\r\n74LS00 = U1;\r\n"}) {      // no NETS
        SCOPED_TRACE(text);
        const auto c = convert(text);
        EXPECT_EQ(c.status, "bad");
        EXPECT_EQ(c.hides, 1);
        EXPECT_NE(c.parts, "(none)");
        EXPECT_EQ(c.net, "(none)");
    }
}

TEST(MnpnlinReader, TheLastNetSurvivesAMissingSemicolon) {
    const auto c = convert("%PARTS\r\n%NETS\r\nA = U1/1;\r\nB = U1/2 U1/3");
    EXPECT_EQ(c.net, test::writtenFile({"A; 1: U1.1, ", "B; 2: U1.2, U1.3, "}));
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

    fx.inputs.format2 = "Pcad(nlt)"; // a Telesis file read as Pcad(nlt)
    EXPECT_EQ(fx.run().outcome, RunOutcome::FormatMismatch);
}

TEST(MnpnlinReader, SurvivesTruncatedGarbledAndHugeInput) {
    const auto survives = [](std::string_view text) {
        try {
            convert(text);
        } catch (const RunFailure&) {
        }
    };
    const std::string board = test::readFile(test::dataFile("readers/mnpnlin/board.nlt"));
    for (std::size_t n = 0; n <= board.size(); ++n)
        survives(board.substr(0, n));
    std::mt19937 random(11);
    const std::vector<std::string> pieces{
        "%PARTS\r\n", "%NETS\r\n", "NETS", "=",  ";",
        ",",          "/",         " ",    "\t", "\r\n",
        "\n",         "U1",        "%",    "電", std::string(1, '\0')};
    for (int round = 0; round < 50; ++round) {
        std::string soup;
        for (int i = 0; i < 300; ++i)
            soup += pieces[random() % pieces.size()];
        survives(soup);
    }
    survives("%PARTS\r\n%NETS\r\nA=" + std::string(2'000'000, 'X')); // one endless token
    std::string hugeNet = "%PARTS\r\n%NETS\r\nBIG =";
    for (int i = 0; i < 30000; ++i)
        hugeNet += " U" + std::to_string(i) + "/1";
    EXPECT_THROW(convert(hugeNet + ";"), CapacityExceeded);
}

} // namespace
} // namespace lintora
