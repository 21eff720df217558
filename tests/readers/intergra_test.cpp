#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using Converted = test::Conversion;

Converted convert(std::string_view text) {
    return test::convertWith(&readIntergra, text, "in.net", "");
}

TEST(IntergraReader, ReadsColumnPartsAndNetsWithContinuationLines) {
    const auto r = convert("%PART\r\n"
                           "74hc00          U1\r\n"
                           "10K 1/10W       R1\r\n"      // a blank before column 14 is dropped
                           "抵抗器具類 10K       R5\r\n" // columns count characters, not bytes
                           "%net\r\n"
                           "GND U1-7 R1-2\r\n"
                           "*   U2-7-B\r\n"
                           "-5V\tR1-1 -5V\r\n"
                           "\r\n");
    EXPECT_EQ(r.result, ReaderResult::Recognised);
    EXPECT_EQ(r.parts, test::writtenFile({"! 74HC00; U1: 74HC00? ", "! 10K1/10W; R1: 10K1/10W? ",
                                          "! 抵抗器具類10K; R5: 抵抗器具類10K? "}));
    EXPECT_EQ(r.net, test::writtenFile({"GND; 3: U1.7, R1.2, U2.7-B, ", "-5V; 2: R1.1, -5V, "}));
}

TEST(IntergraReader, TheLastNetNeedsNoLineAfterIt) {
    for (const std::string_view text : {"%NET\r\nGND U1-7 U2-7", "%NET\nGND U1-7\n* U2-7\n"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(convert(text).net, test::writtenFile({"GND; 2: U1.7, U2.7, "}));
    }
}

TEST(IntergraReader, WithoutANetSectionTheFileIsNotOfThisFormat) {
    const auto r = convert("%PART\r\n74HC00          U1\r\n*NET*\r\nGND U1-7\r\n");
    EXPECT_EQ(r.result, ReaderResult::NotRecognised);
    EXPECT_EQ(r.hides, 1);
    EXPECT_EQ(r.parts, test::writtenFile({"! 74HC00; U1: 74HC00? "}));
}

TEST(IntergraReader, SurvivesTruncatedGarbledAndHugeInput) {
    test::convertSurvivingEach(convert,
                               {test::randomBytes(64 * 1024, 13),
                                std::string(300000, 'X') + " " + std::string(300000, '-') +
                                    "\r\n%NET\r\n" + std::string(300000, '*')},
                               test::readFile(test::dataFile("readers/intergra/board.net")));
    std::string manyPins = "%NET\r\nBIG";
    for (int i = 0; i < 25000; ++i)
        manyPins += " U1-" + std::to_string(i);
    EXPECT_THROW(convert(manyPins), CapacityExceeded);
}

TEST(IntergraReader, BoardMatchesItsTelesisVersionAndTelesisIsNotThisFormat) {
    test::expectFullMatchWithTelesis("readers/intergra/board.net", "INTERGRA",
                                     "readers/intergra/board.tel");
}

} // namespace
} // namespace lintora
