#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <utility>

namespace lintora {
namespace {

using Conversion = test::Conversion;

Conversion convert(std::string_view input) {
    return test::convertWith(&readCr5000, input, "board.ccf", "");
}

// The nets of `body` written inside a net block of a complete file.
std::string netsOf(std::string_view body) {
    return convert("$CCF{\r\nNET{\r\n" + std::string(body) + "\r\n}\r\n}\r\n").net;
}

TEST(Cr5000Reader, ConvertsDefinitionsAndNetBlocksInFileOrder) {
    const auto r = convert("$ccf{\r\n definition{\r\n"
                           "  74hc00: ic1, ic2;\r\n"
                           "  RN(8): RN1;\r\n" // parentheses stay in the definition block
                           " }\r\n"
                           " NET{\r\n  CLK: IC1(1), IC2(1);\r\n }\r\n"
                           " POWER{\r\n  VCC: IC1(14),\r\n       IC2(14);\r\n }\r\n"
                           " GROUND{ GND: IC1(7), IC2(7); }\r\n"
                           "}\r\n");
    EXPECT_EQ(r.result, ReaderResult::Recognised);
    EXPECT_EQ(r.parts, test::writtenFile({"! 74HC00; IC1: 74HC00? ", "! 74HC00; IC2: 74HC00? ",
                                          "! RN(8); RN1: RN(8)? "}));
    EXPECT_EQ(r.net, test::writtenFile({"CLK; 2: IC1.1, IC2.1, ", "VCC; 2: IC1.14, IC2.14, ",
                                        "GND; 2: IC1.7, IC2.7, "}));
}

TEST(Cr5000Reader, TokensRunOverLinesAndSeparatorsAreTakenAsWritten) {
    EXPECT_EQ(netsOf("GN\r\nD: IC\r\n1(7);"), test::writtenFile({"GND; 1: IC1.7, "}));
    EXPECT_EQ(netsOf("N1: IC1(1), , IC2(2);"), test::writtenFile({"N1; 3: IC1.1, , IC2.2, "}));
    EXPECT_EQ(netsOf("N$5: IC1(3);"), test::writtenFile({"$5; 1: IC1.3, "}));
}

TEST(Cr5000Reader, ANetIsWrittenWithItsLastPinWhateverEndsIt) {
    const std::string gnd = test::writtenFile({"GND; 2: IC1.7, IC2.7, "});
    EXPECT_EQ(netsOf("GND: IC1(7), IC2(7)"), gnd);  // "}"
    EXPECT_EQ(netsOf("GND: IC1(7), IC2(7),"), gnd); // "}" after a comma
    EXPECT_EQ(convert("$CCF{ NET{ GND: IC1(7), IC2(7)").net, gnd);
    EXPECT_EQ(netsOf("GND: IC1(7), IC2(7),\r\nPOWER{ VCC: IC1(14);"),
              test::writtenFile({"GND; 2: IC1.7, IC2.7, ", "VCC; 1: IC1.14, "}));
    // A closed net and an empty block write nothing more.
    EXPECT_EQ(netsOf("GND: IC1(7);\r\n}\r\nNET{"), test::writtenFile({"GND; 1: IC1.7, "}));
}

TEST(Cr5000Reader, CommentsEndAtTheirCloseAndTheFileGoesOnAfterIt) {
    for (const char* comment : {
             "/* CR-5000 */ $CCF{\r\nNET{\r\n",                        // on its opening line
             "/*\r\n * header\r\n */\r\n$CCF{ NET{\r\n",               // a line of its own
             "/*\r\nboard CTRL-01\r\n  rev B\r\n*/\r\n$CCF{ NET{\r\n", // lines without "*"
             "/*\r\n * header */\r\n$CCF{ NET{\r\n",                   // at a line's end
             "/*\r\n/* old\r\n*/ $CCF{ NET{\r\n",                      // no nesting
         }) {
        SCOPED_TRACE(comment);
        const auto r = convert(std::string(comment) + "GND: IC1(7), IC2(7);\r\n}\r\n}\r\n");
        EXPECT_EQ(r.result, ReaderResult::Recognised);
        EXPECT_EQ(r.net, test::writtenFile({"GND; 2: IC1.7, IC2.7, "}));
    }
    EXPECT_EQ(netsOf("GND: IC1(7), /* ground\r\n */ IC2(7);"),
              test::writtenFile({"GND; 2: IC1.7, IC2.7, "}));
    EXPECT_EQ(netsOf("/* N1: IC9(9); */ GND: IC1(7);"), test::writtenFile({"GND; 1: IC1.7, "}));
    EXPECT_EQ(convert("/* $CCF{ */ NET{ GND: R1(1); }\r\n").result, ReaderResult::NotRecognised);
}

TEST(Cr5000Reader, AKeywordWrittenAgainstWhatFollowsKeepsThatText) {
    const auto r = convert("$CCF{DEFINITION{74HC00:IC1;}NET{GND:IC1(7);}}\r\n");
    EXPECT_EQ(r.parts, test::writtenFile({"! 74HC00; IC1: 74HC00? "}));
    EXPECT_EQ(r.net, test::writtenFile({"GND; 1: IC1.7, "}));
}

TEST(Cr5000Reader, WhatIsWrittenForGoodAndBadFiles) {
    // Without a "NET{" block the parts file is still written.
    const auto good = convert("$CCF{ DEFINITION{ 10K: R1; }\r\nPOWER{ VCC: R1(1); } }\r\n");
    EXPECT_EQ(good.result, ReaderResult::Recognised);
    EXPECT_EQ(good.parts, test::writtenFile({"! 10K; R1: 10K? "}));
    EXPECT_EQ(good.net, test::writtenFile({"VCC; 1: R1.1, "}));

    const auto bad = convert("DEFINITION{ 10K: R1; }\r\nNET{ GND: R1(1); }\r\n");
    EXPECT_EQ(bad.result, ReaderResult::NotRecognised);
    EXPECT_EQ(bad.net, "");
    EXPECT_EQ(bad.hides, 1);
}

TEST(Cr5000Reader, BoardsMatchTheirTelesisVersionAndATelesisFileIsNoCr5000File) {
    for (const auto& [format, file] : {std::pair{"CR5000", "readers/cr5000/board.ccf"},
                                       {"CR3000", "readers/cr5000/board3.ccf"}}) {
        SCOPED_TRACE(format);
        test::expectFullMatchWithTelesis(file, format, "readers/cr5000/board.tel");
    }
}

TEST(Cr5000Reader, SurvivesTruncatedBinaryUnbalancedAndOversizedInput) {
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 131 + 7) % 256);
    test::convertSurvivingEach(convert,
                               {"$CCF{ NET{ " + binary,
                                "$CCF{ {{{{ NET{ }}}} ((((( ))) :::;;; /* /* */ */ */\r\n",
                                "$CCF{ NET{ A: " + std::string(1 << 20, '(') + "\r\n",
                                "$CCF{ NET{ A: " + std::string(1 << 16, ',') + "\r\n"},
                               test::readFile(test::dataFile("readers/cr5000/board.ccf")));
}

