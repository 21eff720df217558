#include "base/errors.h"
#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using Converted = test::Conversion;

Converted convert(std::string_view text) {
    return test::convertWith(&readPadsPcb, text, "input.asc");
}

TEST(PadsPcbReader, ConvertsPartsAndNetsInAnyLetterCase) {
    const auto c = convert("!PADS-POWERPCB-V3.0-MILS!\r\n\r\n"
                           "*part*\r\n"
                           "U1\t74ls00\r\n"
                           "R1  10K  1608\r\n"
                           "*net*\r\n"
                           "*signal* gnd\r\n"
                           " U1.7\tR1.2\r\n"
                           "u2.7\r\n"
                           "*SIGNAL* MY NET\r\n"
                           "U1.1 U2.3\r\n"
                           "*SIGNAL*\u3000電源\r\n" // the tenth character, not byte
                           "*SIGNAL* SPARE\r\n"
                           "*end*\r\n");
    EXPECT_EQ(c.result, ReaderResult::Recognised);
    // The part type doubles as the footprint; words after it are joined to it.
    EXPECT_EQ(c.parts, test::writtenFile({"! 74LS00; U1: 74LS00? ", "! 10K1608; R1: 10K1608? "}));
    EXPECT_EQ(c.net, test::writtenFile({"GND; 3: U1.7, R1.2, U2.7, ", "MY NET; 2: U1.1, U2.3, ",
                                        "電源; 0: ", "SPARE; 0: "}));
}

TEST(PadsPcbReader, PartsSectionStartsAtPartAndSkipsRemarks) {
    // What precedes *PART* is dropped; a reference without a part type, or a keyword line,
    // does not repeat the previous part.
    const auto c = convert("HEADER WORDS\r\n*REMARK* by hand\r\n*PART*\r\nC1 0.1UF\r\nR2\r\n"
                           "*REMARK* end of parts\r\n*NET*\r\n*END*\r\n");
    EXPECT_EQ(c.parts, test::writtenFile({"! 0.1UF; C1: 0.1UF? "}));
    EXPECT_EQ(c.net, test::writtenFile({}));
}

TEST(PadsPcbReader, WithoutNetKeywordTheFileIsNotPads) {
    const auto c = convert("$PACKAGES\r\nDIP14 ! 74LS00 ; U1\r\n$NETS\r\nGND ; U1.7\r\n$END\r\n");
    EXPECT_EQ(c.result, ReaderResult::NotRecognised);
    EXPECT_EQ(c.hides, 1);
    EXPECT_NE(c.parts, "(none)"); // written with what was gathered
    EXPECT_EQ(c.net, "(none)");
}

TEST(PadsPcbReader, EveryNetKeepsExactlyItsOwnPins) {
    const struct {
        const char* nets;
        std::vector<std::string> expected;
    } cases[] = {
        // Cut off before *END*: the last net still holds every pin it read.
        {"*SIGNAL* A\r\nU1.1\r\n*SIGNAL* B\r\nU1.2 U1.3\r\n",
         {"A; 1: U1.1, ", "B; 2: U1.2, U1.3, "}},
        // Pins before the first *SIGNAL* belong to no net.
        {"X1.1 X1.2\r\n*SIGNAL* A\r\nU1.1\r\n*END*\r\n", {"A; 1: U1.1, "}},
        // A remark between pins is a comment; a later section (PADS Logic writes *MISC*
        // between the nets and *END*) adds no pins to the last net.
        {"*SIGNAL* A\r\nU1.1\r\n*REMARK* note\r\nU1.3\r\n\r\n*MISC*  PARAMETERS\r\nLAYER MILS\r\n"
         "{\r\n}\r\n*END*     OF ASCII OUTPUT FILE\r\n",
         {"A; 2: U1.1, U1.3, "}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.nets);
        EXPECT_EQ(convert(std::string("*PART*\r\n*NET*\r\n") + test.nets).net,
                  test::writtenFile(test.expected));
    }
}

TEST(PadsPcbReader, ReadsThePinPairFormEachPinOnceInItsNet) {
    const auto c = convert(test::readFile(test::dataFile("readers/pads/pin_pairs.asc")));
    EXPECT_EQ(c.result, ReaderResult::Recognised);
    EXPECT_EQ(c.parts,
              test::writtenFile({"! 74LS00@DIP14; U1: 74LS00@DIP14? ",
                                 "! 74LS00@DIP14; U2: 74LS00@DIP14? ", "! 10K@1608; R1: 10K@1608? ",
                                 "! 0.1UF@1608; C1: 0.1UF@1608? "}));
    // The "*MISC*" section after the signals holds no pins, though it names a part.
    EXPECT_EQ(c.net,
              test::writtenFile({"GND; 3: U1.7, U2.7, C1.2, ", "VCC; 4: U1.14, U2.14, C1.1, R1.1, ",
                                 "CLK; 3: U1.3, U2.1, R1.2, ", "OUT; 2: U1.1, U2.3, "}));
    // PADS2000 knows only the "*NET*" form.
    EXPECT_EQ(
        test::convertWith(&readPads2000, "*PART*\r\n*CONNECTION*\r\n*SIGNAL* A\r\n", "input.asc")
            .result,
        ReaderResult::NotRecognised);
}

TEST(PadsPcbReader, PinPairBoardMatchesItsTelesisVersion) {
    test::expectFullMatchWithTelesis("readers/pads/pin_pairs.asc", "PADSPCB",
                                     "readers/pads/board.tel");
}

TEST(PadsPcbReader, SmallBoardMatchesItsTelesisVersion) {
    test::expectFullMatchWithTelesis("readers/pads/board.asc", "PADSPCB", "readers/pads/board.tel");
}

TEST(PadsPcbReader, SurvivesTruncatedGarbledAndHugeInput) {
    const std::vector<std::string> pieces{
        "*PART*", "*NET*", "*SIGNAL*", "*END*", "*REMARK*",          "*MISC*", " ", "\t",
        "\r\n",   "\n",    "U1.1",     "電",    std::string(1, '\0')};
    test::convertSurvivingEach(convert, test::randomSoups(pieces, 50, 300, 7),
                               test::readFile(test::dataFile("readers/pads/board.asc")));
    std::string hugeNet = "*PART*\r\n*NET*\r\n*SIGNAL* BIG\r\n";
    for (int i = 0; i < 30000; ++i)
        hugeNet += "U" + std::to_string(i) + ".1 ";
    EXPECT_THROW(convert(hugeNet), CapacityExceeded);
}

} // namespace
} // namespace lintora
