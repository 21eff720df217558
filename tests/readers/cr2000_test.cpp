#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <utility>

namespace lintora {
namespace {

using Conversion = test::Conversion;

Conversion convert(std::string_view input) {
    return test::convertWith(&readCr2000, input, "board.cr2", "");
}

TEST(Cr2000Reader, ConvertsNetsWithContinuationLinesAndNoParts) {
    const auto r = convert("CR-2000 NET LIST\r\nNETS\r\n"
                           "  GND   U1-7, U2-7,\r\n"
                           " C1-2 ,C2-2\r\n"          // column 2 not blank: continues GND
                           "  vcc   u1-14,u2-A-3\r\n" // upper-cased; first "-" only
                           "END\r\n");
    EXPECT_EQ(r.result, ReaderResult::Recognised);
    EXPECT_EQ(r.net,
              test::writtenFile({"GND; 4: U1.7, U2.7, C1.2, C2.2, ", "VCC; 2: U1.14, U2.A-3, "}));
    EXPECT_EQ(r.parts, "\r\n");
}

TEST(Cr2000Reader, TheHeadingIsNetsInUpperCaseAtTheStartOfALine) {
    for (const auto& [heading, found] : {std::pair{"  N E T S", true},
                                         {"\tNETS LIST", true},
                                         {"nets", false},
                                         {"THE NETS", false}}) {
        SCOPED_TRACE(heading);
        const auto r = convert(std::string(heading) + "\r\n  GND U1-7\r\n");
        EXPECT_EQ(r.result, found ? ReaderResult::Recognised : ReaderResult::NotRecognised);
        EXPECT_EQ(r.net.empty(), !found); // net.tmp is written only for a good file
        EXPECT_EQ(r.parts, "\r\n");       // parts.tmp always
        EXPECT_EQ(r.hides, found ? 0 : 1);
    }
}

TEST(Cr2000Reader, TheLastNetIsWrittenWhetherEndOrTheEndOfTheFileClosesTheList) {
    const std::string nets = "NETS\r\n  GND U1-7,\r\nU2-7\r\n  VCC U1-14,\r\nU2-14\r\n";
    const std::string expected =
        test::writtenFile({"GND; 2: U1.7, U2.7, ", "VCC; 2: U1.14, U2.14, "});
    EXPECT_EQ(convert(nets + "END\r\n  N9 U9-9\r\n").net, expected); // nothing after END
    EXPECT_EQ(convert(nets).net, expected);
    // END is a word of its own: ENDSTOP is a net name.
    EXPECT_EQ(convert("NETS\r\n  ENDSTOP SW1-1, END1-2\r\nEND OF LIST\r\n").net,
              test::writtenFile({"ENDSTOP; 2: SW1.1, END1.2, "}));
}

TEST(Cr2000Reader, NamesAndPinsWhateverSeparatesThem) {
    // Stray commas and a line ending in "," store no empty pin; a name may stand alone on
    // its line, be followed by ",", or be one letter in column 1.
    const auto r = convert("NETS\r\n  GND U1-7,,U2-7,\r\n\r\nU3-7,\r\n  VCC\r\nU1-14\r\n"
                           "  N1,U1-1\r\nA U1-2\r\n");
    EXPECT_EQ(r.net, test::writtenFile({"GND; 3: U1.7, U2.7, U3.7, ", "VCC; 1: U1.14, ",
                                        "N1; 1: U1.1, ", "A; 1: U1.2, "}));
}

TEST(Cr2000Reader, PinsOfNoNetAndAnEmptyListWriteNothing) {
    EXPECT_EQ(convert("NETS\r\nU1-1,U2-1\r\n").net, "\r\n");
    EXPECT_EQ(convert("NETS\r\n").net, "\r\n");
    // A line with blank columns ends the net above; the pins after it belong to no net.
    EXPECT_EQ(convert("NETS\r\n  GND U1-7\r\n   \r\nU5-1\r\n").net,
              test::writtenFile({"GND; 1: U1.7, "}));
}

TEST(Cr2000Reader, ColumnTwoIsCountedInCharacters) {
    // "電" is three bytes but one column: the blank after it stands in column 2.
    EXPECT_EQ(convert("NETS\r\n  GND U1-7\r\n電 U1-8,U2-8\r\n").net,
              test::writtenFile({"GND; 1: U1.7, ", "電; 2: U1.8, U2.8, "}));
}

TEST(Cr2000Reader, ABoardMatchesItsTelesisVersionAndATelesisFileIsNoCr2000File) {
    test::expectFullMatchWithTelesis("readers/cr2000/board.cr2", "CR2000",
                                     "readers/cr2000/board.tel");
}

TEST(Cr2000Reader, SurvivesTruncatedBinaryAndOversizedInput) {
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 131 + 7) % 256);
    static constexpr char kNulBytes[] = "NETS\r\n  N\0\0 U1-1,\0\r\n";
    test::convertSurvivingEach(convert,
                               {"NETS\r\n" + binary, std::string(kNulBytes, sizeof kNulBytes - 1),
                                "NETS\r\n  HUGE " + std::string(1 << 20, 'X') + "\r\n",
                                "NETS\r\n  HUGE " + std::string(1 << 16, ',') + "\r\n"},
                               test::readFile(test::dataFile("readers/cr2000/board.cr2")));
}

} // namespace
} // namespace lintora
