#include "base/errors.h"
#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using Converted = test::Conversion;

Converted convert(std::string_view text) {
    return test::convertWith(&readPcadNlt, text, "input.nlt");
}

TEST(PcadNltReader, ConvertsPartsAndNets) {
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
    EXPECT_EQ(c.result, ReaderResult::Recognised);
    EXPECT_EQ(c.parts, test::writtenFile({"! 74LS00; U1: ? ", "! 74LS00; U2: ? ", "! RES; R1: ? ",
                                          "! RES; R2: ? ", "! NETSWITCH; S1: ? "}));
    EXPECT_EQ(c.net,
              test::writtenFile({"GND; 3: U1.7, U2.7, R1.2, ", "N1; 4: U1.1, /X, R2.A.1, S1.1, ",
                                 "CLK; 3: U1.3, U2.1, R1.2, "}));
}

TEST(PcadNltReader, NeedsThePartsLineFollowedByNets) {
    for (const char* text : {"NETS\r\nA = U1/1;\r\n",              // no PARTS line
                             "%PARTS X\r\n%NETS\r\nA = U1/1;\r\n", // PARTS not alone
                             "%PARTS\r\n74LS00 = U1;\r\n"}) {      // no NETS
        SCOPED_TRACE(text);
        const auto c = convert(text);
        EXPECT_EQ(c.result, ReaderResult::NotRecognised);
        EXPECT_EQ(c.hides, 1);
        EXPECT_NE(c.parts, "(none)");
        EXPECT_EQ(c.net, "(none)");
    }
}

TEST(PcadNltReader, TheLastNetSurvivesAMissingSemicolon) {
    const auto c = convert("%PARTS\r\n%NETS\r\nA = U1/1;\r\nB = U1/2 U1/3");
    EXPECT_EQ(c.net, test::writtenFile({"A; 1: U1.1, ", "B; 2: U1.2, U1.3, "}));
}

TEST(PcadNltReader, SmallBoardMatchesItsTelesisVersion) {
    test::expectFullMatchWithTelesis("readers/pcad_nlt/board.nlt", "Pcad(nlt)",
                                     "readers/pcad_nlt/board.tel");
}

TEST(PcadNltReader, SurvivesTruncatedGarbledAndHugeInput) {
    const std::vector<std::string> pieces{
        "%PARTS\r\n", "%NETS\r\n", "NETS", "=",  ";",
        ",",          "/",         " ",    "\t", "\r\n",
        "\n",         "U1",        "%",    "電", std::string(1, '\0')};
    std::vector<std::string> inputs = test::randomSoups(pieces, 50, 300, 11);
    inputs.push_back("%PARTS\r\n%NETS\r\nA=" + std::string(2'000'000, 'X')); // one endless token
    test::convertSurvivingEach(convert, inputs,
                               test::readFile(test::dataFile("readers/pcad_nlt/board.nlt")));
    std::string hugeNet = "%PARTS\r\n%NETS\r\nBIG =";
    for (int i = 0; i < 30000; ++i)
        hugeNet += " U" + std::to_string(i) + "/1";
    EXPECT_THROW(convert(hugeNet + ";"), CapacityExceeded);
}

TEST(PcadNltReader, AnEntryWithoutAPartNameGivesItsReferencesAnEmptyOne) {
    // Not the previous entry's name, and not a reference glued to the "=".
    const auto c = convert("%PARTS\r\nRES = R1;\r\n= J1, J2;\r\n%NETS\r\nA = R1/1 J1/1;\r\n");
    EXPECT_EQ(c.parts, test::writtenFile({"! RES; R1: ? ", "! ; J1: ? ", "! ; J2: ? "}));
}

} // namespace
} // namespace lintora
