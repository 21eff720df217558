#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using Converted = test::Conversion;

Converted convert(std::string_view text, std::size_t fieldSlots = Limits{}.fieldSlots) {
    Limits limits;
    limits.fieldSlots = fieldSlots;
    return test::convertWith(&readExpedition, text, "in.kyn", "", limits);
}

TEST(ExpeditionReader, ReadsNetsPartsAndContinuationLines) {
    const auto r = convert("%NET\r\n"
                           "\\gnd\\ \\U1\\-\\7\\ \\U 2\\ - \\7\\\r\n" // blanks and "-" are dropped
                           "*\t\\U3\\-\\7\\\r\n"
                           "\\VCC\\ \\U1\\-\\14\\\r\n"
                           "%comment\r\n" // ends VCC: the "*" line has no net to continue
                           "* \\U2\\-\\14\\\r\n"
                           "%Part\r\n"
                           "\\74HC00\\ \\U1\\ \\U2\\\r\n"
                           "* \\U3\\\r\n");
    EXPECT_EQ(r.result, ReaderResult::Recognised);
    EXPECT_EQ(r.net, test::writtenFile({"GND; 3: U1.7, U2.7, U3.7, ", "VCC; 1: U1.14, "}));
    EXPECT_EQ(r.parts,
              test::writtenFile({"! 74HC00; U1: ? ", "! 74HC00; U2: ? ", "! 74HC00; U3: ? "}));
}

TEST(ExpeditionReader, NetLinesSharingANameBecomeOneNetAtItsFirstPlace) {
    const auto r = convert("\\N1\\ \\R1\\-\\1\\\r\n\\N2\\ \\R3\\-\\1\\\r\n"
                           "\\n1\\ \\R2\\-\\2\\\r\n\\N1\\ \\R4\\-\\4\\\r\n");
    EXPECT_EQ(r.net, test::writtenFile({"N1; 3: R1.1, R2.2, R4.4, ", "N2; 1: R3.1, "}));
}

TEST(ExpeditionReader, NoNetIsLostAtTheEndOfTheFileOrAfterAnUnfinishedPair) {
    EXPECT_EQ(convert("\\N1\\ \\R1\\-\\1\\").net, test::writtenFile({"N1; 1: R1.1, "}));
    // Only the pair without its pin is dropped; the nets after it are read.
    const auto r = convert("\\N1\\ \\R1\\-\\1\\ \\R2\\\r\n\\N2\\ \\R3\\-\\3\\\r\n");
    EXPECT_EQ(r.net, test::writtenFile({"N1; 1: R1.1, ", "N2; 1: R3.3, "}));
}

TEST(ExpeditionReader, AFileWithoutNetLinesIsNotOfThisFormat) {
    for (const std::string_view text : {"", "%Part\r\n\\74HC00\\ \\U1\\\r\n"}) {
        const auto r = convert(text);
        EXPECT_EQ(r.result, ReaderResult::NotRecognised);
        EXPECT_EQ(r.hides, 1);
    }
}

TEST(ExpeditionReader, TooManyNetLinesOrMergedPinsAreACapacityFailure) {
    // Slots 0 to 5: six net lines to merge at most, four pins in a net at most.
    std::string lines;
    for (int i = 0; i < 7; ++i)
        lines += "\\N" + std::to_string(i) + "\\ \\R1\\-\\1\\\r\n";
    EXPECT_THROW(convert(lines, 6), CapacityExceeded);
    const std::string fourPins =
        "\\N1\\ \\R1\\-\\1\\ \\R2\\-\\1\\\r\n\\N1\\ \\R3\\-\\1\\ \\R4\\-\\1\\\r\n";
    EXPECT_NO_THROW(convert(fourPins, 6));
    EXPECT_THROW(convert(fourPins + "\\N1\\ \\R5\\-\\1\\", 6), CapacityExceeded);
}

TEST(ExpeditionReader, SurvivesTruncatedGarbledAndHugeInput) {
    test::convertSurvivingEach([](std::string_view text) { convert(text); },
                               {test::randomBytes(64 * 1024, 7), std::string(200000, '\\'),
                                "\\N\\" + std::string(300000, '\\') + "\r\n*\\\r\n%Part\r\n\\\\"},
                               test::readFile(test::dataFile("readers/expedition/board.kyn")));
    std::string manyPins = "\\BIG\\";
    for (int i = 0; i < 25000; ++i)
        manyPins += " \\U1\\-\\" + std::to_string(i) + "\\";
    EXPECT_THROW(convert(manyPins), CapacityExceeded);
}

TEST(ExpeditionReader, BoardMatchesItsTelesisVersionAndTelesisIsNotThisFormat) {
    test::expectFullMatchWithTelesis("readers/expedition/board.kyn", "Expedition PCB",
                                     "readers/expedition/board.tel");
}

TEST(ExpeditionReader, BlanksCommasAndTextBetweenValuesAreTakenAsTheStatesSay) {
    const Converted r = convert("%NET\r\n"
                                "\\GND\\  \\U1\\-\\7\\  \\U 2\\-\\7,\\ x \\\\ \\U3\\\r\n"
                                "*  \\C1\\-\\2\\\r\n"
                                "\\VCC\\ \\U1\\-\\14\\\r\n"
                                "\\GND\\ \\U4\\-\\1\\\r\n"
                                "%part\r\n%Part \r\n%Part\r\n"
                                "\\74HC00\\  \\U1\\  \\U*2\\\r\n"
                                "*  \\U3\\ xx \\U4\\\r\n"
                                "\\\\ \\R\\ \\R1\\\r\n");
    EXPECT_EQ(r.net, test::writtenFile({"GND; 4: U1.7, U2.7, \\.\\C1, U4.1, ", "VCC; 1: U1.14, "}));
    EXPECT_EQ(r.parts,
              test::writtenFile({"! 74HC00; U1: ? ", "! 74HC00; U2: ? ", "! 74HC00; U3: ? ",
                                 "! 74HC00; XXU4: ? ", "! \\; R: ? "}));
}

TEST(ExpeditionReader, ReadsFilesWithLfLineEnds) {
    const auto r = convert("%NET\n\\GND\\ \\U1\\-\\7\\\n*  \\C1\\-\\2\\\n\\VCC\\ \\U1\\-\\14\\\n"
                           "%Part\n\\74HC00\\ \\U1\\\n");
    EXPECT_EQ(r.result, ReaderResult::Recognised);
    EXPECT_EQ(r.net, test::writtenFile({"GND; 2: U1.7, C1.2, ", "VCC; 1: U1.14, "}));
    EXPECT_EQ(r.parts, test::writtenFile({"! 74HC00; U1: ? "}));
}

} // namespace
} // namespace lintora
