#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using test::crlfText;
using test::readFile;

using Converted = test::Conversion;

Converted convert(std::string_view text, const Limits& limits = Limits{}) {
    return test::convertWith(&readMentor, text, "in.net", "", limits);
}

TEST(MentorReader, NetLinesOfOneNameAreMergedWhereTheNameFirstAppeared) {
    const Converted r = convert("# board\r\n"
                                "U1 DIP14 74LS00 \r\n"
                                "NET 'GND' U1-7 U2-7\r\n"
                                "NET 'VCC' U1-14\r\n"
                                "# NET 'GND' U9-9\r\n"
                                "\r\n"
                                "NET 'GND' U3-7\r\n");
    EXPECT_EQ(r.result, ReaderResult::Recognised);
    EXPECT_EQ(r.parts, crlfText({"! 74LS00; U1: DIP14? ", ""}));
    EXPECT_EQ(r.net, crlfText({"GND; 3: U1.7, U2.7, U3.7, ", "VCC; 1: U1.14, ", ""}));
}

TEST(MentorReader, AComponentLineNeedsABlankAfterEachValue) {
    // Parenthesised text is removed and leaves the blank before it; the second line has no
    // blank after its part name and yields no part; a further token replaces the part name.
    const Converted r = convert("U1 DIP14 74LS00 (PROPERTIES)\r\n"
                                "U2 DIP14 74LS04\r\n"
                                "R1 0603 10K RES \r\n"
                                "NET 'A' U1-1\r\n");
    EXPECT_EQ(r.parts, crlfText({"! 74LS00; U1: DIP14? ", "! RES; R1: 0603? ", ""}));
}

TEST(MentorReader, ParenthesisedTextIsDroppedAcrossLinesButAnUnclosedOneKeepsTheRest) {
    EXPECT_EQ(convert("NET 'A' U1-1 (A NOTE\r\nTHAT GOES ON)\r\nNET 'B' U3-1 (X)U4-1\r\n").net,
              crlfText({"A; 1: U1.1, ", "B; 2: U3.1, U4.1, ", ""}));
    // Nothing closes the "(" of the comment: the lines after it are still read.
    const Converted r = convert("# REV B (SEE NOTES\r\nU1 DIP14 74LS00 \r\nNET 'A' U1-1\r\n");
    EXPECT_EQ(r.result, ReaderResult::Recognised);
    EXPECT_EQ(r.parts, crlfText({"! 74LS00; U1: DIP14? ", ""}));
    EXPECT_EQ(r.net, crlfText({"A; 1: U1.1, ", ""}));
}

TEST(MentorReader, LowerCaseAndLfLineEndsConvertLikeTheUsualForm) {
    const Converted usual = convert("U1 DIP14 74LS00 \r\nNET 'GND' U1-7\r\nNET 'GND' U2-7\r\n");
    const Converted relaxed = convert("u1 dip14 74ls00 \nnet 'gnd' u1-7\nnet 'gnd' u2-7\n");
    EXPECT_EQ(relaxed.result, ReaderResult::Recognised);
    EXPECT_EQ(relaxed.net, usual.net);
    EXPECT_EQ(relaxed.parts, usual.parts);
}

TEST(MentorReader, PinsAreSeparatedByBlanksOrTabsAndMayFollowTheNameDirectly) {
    EXPECT_EQ(convert("NET 'A'U1-1\tU2-1  U3-A-1\r\n").net,
              crlfText({"A; 3: U1.1, U2.1, U3.A-1, ", ""}));
}

TEST(MentorReader, ALineWithoutAQuotedNameAddsNoNet) {
    EXPECT_EQ(convert("NET 'A' U1-1 U2-1\r\nU3-1 U4-1\r\nNET 'B' U5-1\r\n").net,
              crlfText({"A; 2: U1.1, U2.1, ", "B; 1: U5.1, ", ""}));
}

TEST(MentorReader, AFileWithoutNetIsBadAndNetTmpKeepsTheCopy) {
    const Converted r = convert("U1 DIP14 74LS00 (X)\r\n");
    EXPECT_EQ(r.result, ReaderResult::NotRecognised);
    EXPECT_EQ(r.hides, 1);
    EXPECT_EQ(r.parts, "");
    EXPECT_EQ(r.net, crlfText({"", "U1 DIP14 74LS00 "}));
}

