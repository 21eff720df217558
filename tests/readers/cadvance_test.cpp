#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using Converted = test::Conversion;

Converted convert(std::string_view text) {
    return test::convertWith(&readCadvance, text, "in.net", "");
}

TEST(CadvanceReader, ReadsComponentsAndNetsBrokenAcrossLines) {
    const auto r = convert("components\r\n{\r\n"
                           "U1 [DIP14] 74hc00,\r\n"
                           "\"R1\" [R1608] 10K, chip resistor\r\n"
                           "C1 [C1608]\r\n" // no "," and so no part name: no part
                           "}\r\nnets\r\n{\r\n"
                           "GND = U1-7, U2-7,\r\nR1-2;\r\n"
                           "NET 1 = U1-7-A ,R1-\r\n1;\r\n"
                           "N2 = A-1,;\r\n" // the ";" takes an empty last pin
                           "X;\r\n"         // no net open: writes nothing
                           "N3 = B-1\r\n}\r\n");
    EXPECT_EQ(r.result, ReaderResult::Recognised);
    EXPECT_EQ(r.parts, test::writtenFile({"! 74HC00; U1: DIP14? ", "! 10K; R1: R1608? "}));
    EXPECT_EQ(r.net, test::writtenFile({"GND; 3: U1.7, U2.7, R1.2, ", "NET1; 2: U1.7.A, R1.1, ",
                                        "N2; 2: A.1, , "}));
}

TEST(CadvanceReader, LoneLineFeedsReadLikeRealLineEnds) {
    const auto r = convert("COMP\nU1 [DIP14] 74HC00,\nNETS\nGND = U1-7;\n");
    EXPECT_EQ(r.parts, test::writtenFile({"! 74HC00; U1: DIP14? "}));
    EXPECT_EQ(r.net, test::writtenFile({"GND; 1: U1.7, "}));
}

TEST(CadvanceReader, WithoutComponentAndNetBlocksTheFileIsNotOfThisFormat) {
    for (const std::string_view text : {"NETS\r\nN1 = A-1;\r\n", "NETS\r\nCOMP\r\nN1 = A-1;\r\n",
                                        "COMP\r\nU1 [D] X,\r\n} NETS\r\nN1 = A-1;\r\n"}) {
        SCOPED_TRACE(text);
        const auto r = convert(text);
        EXPECT_EQ(r.result, ReaderResult::NotRecognised);
        EXPECT_EQ(r.hides, 1);
    }
    // net.tmp is left holding the upper-cased copy, which starts with an empty line.
    EXPECT_EQ(convert("nets\r\n").net, "\r\nNETS\r\n");
}

TEST(CadvanceReader, SurvivesTruncatedGarbledAndHugeInput) {
    test::convertSurvivingEach(
        convert,
        {test::randomBytes(64 * 1024, 11),
         "COMP\r\nNETS\r\n" + std::string(200000, '{') + std::string(100000, '='),
         "COMP\r\n" + std::string(100000, '[') + std::string(100000, ']') + ",\r\n"},
        test::readFile(test::dataFile("readers/cadvance/board.net")));
    std::string manyPins = "COMP\r\nNETS\r\nBIG =";
    for (int i = 0; i < 25000; ++i)
        manyPins += " U1-" + std::to_string(i) + ",";
    EXPECT_THROW(convert(manyPins), CapacityExceeded);
}

TEST(CadvanceReader, BoardMatchesItsTelesisVersionAndTelesisIsNotThisFormat) {
    test::expectFullMatchWithTelesis("readers/cadvance/board.net", "CADVANCE",
                                     "readers/cadvance/board.tel");
}

TEST(CadvanceReader, AComponentWithAnEmptyPartNameIsKept) {
    // "R1 [R1608] ," names no part: the part is kept with an empty name, to pair by its
    // reference; a line without the "," still gives none.
    const auto r = convert("COMPONENTS\r\n{\r\nR1 [R1608] ,\r\nC1 [C1608]\r\n"
                           "U1 [DIP14] 74HC00,\r\n}\r\nNETS\r\n{\r\nGND = U1-7, R1-2;\r\n}\r\n");
    EXPECT_EQ(r.parts, test::writtenFile({"! ; R1: R1608? ", "! 74HC00; U1: DIP14? "}));
}

} // namespace
} // namespace lintora