TEST(Cr5000Reader, BlanksInsideKeywordsAndCommentMarksAreDroppedLikeAnyOther) {
    const Conversion r =
        convert("$CCF{ DEFI NITION{ 74HC00: IC1, IC2; } NE T{ GND: IC1(7), / * c */ IC2(7); "
                "$X V: IC1(1); }\r\nPOWER{VCC:IC1(14)}\r\n/* multi\r\n* star\r\n"
                "line */ GROUND{ G: R1(2); R2(\r\n2) }\r\n");
    EXPECT_EQ(r.net, test::writtenFile({"GND; 2: IC1.7, IC2.7, ", "$XV; 1: IC1.1, ",
                                        "VCC; 1: IC1.14, ", "G; 1: R1.2, "}));
    EXPECT_EQ(r.parts, test::writtenFile({"! 74HC00; IC1: 74HC00? ", "! 74HC00; IC2: 74HC00? "}));
}

TEST(Cr5000Reader, AStarLineInsideACommentSkipsItselfOnly) {
    // The comment is never closed: "NET{" still leaves it, and the lines after a "*" line
    // are read again (the "*" must not stay in the token and skip them all).
    const auto r = convert("$CCF{\r\n/* board\r\n * rev B\r\nNET{\r\nGND: IC1(7), IC2(7);\r\n"
                           "VCC: IC1(14);\r\n}\r\n}\r\n");
    EXPECT_EQ(r.result, ReaderResult::Recognised);
    EXPECT_EQ(r.net, test::writtenFile({"GND; 2: IC1.7, IC2.7, ", "VCC; 1: IC1.14, "}));
}

TEST(Cr5000Reader, ADefinitionEntryWithoutAPartNameKeepsItsParts) {
    // ": R9, R10;" names no part: its references are parts with an empty name (to pair by
    // reference), and the next entry keeps its own name.
    const auto r = convert("$CCF{\r\nDEFINITION{\r\n: R9, R10;\r\n10K: R1;\r\n}\r\n"
                           "NET{ GND: R1(1), R9(1); }\r\n}\r\n");
    EXPECT_EQ(r.parts, test::writtenFile({"! ; R9: ? ", "! ; R10: ? ", "! 10K; R1: 10K? "}));
}

} // namespace
} // namespace lintora