TEST(MentorReader, TooManyNetLinesOrNetsAreACapacityFailure) {
    Limits small;
    small.sideSlots = 3; // three lines, two distinct names
    EXPECT_NO_THROW(convert("NET 'A' P-1\r\nNET 'B' P-2\r\nNET 'A' P-3\r\n", small));
    EXPECT_THROW(convert("NET 'A' P-1\r\nNET 'A' P-2\r\nNET 'A' P-3\r\nNET 'A' P-4\r\n", small),
                 CapacityExceeded);
    EXPECT_THROW(convert("NET 'A' P-1\r\nNET 'B' P-2\r\nNET 'C' P-3\r\n", small), CapacityExceeded);
}

TEST(MentorReader, SurvivesEveryPrefixGarbageLongLinesAndUnbalancedQuotes) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919 + 13) % 256);
    test::convertSurvivingEach(
        [](std::string_view text) {
            const Converted r = convert(text);
            EXPECT_TRUE(r.result == ReaderResult::Recognised ||
                        r.result == ReaderResult::NotRecognised);
        },
        {garbage, "NET '" + std::string(300000, 'X') + "\r\n'\r\n''''\r\nNET\r\n'",
         "NET 'A' " + std::string(200000, '-') + "\r\n)))((( NET ' ; : ,\r\n"},
        "# x\r\nU1 DIP14 74LS00 (P)\r\nNET 'GND' U1-7 U2-7\r\nNET 'GND' U3-7\r\n");
}

// The Telesis file has no "NET".
TEST(MentorReader, ASmallBoardMatchesItsTelesisVersionAndATelesisFileIsAMismatch) {
    test::expectFullMatchWithTelesis("readers/mentor/board.net", "MENTOR",
                                     "readers/mentor/board.tel");
}

TEST(MentorReader, NamesAndPinsHoldingTheSplittersMarksMergeAsTheSplitterReadsThem) {
    // "B:" leaves the splitter no name of its own: its pin joins the net before. A pin
    // holding "," or ";" makes its line a net of the name the splitter finds, written as
    // it came.
    EXPECT_EQ(convert("NET 'A' U1-1\r\nNET 'B:' U2-1\r\nNET 'C D' U3-1\r\nNET 'CD' U4-1\r\n"
                      "NET 'E' U5-1,U6-1 U7;1\r\nNET 'E' U8-1\r\n")
                  .net,
              crlfText({"A; 2: U1.1, U2.1, ", "CD; 2: U3.1, U4.1, ", "E; 2: U5.1,U6-1, U7;1, ",
                        "E; 1: U8.1, ", ""}));
}

TEST(MentorReader, LoneCrsLoneLfsAndParenthesesShapeTheCopyAndTheNets) {
    const std::string head = "U1 DIP 74 \r(NOTE\nSPANS\r\nLINES)R1 0603 10K \n\r";
    // Without a NET the copy is left in net.tmp: a lone CR or LF breaks the line, the
    // text in parentheses goes (line breaks stay), and an unclosed "(" drops nothing.
    EXPECT_EQ(convert(head + "C1 (X) 0402 1UF \r\n(OPEN\r\n").net,
              crlfText({"", "U1 DIP 74 ", "", "", "R1 0603 10K ", "", "C1  0402 1UF ", "OPEN"}));
    const Converted r =
        convert(head + "NET 'A' U1-1 (X)R1-1\nNET 'B' C1-2\r\n(OPEN\r\nNET 'A' C1-1\r\n");
    EXPECT_EQ(r.parts, crlfText({"! 74; U1: DIP? ", "! 10K; R1: 0603? ", ""}));
    EXPECT_EQ(r.net, crlfText({"A; 3: U1.1, R1.1, C1.1, ", "B; 1: C1.2, ", ""}));
    // A last lone LF closes the text as a last CR LF does.
    EXPECT_EQ(convert("U1 DIP 74 \n").net, convert("U1 DIP 74 \r\n").net);
}

} // namespace
} // namespace lintora
