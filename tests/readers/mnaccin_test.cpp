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
    const auto input = sw.dir / "input.net";
    test::writeFile(input, text);
    Conversion result;
    mnaccin(sw.ws, input.string(), result.status);
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

TEST(MnaccinReader, ConvertsComponentsAndNetsInAnyLetterCase) {
    const auto c = convert("(netlist \"B1\"\r\n"
                           "  (COMPINST \"r1\"\r\n"
                           "    (compRef \"RES\")\r\n"
                           "    (patternName \"1608\")\r\n"
                           "    (CompValue \"10 K\")\r\n"
                           "  )\r\n"
                           "  (compInst \"U1\" (compValue \"74LS00\") (patternName \"DIP14\"))\r\n"
                           "  (net \"gnd\"\r\n"
                           "    (node \"U1\" \"7\")\r\n"
                           "    (NODE \"r1\" \"2\"))\r\n"
                           "  (net \"MY NET\"\r\n"
                           "    (node \"U1\" \"1\")))\r\n"
                           "  (net \"AFTER\"\r\n"
                           "    (node \"U1\" \"2\"))\r\n");
    EXPECT_EQ(c.status, "good");
    // Part name from the pattern, the value in the footprint slot; blanks leave values.
    EXPECT_EQ(c.parts, written({"! 1608; R1: 10K? ", "! DIP14; U1: 74LS00? "}));
    // ")))" ends the net list: nothing after it is read.
    EXPECT_EQ(c.net, written({"GND; 2: U1.7, R1.2, ", "MYNET; 1: U1.1, "}));
}

TEST(MnaccinReader, ANodeWithoutQuotedValues) {
    const auto c = convert("(net \"A\"\r\n"
                           "  (node \"U1\" 7)\r\n" // pin number not quoted: reference alone
                           "  (node U2 7)\r\n"     // nothing quoted: no pin
                           "  (node \"U3\" \"1\"))\r\n");
    EXPECT_EQ(c.net, written({"A; 2: U1, U3.1, "}));
}

TEST(MnaccinReader, NetsClosedOnTheirOwnLineOrNotAtAll) {
    // A net whose brackets close on a later line, or never, still keeps every pin it read.
    const auto c = convert("(net \"A\"\r\n"
                           "  (node \"U1\" \"1\")\r\n"
                           ")\r\n"
                           "(net \"B\"\r\n"
                           "  (node \"U1\" \"2\")\r\n"
                           "  (node \"U2\" \"2\")\r\n");
    EXPECT_EQ(c.net, written({"A; 1: U1.1, ", "B; 2: U1.2, U2.2, "}));
}

TEST(MnaccinReader, StrayClosingBracketsWriteNoExtraNet) {
    const auto c = convert("(net \"A\"\r\n  (node \"U1\" \"1\"))\r\n  ))\r\n))\r\n");
    EXPECT_EQ(c.net, written({"A; 1: U1.1, "}));
}

TEST(MnaccinReader, WithoutANetEntryNothingIsWritten) {
    for (const char* text : {"(compInst \"U1\" (compValue \"X\"))\r\n",
                             "(net\t\"A\"\r\n(node \"U1\" \"1\"))\r\n", // no blank after (net
                             "$PACKAGES\r\n$NETS\r\nGND ; U1.7\r\n$END\r\n"}) {
        SCOPED_TRACE(text);
        const auto c = convert(text);
        EXPECT_EQ(c.status, "bad");
        EXPECT_EQ(c.hides, 1);
        EXPECT_FALSE(c.parts.has_value());
        EXPECT_FALSE(c.net.has_value());
    }
}

TEST(MnaccinReader, SmallBoardMatchesItsTelesisVersion) {
    test::ComparisonFixture fx;
    fx.inputs.path1 = test::dataFile("readers/mnaccin/board.net").string();
    fx.inputs.format1 = "ACCEL";
    fx.inputs.path2 = test::dataFile("readers/mnaccin/board.tel").string();
    fx.inputs.format2 = "Telesis";
    const auto r = fx.run();
    EXPECT_EQ(r.outcome, RunOutcome::Completed);
    EXPECT_TRUE(r.allClear);
}

TEST(MnaccinReader, ATelesisFileIsAFormatMismatch) {
    test::ComparisonFixture fx;
    fx.inputs.path1 = test::dataFile("readers/mnaccin/board.tel").string();
    fx.inputs.format1 = "ACCEL";
    fx.inputs.path2 = test::dataFile("readers/mnaccin/board.net").string();
    fx.inputs.format2 = "ACCEL";
    EXPECT_EQ(fx.run().outcome, RunOutcome::FormatMismatch);
}

void expectSurvives(std::string_view text) {
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "input.net", text);
    std::string status;
    try {
        mnaccin(sw.ws, (sw.dir / "input.net").string(), status);
    } catch (const RunFailure&) {
    }
}

TEST(MnaccinReader, SurvivesTruncatedGarbledAndHugeInput) {
    const std::string board = "(compInst \"U1\"\r\n (patternName \"DIP14\")\r\n"
                              " (compValue \"74LS00\")\r\n)\r\n(net \"GND\"\r\n"
                              " (node \"U1\" \"7\")\r\n (node \"U2\" \"7\"))\r\n"
                              "(net \"VCC\"\r\n (node \"U1\" \"14\")))\r\n";
    for (std::size_t n = 0; n <= board.size(); ++n) {
        SCOPED_TRACE(n);
        expectSurvives(board.substr(0, n));
    }
    std::mt19937 random(17);
    const std::vector<std::string> pieces{"(net ",
                                          "(node ",
                                          "(compInst ",
                                          "(compValue ",
                                          "(patternName ",
                                          "\"",
                                          "\"U1\"",
                                          "(",
                                          ")",
                                          "))",
                                          ")))",
                                          ",",
                                          " ",
                                          "\t",
                                          "\r\n",
                                          "\n",
                                          "電",
                                          std::string(1, '\0')};
    for (int round = 0; round < 50; ++round) {
        std::string soup;
        for (int i = 0; i < 300; ++i)
            soup += pieces[random() % pieces.size()];
        expectSurvives(soup);
    }
    // Unbalanced brackets, and one long line of nodes that must be read in one pass.
    expectSurvives("(net \"A\"\r\n" + std::string(100'000, '(') + "\r\n" +
                   std::string(100'000, ')'));
    std::string longLine = "(net \"A\"\r\n";
    for (int i = 0; i < 100'000; ++i)
        longLine += "(node ))";
    expectSurvives(longLine + "\"U1\" \"1\"))");
    std::string hugeNet = "(net \"BIG\"\r\n";
    for (int i = 0; i < 30000; ++i)
        hugeNet += "(node \"U" + std::to_string(i) + "\" \"1\")\r\n";
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "big.net", hugeNet + "))");
    std::string status;
    EXPECT_THROW(mnaccin(sw.ws, (sw.dir / "big.net").string(), status), CapacityExceeded);
}

} // namespace
} // namespace lintora
