#include "base/errors.h"
#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using Converted = test::Conversion;

Converted convert(std::string_view text) {
    return test::convertWith(&readAccel, text, "input.net");
}

TEST(AccelReader, ConvertsComponentsAndNetsInAnyLetterCase) {
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
                           "    (node \"U1\" 1)\r\n" // pin number not quoted: reference alone
                           "    (node U2 1)\r\n"     // nothing quoted: no pin
                           "    (node \"U1\" \"2\")))\r\n"
                           "  (net \"AFTER\"\r\n"
                           "    (node \"U1\" \"3\"))\r\n");
    EXPECT_EQ(c.result, ReaderResult::Recognised);
    // Part name from the pattern, the value in the footprint slot; blanks leave values.
    EXPECT_EQ(c.parts, test::writtenFile({"! 1608; R1: 10K? ", "! DIP14; U1: 74LS00? "}));
    // ")))" ends the net list: nothing after it is read.
    EXPECT_EQ(c.net, test::writtenFile({"GND; 2: U1.7, R1.2, ", "MYNET; 2: U1, U1.2, "}));
}

TEST(AccelReader, EveryNetKeepsExactlyItsOwnPins) {
    // Brackets closed on a later line, never, or once too often: each net is written once,
    // with every pin it read.
    const auto c = convert("(net \"A\"\r\n"
                           "  (node \"U1\" \"1\")\r\n"
                           ")\r\n"
                           "(net \"B\"\r\n"
                           "  (node \"U1\" \"2\"))\r\n"
                           "  ))\r\n"
                           "(net \"C\"\r\n"
                           "  (node \"U1\" \"3\")\r\n"
                           "  (node \"U2\" \"3\")\r\n");
    EXPECT_EQ(c.net, test::writtenFile({"A; 1: U1.1, ", "B; 1: U1.2, ", "C; 2: U1.3, U2.3, "}));
}

TEST(AccelReader, WithoutANetEntryNothingIsWritten) {
    for (const char* text : {"(compInst \"U1\" (compValue \"X\"))\r\n",
                             "(net\t\"A\"\r\n(node \"U1\" \"1\"))\r\n", // no blank after (net
                             "$PACKAGES\r\n$NETS\r\nGND ; U1.7\r\n$END\r\n"}) {
        SCOPED_TRACE(text);
        const auto c = convert(text);
        EXPECT_EQ(c.result, ReaderResult::NotRecognised);
        EXPECT_EQ(c.hides, 1);
        EXPECT_EQ(c.parts, "(none)");
        EXPECT_EQ(c.net, "(none)");
    }
}

TEST(AccelReader, SmallBoardMatchesItsTelesisVersion) {
    test::expectFullMatchWithTelesis("readers/accel/board.net", "ACCEL", "readers/accel/board.tel");
}

TEST(AccelReader, SurvivesTruncatedGarbledAndHugeInput) {
    const std::string board = "(compInst \"U1\"\r\n (patternName \"DIP14\")\r\n"
                              " (compValue \"74LS00\")\r\n)\r\n(net \"GND\"\r\n"
                              " (node \"U1\" \"7\")\r\n (node \"U2\" \"7\"))\r\n"
                              "(net \"VCC\"\r\n (node \"U1\" \"14\")))\r\n";
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
                                          "電",
                                          std::string(1, '\0')};
    std::vector<std::string> inputs = test::randomSoups(pieces, 50, 300, 17);
    // Unbalanced brackets, and one long line of nodes that must be read in one pass.
    inputs.push_back("(net \"A\"\r\n" + std::string(100'000, '(') + "\r\n" +
                     std::string(100'000, ')'));
    std::string longLine = "(net \"A\"\r\n";
    for (int i = 0; i < 100'000; ++i)
        longLine += "(node ))";
    inputs.push_back(longLine + "\"U1\" \"1\"))");
    test::convertSurvivingEach(convert, inputs, board);
    std::string hugeNet = "(net \"BIG\"\r\n";
    for (int i = 0; i < 30000; ++i)
        hugeNet += "(node \"U" + std::to_string(i) + "\" \"1\")\r\n";
    EXPECT_THROW(convert(hugeNet + "))"), CapacityExceeded);
}

TEST(AccelReader, AComponentWithAnEmptyValueIsKept) {
    const auto c = convert("(compInst \"J1\"\r\n"
                           "  (patternName \"CONN2\")\r\n"
                           "  (compValue \"\")\r\n"
                           ")\r\n"
                           "(net \"GND\"\r\n  (node \"J1\" \"1\")))\r\n");
    EXPECT_EQ(c.parts, test::writtenFile({"! CONN2; J1: ? "}));
}

} // namespace
} // namespace lintora
