#include "readers/readers.h"
#include "run/errors.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <optional>

namespace lintora {
namespace {

struct Conversion {
    std::string status;
    std::optional<std::string> net;
    std::optional<std::string> parts;
};

Conversion convert(std::string_view text) {
    test::ScratchWorkspace sw;
    const auto input = sw.dir / "input.asc";
    test::writeFile(input, text);
    Conversion result;
    mnpa2in(sw.ws, input.string(), result.status);
    if (test::fileExists(sw.dir / "net.tmp"))
        result.net = test::readFile(sw.dir / "net.tmp");
    if (test::fileExists(sw.dir / "parts.tmp"))
        result.parts = test::readFile(sw.dir / "parts.tmp");
    return result;
}

std::string written(const std::vector<std::string>& lines) {
    return test::crlfText(lines) + "\r\n";
}

TEST(Mnpa2inReader, KeepsPartsBeforePartKeywordAndReadsRemarkAsData) {
    const auto c = convert("*remark* HELLO\r\n"
                           "R1 10K\r\n"
                           "*PART*\r\n"
                           "C1 1UF\r\n"
                           "*NET*\r\n"
                           "*SIGNAL* N1\r\n"
                           "R1.1 C1.1\r\n"
                           "*END*\r\n");
    EXPECT_EQ(c.status, "good");
    EXPECT_EQ(c.parts,
              written({"! HELLO; *REMARK*: HELLO? ", "! 10K; R1: 10K? ", "! 1UF; C1: 1UF? "}));
    EXPECT_EQ(c.net, written({"N1; 2: R1.1, C1.1, "}));
}

TEST(Mnpa2inReader, SharesTheNetRulesOfPadsPcb) {
    // Same layout as PADSPCB: lower-case keywords, TAB, a net cut off by the end of the file.
    const auto c = convert("*part*\r\nU1 X\r\n*net*\r\n*signal* gnd\r\nu1.7\tu2.7\r\n"
                           "*SIGNAL* VCC\r\nU1.14\r\n");
    EXPECT_EQ(c.net, written({"GND; 2: U1.7, U2.7, ", "VCC; 1: U1.14, "}));
    EXPECT_EQ(convert("*PART*\r\nU1 X\r\n").status, "bad");
}

TEST(Mnpa2inReader, SmallBoardMatchesItsTelesisVersion) {
    test::ComparisonFixture fx;
    fx.inputs.path1 = test::dataFile("readers/mnpa2in/board.tel").string();
    fx.inputs.format1 = "Telesis";
    fx.inputs.path2 = test::dataFile("readers/mnpa2in/board.asc").string();
    fx.inputs.format2 = "PADS2000";
    const auto r = fx.run();
    EXPECT_EQ(r.outcome, RunOutcome::Completed);
    EXPECT_TRUE(r.allClear);
}

TEST(Mnpa2inReader, ATelesisFileIsAFormatMismatch) {
    test::ComparisonFixture fx;
    fx.inputs.path1 = test::dataFile("readers/mnpa2in/board.asc").string();
    fx.inputs.format1 = "PADS2000";
    fx.inputs.path2 = test::dataFile("readers/mnpa2in/board.tel").string();
    fx.inputs.format2 = "PADS2000";
    EXPECT_EQ(fx.run().outcome, RunOutcome::FormatMismatch);
}

TEST(Mnpa2inReader, SurvivesEveryPrefixOfABoard) {
    const std::string board = test::readFile(test::dataFile("readers/mnpa2in/board.asc"));
    for (std::size_t n = 0; n <= board.size(); ++n) {
        SCOPED_TRACE(n);
        test::ScratchWorkspace sw;
        test::writeFile(sw.dir / "input.asc", board.substr(0, n));
        std::string status;
        try {
            mnpa2in(sw.ws, (sw.dir / "input.asc").string(), status);
        } catch (const RunFailure&) {
        }
    }
}

} // namespace
} // namespace lintora
