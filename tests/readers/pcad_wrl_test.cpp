#include "base/errors.h"
#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using Converted = test::Conversion;

Converted convert(std::string_view text) {
    return test::convertWith(&readPcadWrl, text, "input.wrl", "(none)");
}

TEST(PcadWrlReader, ConvertsNamesContinuationsAndPins) {
    const auto c = convert("% wire list\r\n"
                           "  gnd                   u1-7 U2-7\r\n"
                           "\r\n"
                           "% a comment inside a net\r\n"
                           "                        U1-A-3  -5\r\n"
                           "電源 U3-7\r\n" // the third character, not byte, is a blank
                           "  A_VERY_LONG_NET_NAME_OF_30_CH U1-1\r\n"
                           "  SPARE\r\n"
                           "  VCC\r\n"
                           "        U1-14\r\n");
    // Only the first "-" after a pin's first character becomes "."; a long name is kept
    // whole; a net without pins gets count 0, not the previous net's pins.
    EXPECT_EQ(c.net, test::writtenFile({"GND; 6: U1.7, U2.7, U1.A-3, -5, 電源, U3.7, ",
                                        "A_VERY_LONG_NET_NAME_OF_30_CH; 1: U1.1, ",
                                        "SPARE; 0: ", "VCC; 1: U1.14, "}));
    EXPECT_EQ(c.parts, test::writtenFile({})); // the format has no parts
    // The format has no landmark: a file whose last net has a pin is taken as one.
    EXPECT_EQ(c.result, ReaderResult::Recognised);
    EXPECT_EQ(convert("  A  U1-1\r\n").result, ReaderResult::Recognised);
}

TEST(PcadWrlReader, AFileWhoseLastNetHasNoPinIsBad) {
    for (const char* text :
         {"", "% only comments\r\n", "      U1-1 U2-1\r\n", "  A U1-1\r\n  B\r\n",
          "$PACKAGES\r\n$NETS\r\nGND ; U1.7\r\n$END\r\n"}) {
        SCOPED_TRACE(text);
        const auto c = convert(text);
        EXPECT_EQ(c.result, ReaderResult::NotRecognised);
        EXPECT_EQ(c.hides, 1);
        EXPECT_EQ(c.parts, test::writtenFile({}));
        EXPECT_EQ(c.net, "(none)");
    }
}

TEST(PcadWrlReader, SmallBoardMatchesItsTelesisVersion) {
    test::expectFullMatchWithTelesis("readers/pcad_wrl/board.wrl", "Pcad(wrl)",
                                     "readers/pcad_wrl/board.tel");
}

TEST(PcadWrlReader, SurvivesTruncatedGarbledAndHugeInput) {
    const std::vector<std::string> pieces{"  ", " ",  "-", "%",  "\r\n", "\r",
                                          "\n", "U1", "A", "電", "\t",   std::string(1, '\0')};
    std::vector<std::string> inputs = test::randomSoups(pieces, 50, 300, 13);
    inputs.push_back("  A " + std::string(2'000'000, '-'));
    test::convertSurvivingEach([](std::string_view text) { convert(text); }, inputs,
                               test::readFile(test::dataFile("readers/pcad_wrl/board.wrl")));
    std::string hugeNet = "  BIG";
    for (int i = 0; i < 30000; ++i)
        hugeNet += " U" + std::to_string(i) + "-1";
    EXPECT_THROW(convert(hugeNet), CapacityExceeded);
}

TEST(PcadWrlReader, AMisalignedLineKeepsItsWordsAsPinsOfTheNetAbove) {
    // "U3-7 U4-7" starts in column 1: its third column is not blank, so the net above is
    // complete, but its words are not lost: they begin a further net of that name (and an
    // aligned line after them goes on with it), which the duplicate check reports. The same
    // for a word before a name ("X").
    const auto c = convert("  GND                   U1-7 U2-7\r\n"
                           "U3-7 U4-7\r\n"
                           "                        U5-7\r\n"
                           "  VCC                   U1-14\r\n"
                           "X N1                    U7-1\r\n");
    EXPECT_EQ(c.result, ReaderResult::Recognised);
    EXPECT_EQ(c.net, test::writtenFile({"GND; 2: U1.7, U2.7, ", "GND; 3: U3.7, U4.7, U5.7, ",
                                        "VCC; 1: U1.14, ", "VCC; 1: X, ", "N1; 1: U7.1, "}));
    // Words out of line alone do not make a file a wire list: its last named net still
    // needs a pin of its own.
    EXPECT_EQ(convert("  GND\r\nU3-7 U4-7\r\n").result, ReaderResult::NotRecognised);
}

} // namespace
} // namespace lintora
