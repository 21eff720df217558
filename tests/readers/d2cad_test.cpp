#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using test::crlfText;
using test::dataFile;
using test::readFile;

struct D2Run {
    test::ScratchWorkspace sw;
    ReaderResult result = ReaderResult::NotRecognised;

    explicit D2Run(std::string_view text) {
        test::writeFile(sw.dir / "in.d2c", text);
        result = readD2Cad(sw.ws, (sw.dir / "in.d2c").string());
    }
    std::string nets() const { return readFile(sw.dir / "net.tmp"); }
    std::string parts() const { return readFile(sw.dir / "parts.tmp"); }
};

TEST(D2CadReader, ReadsTheNetBlock) {
    D2Run run(readFile(dataFile("readers/d2cad/board.d2c")));
    EXPECT_EQ(run.result, ReaderResult::Recognised);
    EXPECT_EQ(run.parts(), crlfText({""}));
    EXPECT_EQ(run.nets(),
              crlfText({"GND; 3: U1.7, U2.7, C1.2, ", "VCC; 4: U1.14, U2.14, C1.1, R1.1, ",
                        "N1; 3: U1.3, U2.1, R1.2, ", "N2; 2: U2.3, U1.1, ", ""}));
}

TEST(D2CadReader, APinRightBeforeTheClosingBraceIsKept) {
    for (const char* text :
         {"$CCF{NET{GND: U1(7), U2(7)}}", "$CCF{\r\nNET{\r\nGND: U1(7),\r\n U2(7)\r\n}\r\n}\r\n",
          "$ccf{ net{ gnd: u1(7), u2(7); } }"}) {
        SCOPED_TRACE(text);
        D2Run run(text);
        EXPECT_EQ(run.result, ReaderResult::Recognised);
        EXPECT_EQ(run.nets(), crlfText({"GND; 2: U1.7, U2.7, ", ""}));
    }
}

TEST(D2CadReader, OnlyTheLastNetBlockCountsAndOtherBlocksAddNoNets) {
    D2Run run("$CCF{\r\n"
              "  PARTS{ U1: 74HC00, SO14; }\r\n"
              "  NET{ OLD: U1(1), U1(2); }\r\n"
              "  NET{GND: U1(7),, U2(7); * U9(7)\r\n" // keyword right before a name
              "       VCC: U1(14); }\r\n"
              "  SHAPES{ U1: SO14; }\r\n"
              "}\r\n");
    EXPECT_EQ(run.nets(), crlfText({"GND; 2: U1.7, U2.7, ", "VCC; 1: U1.14, ", ""}));
}

TEST(D2CadReader, ACommentEndsAtALoneLineFeedToo) {
    D2Run run("$CCF{\n/* nets */\nNET{\nGND: U1(7), U2(7);\n}\n}\n");
    EXPECT_EQ(run.nets(), crlfText({"GND; 2: U1.7, U2.7, ", ""}));
}

TEST(D2CadReader, AFileWithoutTheHeaderIsBadAndNothingIsWritten) {
    D2Run run("NET{ GND: U1(7), U2(7); }\r\n");
    EXPECT_EQ(run.result, ReaderResult::NotRecognised);
    EXPECT_EQ(run.sw.observer.hides, 1);
    EXPECT_FALSE(test::fileExists(run.sw.dir / "net.tmp"));
    EXPECT_FALSE(test::fileExists(run.sw.dir / "parts.tmp"));
}

TEST(D2CadReader, TheBoardComparesWithItsTelesisVersionAsAFullMatch) {
    test::expectFullMatchWithTelesis("readers/d2cad/board.d2c", "D2 CAD",
                                     "readers/d2cad/board.tel");
}

TEST(D2CadReader, SurvivesTruncationGarbageLongLinesAndUnbalancedBraces) {
    test::convertSurvivingEach(
        [](std::string_view text) { const D2Run run(text); },
        {std::string("$CCF\x00\xff{NET{:;,}\x80((", 17),
         "$CCF{NET{" + std::string(100000, '{') + std::string(200000, '}') + "A:B(1);",
         "$CCF NET{ A:" + std::string(200000, '(') + ";" + std::string(100000, ')')},
        readFile(dataFile("readers/d2cad/board.d2c")));
}

TEST(D2CadReader, BlanksInsideKeywordsAndCommentMarksAreDroppedLikeAnyOther) {
    const D2Run run("$C CF{\r\n NE\tT{ NF: F1(1), F(2); OFF: A(1) } * rest\r\n { X: Y(1); }\r\n"
                    "NET{ GND: IC1(7) , IC2(7) ; /* c\r\n VCC: IC1(14); }\r\n");
    EXPECT_EQ(run.result, ReaderResult::Recognised);
    EXPECT_EQ(run.nets(), crlfText({"GND; 2: IC1.7, IC2.7, ", "VCC; 1: IC1.14, ", ""}));
}

TEST(D2CadReader, ANetNameHoldsUntilTheNextColonEvenWhenEmpty) {
    // A net with an empty name keeps its pins, and pins after a net's ";" without a new
    // name are a further net of that name (which the duplicate check then reports).
    const D2Run run("$CCF{\r\nNET{\r\n: U1(1), U2(1);\r\nGND: U1(7);\r\nU2(7), U3(7);\r\n"
                    "VCC: U1(14); }\r\n}\r\n");
    EXPECT_EQ(run.result, ReaderResult::Recognised);
    EXPECT_EQ(run.nets(), crlfText({"; 2: U1.1, U2.1, ", "GND; 1: U1.7, ", "GND; 2: U2.7, U3.7, ",
                                    "VCC; 1: U1.14, ", ""}));
}

} // namespace
} // namespace lintora
