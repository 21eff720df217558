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
    mnintin(sw.ws, (sw.dir / "in.net").string(), r.status);
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

TEST(MnintinReader, ReadsColumnPartsAndNetsWithContinuationLines) {
    const auto r = convert("%PART\r\n"
                           "74hc00          U1\r\n"
                           "10K 1/10W       R1\r\n" // a blank before column 14 is dropped
                           "%NET\r\n"
                           "GND U1-7 R1-2\r\n"
                           "*   U2-7-B\r\n"
                           "* U3-7\r\n"
                           "-5V\tR1-1 -5V\r\n"
                           "\r\n");
    EXPECT_EQ(r.status, "good");
    EXPECT_EQ(r.parts, written({"! 74HC00; U1: 74HC00? ", "! 10K1/10W; R1: 10K1/10W? "}));
    EXPECT_EQ(r.net, written({"GND; 4: U1.7, R1.2, U2.7-B, U3.7, ", "-5V; 2: R1.1, -5V, "}));
}

TEST(MnintinReader, ColumnsCountCharactersNotBytes) {
    // Nine characters (19 bytes) and blanks up to column 16: the blank after the fifth
    // character stands in column 6, so it does not end the name.
    const auto r = convert("%PART\r\n"
                           "抵抗器具類 10K       R5\r\n"
                           "%NET\r\n");
    EXPECT_EQ(r.parts, written({"! 抵抗器具類10K; R5: 抵抗器具類10K? "}));
}

TEST(MnintinReader, TheLastNetNeedsNoLineAfterIt) {
    for (const std::string_view text :
         {std::string_view("%NET\r\nGND U1-7 U2-7"), std::string_view("%NET\r\nGND U1-7\r\n* U2-7\r\n"),
          std::string_view("%net\nGND U1-7\n* U2-7\n")}) {
        SCOPED_TRACE(text);
        const auto r = convert(text);
        EXPECT_EQ(r.status, "good");
        EXPECT_EQ(r.net, written({"GND; 2: U1.7, U2.7, "}));
    }
}

TEST(MnintinReader, WithoutANetSectionTheFileIsNotOfThisFormat) {
    const auto r = convert("%PART\r\n74HC00          U1\r\n*NET*\r\nGND U1-7\r\n");
    EXPECT_EQ(r.status, "bad");
    EXPECT_EQ(r.hides, 1);
    EXPECT_EQ(r.parts, written({"! 74HC00; U1: 74HC00? "}));
}

void convertAnything(std::string_view text) {
    try {
        convert(text);
    } catch (const RunFailure&) {
    }
}

TEST(MnintinReader, SurvivesTruncatedGarbledAndHugeInput) {
    const std::string board = test::readFile(test::dataFile("readers/mnintin/board.net"));
    for (std::size_t n = 0; n <= board.size(); ++n)
        convertAnything(std::string_view(board).substr(0, n));

    std::mt19937 random(13);
    std::string garbage(64 * 1024, '\0');
    for (auto& c : garbage)
        c = static_cast<char>(random() & 0xFF);
    convertAnything(garbage);
    convertAnything(std::string(300000, 'X') + " " + std::string(300000, '-') + "\r\n%NET\r\n" +
                    std::string(300000, '*'));
    std::string manyPins = "%NET\r\nBIG";
    for (int i = 0; i < 25000; ++i)
        manyPins += " U1-" + std::to_string(i);
    EXPECT_THROW(convert(manyPins), CapacityExceeded);
}

TEST(MnintinReader, BoardComparesWithItsTelesisVersionAsAFullMatch) {
    test::ComparisonFixture fx;
    fx.inputs.path1 = test::dataFile("readers/mnintin/board.net").string();
    fx.inputs.path2 = test::dataFile("readers/mnintin/board.tel").string();
    fx.inputs.format1 = "INTERGRA";
    fx.inputs.format2 = "Telesis";
    const auto r = fx.run();
    EXPECT_EQ(r.outcome, RunOutcome::Completed);
    EXPECT_TRUE(r.allClear);
}

TEST(MnintinReader, ATelesisFileGivesTheFormatMismatch) {
    test::ComparisonFixture fx;
    fx.inputs.path1 = test::dataFile("readers/mnintin/board.tel").string();
    fx.inputs.path2 = test::dataFile("readers/mnintin/board.net").string();
    fx.inputs.format1 = "INTERGRA";
    fx.inputs.format2 = "INTERGRA";
    EXPECT_EQ(fx.run().outcome, RunOutcome::FormatMismatch);
}

} // namespace
} // namespace lintora
