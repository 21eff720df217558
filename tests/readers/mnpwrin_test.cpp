#include "readers/readers.h"
#include "run/errors.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

namespace lintora {
namespace {

struct Conversion {
    std::string status;
    std::optional<std::string> net;
    std::optional<std::string> parts;
    int hides = 0;
};

Conversion convert(std::string_view text, std::string status = "") {
    test::ScratchWorkspace sw;
    const auto input = sw.dir / "input.wrl";
    test::writeFile(input, text);
    Conversion result;
    result.status = std::move(status);
    mnpwrin(sw.ws, input.string(), result.status);
    if (test::fileExists(sw.dir / "net.tmp"))
        result.net = test::readFile(sw.dir / "net.tmp");
    if (test::fileExists(sw.dir / "parts.tmp"))
        result.parts = test::readFile(sw.dir / "parts.tmp");
    result.hides = sw.observer.hides;
    return result;
}

std::string written(const std::vector<std::string>& lines) {
    return test::crlfText(lines) + "\r\n";
}

TEST(MnpwrinReader, ConvertsNamesContinuationsAndPins) {
    const auto c = convert("% wire list\r\n"
                           "  gnd                   u1-7 U2-7\r\n"
                           "\r\n"
                           "% a comment inside a net\r\n"
                           "                        U1-A-3  -5\r\n"
                           "  VCC                   U1-14\r\n");
    // Only the first "-" after a pin's first character becomes ".".
    EXPECT_EQ(c.net, written({"GND; 4: U1.7, U2.7, U1.A-3, -5, ", "VCC; 1: U1.14, "}));
    EXPECT_EQ(c.parts, written({})); // the format has no parts
    EXPECT_EQ(c.hides, 0);
}

TEST(MnpwrinReader, LeavesTheStatusWordAsReceived) {
    const std::string board = "  A  U1-1\r\n";
    EXPECT_EQ(convert(board, "").status, "");
    EXPECT_EQ(convert(board, "good").status, "good");
}

TEST(MnpwrinReader, ColumnsCountCharactersNotBytes) {
    // The third character of the second line is a blank: it continues GND, although its
    // third byte belongs to the first character.
    const auto c = convert("  GND U1-7\r\n電源 U2-7\r\n");
    EXPECT_EQ(c.net, written({"GND; 3: U1.7, 電源, U2.7, "}));
}

TEST(MnpwrinReader, LongNamesAndNamesAloneOnTheirLine) {
    const auto c = convert("  A_VERY_LONG_NET_NAME_OF_30_CH U1-1\r\n"
                           "  CLK\r\n"
                           "        U2-1 U3-1\r\n"
                           "  SPARE\r\n"
                           "  LAST U4-1\r\n");
    // A net without pins is written with count 0, not with the previous net's pins.
    EXPECT_EQ(c.net, written({"A_VERY_LONG_NET_NAME_OF_30_CH; 1: U1.1, ", "CLK; 2: U2.1, U3.1, ",
                              "SPARE; 0: ", "LAST; 1: U4.1, "}));
}

TEST(MnpwrinReader, PinsBeforeTheFirstNameBelongToNoNet) {
    const auto c = convert("          X1-1\r\n  A U1-1\r\n");
    EXPECT_EQ(c.net, written({"A; 1: U1.1, "}));
}

TEST(MnpwrinReader, AFileWhoseLastNetHasNoPinIsBad) {
    for (const char* text :
         {"", "% only comments\r\n", "      U1-1 U2-1\r\n", "  A U1-1\r\n  B\r\n",
          "$PACKAGES\r\n$NETS\r\nGND ; U1.7\r\n$END\r\n"}) {
        SCOPED_TRACE(text);
        const auto c = convert(text, "");
        EXPECT_EQ(c.status, "bad");
        EXPECT_EQ(c.hides, 1);
        EXPECT_EQ(c.parts, written({}));
        EXPECT_FALSE(c.net.has_value());
    }
}

TEST(MnpwrinReader, SmallBoardMatchesItsTelesisVersion) {
    test::ComparisonFixture fx;
    fx.inputs.path1 = test::dataFile("readers/mnpwrin/board.tel").string();
    fx.inputs.format1 = "Telesis";
    fx.inputs.path2 = test::dataFile("readers/mnpwrin/board.wrl").string();
    fx.inputs.format2 = "Pcad(wrl)";
    const auto r = fx.run();
    EXPECT_EQ(r.outcome, RunOutcome::Completed);
    EXPECT_TRUE(r.allClear);
}

TEST(MnpwrinReader, ATelesisFileIsAFormatMismatch) {
    test::ComparisonFixture fx;
    fx.inputs.path1 = test::dataFile("readers/mnpwrin/board.tel").string();
    fx.inputs.format1 = "Pcad(wrl)";
    fx.inputs.path2 = test::dataFile("readers/mnpwrin/board.wrl").string();
    fx.inputs.format2 = "Pcad(wrl)";
    EXPECT_EQ(fx.run().outcome, RunOutcome::FormatMismatch);
}

void expectSurvives(std::string_view text) {
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "input.wrl", text);
    std::string status;
    try {
        mnpwrin(sw.ws, (sw.dir / "input.wrl").string(), status);
    } catch (const RunFailure&) {
    }
}

TEST(MnpwrinReader, SurvivesTruncatedGarbledAndHugeInput) {
    const std::string board = test::readFile(test::dataFile("readers/mnpwrin/board.wrl"));
    for (std::size_t n = 0; n <= board.size(); ++n) {
        SCOPED_TRACE(n);
        expectSurvives(board.substr(0, n));
    }
    std::mt19937 random(13);
    const std::vector<std::string> pieces{"  ", " ",  "-", "%",  "\r\n", "\r",
                                          "\n", "U1", "A", "電", "\t",   std::string(1, '\0')};
    for (int round = 0; round < 50; ++round) {
        std::string soup;
        for (int i = 0; i < 300; ++i)
            soup += pieces[random() % pieces.size()];
        expectSurvives(soup);
    }
    expectSurvives("  A " + std::string(2'000'000, '-'));
    std::string hugeNet = "  BIG";
    for (int i = 0; i < 30000; ++i)
        hugeNet += " U" + std::to_string(i) + "-1";
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "big.wrl", hugeNet);
    std::string status;
    EXPECT_THROW(mnpwrin(sw.ws, (sw.dir / "big.wrl").string(), status), CapacityExceeded);
}

} // namespace
} // namespace lintora
