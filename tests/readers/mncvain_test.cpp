#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace lintora {
namespace {

struct Converted {
    std::string status;
    std::string net;
    std::string parts;
    int hides = 0;
};

Converted convert(std::string_view text) {
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "in.net", text);
    Converted r;
    mncvain(sw.ws, (sw.dir / "in.net").string(), r.status);
    if (test::fileExists(sw.dir / "net.tmp"))
        r.net = test::readFile(sw.dir / "net.tmp");
    if (test::fileExists(sw.dir / "parts.tmp"))
        r.parts = test::readFile(sw.dir / "parts.tmp");
    r.hides = sw.observer.hides;
    return r;
}

std::string written(const std::vector<std::string>& lines) {
    return test::crlfText(lines) + "\r\n";
}

TEST(MncvainReader, ReadsComponentsAndNetsBrokenAcrossLines) {
    const auto r = convert("COMPONENTS\r\n"
                           "{\r\n"
                           "U1 [DIP14] 74HC00,\r\n"
                           "\"R1\" [R1608] 10k, chip resistor\r\n"
                           "C1 [C1608]\r\n"
                           "}\r\n"
                           "NETS\r\n"
                           "{\r\n"
                           "GND = U1-7, U2-7,\r\n"
                           "R1-2;\r\n"
                           "NET 1 = U1-7-A ,R1-\r\n"
                           "1;\r\n"
                           "}\r\n");
    EXPECT_EQ(r.status, "good");
    // A component line without "," names no part.
    EXPECT_EQ(r.parts, written({"! 74HC00; U1: DIP14? ", "! 10K; R1: R1608? "}));
    EXPECT_EQ(r.net, written({"GND; 3: U1.7, U2.7, R1.2, ", "NET1; 2: U1.7.A, R1.1, "}));
}

TEST(MncvainReader, TheClosingSemicolonTakesTheLastPinEvenWhenEmpty) {
    const auto r = convert("COMP\r\nNETS\r\nN1 = A-1, B-2,;\r\nN2 = -5V-1;\r\n");
    EXPECT_EQ(r.net, written({"N1; 3: A.1, B.2, , ", "N2; 1: -5V.1, "}));
}

TEST(MncvainReader, LowerCaseKeywordsAndLoneLineFeedsReadLikeTheUsualFile) {
    const std::string lf = "components\n{\nu1 [dip14] 74hc00,\n}\nnets\n{\ngnd = u1-7,\nr1-2;\n}\n";
    std::string crlf;
    for (const char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const auto fromLf = convert(lf);
    const auto fromCrlf = convert(crlf);
    EXPECT_EQ(fromLf.status, "good");
    EXPECT_EQ(fromLf.net, written({"GND; 2: U1.7, R1.2, "}));
    EXPECT_EQ(fromLf.parts, written({"! 74HC00; U1: DIP14? "}));
    EXPECT_EQ(fromCrlf.net, fromLf.net);
    EXPECT_EQ(fromCrlf.parts, fromLf.parts);
}

TEST(MncvainReader, WithoutComponentAndNetBlocksTheFileIsNotOfThisFormat) {
    for (const std::string_view text :
         {std::string_view("NETS\r\nN1 = A-1;\r\n"),                // no component block
          std::string_view("NETS\r\nCOMP\r\nN1 = A-1;\r\n"),        // nets before it
          std::string_view("COMP\r\nU1 [D] X,\r\n} NETS\r\nN1 = A-1;\r\n")}) { // after "}"
        SCOPED_TRACE(text);
        const auto r = convert(text);
        EXPECT_EQ(r.status, "bad");
        EXPECT_EQ(r.hides, 1);
    }
    // net.tmp is left holding the upper-cased copy, which starts with an empty line.
    EXPECT_EQ(convert("nets\r\n").net, "\r\nNETS\r\n");
}

TEST(MncvainReader, ASemicolonWithoutANetWritesNothing) {
    const auto r = convert("COMP\r\nNETS\r\nX;\r\nN1 = A-1;\r\nY, Z;\r\nN2 = B-1, B-2\r\n");
    // N2 has no closing ";" before the end of the file.
    EXPECT_EQ(r.net, written({"N1; 1: A.1, "}));
}

void convertAnything(std::string_view text) {
    try {
        convert(text);
    } catch (const RunFailure&) {
    }
}

TEST(MncvainReader, SurvivesTruncatedGarbledAndHugeInput) {
    const std::string board = test::readFile(test::dataFile("readers/mncvain/board.net"));
    for (std::size_t n = 0; n <= board.size(); ++n)
        convertAnything(std::string_view(board).substr(0, n));

    std::mt19937 random(11);
    std::string garbage(64 * 1024, '\0');
    for (auto& c : garbage)
        c = static_cast<char>(random() & 0xFF);
    convertAnything(garbage);
    convertAnything("COMP\r\nNETS\r\n" + std::string(200000, '{') + std::string(100000, '='));
    convertAnything("COMP\r\n" + std::string(100000, '[') + std::string(100000, ']') + ",\r\n");
    std::string manyPins = "COMP\r\nNETS\r\nBIG =";
    for (int i = 0; i < 25000; ++i)
        manyPins += " U1-" + std::to_string(i) + ",";
    EXPECT_THROW(convert(manyPins), CapacityExceeded);
}

TEST(MncvainReader, BoardComparesWithItsTelesisVersionAsAFullMatch) {
    test::ComparisonFixture fx;
    fx.inputs.path1 = test::dataFile("readers/mncvain/board.net").string();
    fx.inputs.path2 = test::dataFile("readers/mncvain/board.tel").string();
    fx.inputs.format1 = "CADVANCE";
    fx.inputs.format2 = "Telesis";
    const auto r = fx.run();
    EXPECT_EQ(r.outcome, RunOutcome::Completed);
    EXPECT_TRUE(r.allClear);
}

TEST(MncvainReader, ATelesisFileGivesTheFormatMismatch) {
    test::ComparisonFixture fx;
    fx.inputs.path1 = test::dataFile("readers/mncvain/board.tel").string();
    fx.inputs.path2 = test::dataFile("readers/mncvain/board.net").string();
    fx.inputs.format1 = "CADVANCE";
    fx.inputs.format2 = "CADVANCE";
    EXPECT_EQ(fx.run().outcome, RunOutcome::FormatMismatch);
}

} // namespace
} // namespace lintora
