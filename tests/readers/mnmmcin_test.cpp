#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

namespace lintora {
namespace {

struct Converted {
    std::string status;
    std::optional<std::string> net; // absent when net.tmp was not written
    std::string parts;
    int hides = 0;
};

Converted convert(std::string_view text, std::string_view partsFile = {}) {
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "in.net", text);
    std::string partsPath;
    if (!partsFile.empty()) {
        partsPath = (sw.dir / "in.pts").string();
        test::writeFile(partsPath, partsFile);
    }
    Converted r;
    mnmmcin(sw.ws, (sw.dir / "in.net").string(), partsPath, r.status);
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

TEST(MnmmcinReader, ReadsNamedUnnamedAndContinuedNets) {
    const auto r = convert("MM2 NETLIST\r\n"
                           "$net\r\n"
                           "GND; U1-7, U2-7, R1-2\r\n"
                           "VCC; U1-14,\r\n"
                           "U2-14\r\n"
                           "; C5-1, C6-1\r\n"
                           "G N D 2 ;\tIC3 - A-2\r\n"
                           ";c7-1\r\n"
                           "$end\r\n"
                           "AFTER; X-1\r\n");
    EXPECT_EQ(r.status, "good");
    EXPECT_EQ(*r.net, written({"GND; 3: U1.7, U2.7, R1.2, ", "VCC; 2: U1.14, U2.14, ",
                               "un0; 2: C5.1, C6.1, ", "GND2; 1: IC3.A-2, ", "un1; 1: C7.1, "}));
    EXPECT_EQ(r.parts, "\r\n");
}

TEST(MnmmcinReader, LinesOutsideANetWriteNothing) {
    const auto r = convert("MM2 NETLIST FILE\r\n"
                           "$NET\r\n"
                           "N1; A-1\r\n"
                           "stray words\r\n"
                           "N2;\r\n");
    // "N2;" alone opens a net whose one pin is empty.
    EXPECT_EQ(*r.net, written({"N1; 1: A.1, ", "N2; 1: , "}));
}

TEST(MnmmcinReader, ANetContinuedToTheEndOfTheListIsWritten) {
    for (const std::string_view text :
         {std::string_view("$NET\r\nVCC; U1-14,\r\n$END\r\n"),
          std::string_view("$NET\r\nVCC; U1-14,\r\n\r\nN2; X-1\r\n"),
          std::string_view("$NET\r\nVCC; U1-14,")}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(*convert(text).net, written({"VCC; 1: U1.14, "}));
    }
}

TEST(MnmmcinReader, BlanksAfterALineEndingCommaStillContinueTheNet) {
    const auto r = convert("$NET\r\nVCC; U1-14, \t\r\nU2-14\r\n");
    EXPECT_EQ(*r.net, written({"VCC; 2: U1.14, U2.14, "}));
}

TEST(MnmmcinReader, WithoutTheNetKeywordTheFileIsNotOfThisFormat) {
    // A net before "$NET": the reader stops at once and writes no net.tmp.
    const auto early = convert("DIP14 ! 74HC00 ; U1\r\n$NETS\r\nGND ; U1.7\r\n");
    EXPECT_EQ(early.status, "bad");
    EXPECT_EQ(early.hides, 1);
    EXPECT_FALSE(early.net.has_value());
    EXPECT_EQ(early.parts, "\r\n");

    // No "$NET" at all: the run hides the progress window when it reports the mismatch.
    const auto none = convert("*PADS-PCB*\r\n*NET*\r\nGND U1.7\r\n");
    EXPECT_EQ(none.status, "bad");
    EXPECT_EQ(none.hides, 0);
    EXPECT_EQ(*none.net, "\r\n");
}

TEST(MnmmcinReader, ReadsAGivenPartsFile) {
    const auto r = convert("$NET\r\nN1; U1-1\r\n",
                           "$PTS\r\n"
                           "DIP14 ! 74hc00 ; U1\r\n"
                           "R1608!10K;R1\r\n"
                           "NOPART\r\n"
                           "$END\r\n"
                           "X ! Y ; Z\r\n");
    EXPECT_EQ(r.parts, written({"! 74HC00; U1: DIP14? ", "! 10K; R1: R1608? "}));
}

void convertAnything(std::string_view text) {
    try {
        convert(text);
    } catch (const RunFailure&) {
    }
}

TEST(MnmmcinReader, SurvivesTruncatedGarbledAndHugeInput) {
    const std::string board = test::readFile(test::dataFile("readers/mnmmcin/board.net"));
    for (std::size_t n = 0; n <= board.size(); ++n)
        convertAnything(std::string_view(board).substr(0, n));

    std::mt19937 random(17);
    std::string garbage(64 * 1024, '\0');
    for (auto& c : garbage)
        c = static_cast<char>(random() & 0xFF);
    convertAnything(garbage);
    convertAnything("$NET\r\n" + std::string(300000, ';') + "\r\n" + std::string(300000, ','));
    std::string manyPins = "$NET\r\nBIG;";
    for (int i = 0; i < 25000; ++i)
        manyPins += " U1-" + std::to_string(i) + ",";
    EXPECT_THROW(convert(manyPins), CapacityExceeded);
}

TEST(MnmmcinReader, BoardComparesWithItsTelesisVersionAsAFullMatch) {
    test::ComparisonFixture fx;
    fx.inputs.path1 = test::dataFile("readers/mnmmcin/board.net").string();
    fx.inputs.path2 = test::dataFile("readers/mnmmcin/board.tel").string();
    fx.inputs.format1 = "MM-COLMO_NEO & MM2";
    fx.inputs.format2 = "Telesis";
    const auto r = fx.run();
    EXPECT_EQ(r.outcome, RunOutcome::Completed);
    EXPECT_TRUE(r.allClear);
}

TEST(MnmmcinReader, AFileOfAnotherFormatGivesTheFormatMismatch) {
    for (const std::string_view foreign : {"readers/mnmmcin/board.tel", "readers/mnintin/board.net"}) {
        SCOPED_TRACE(foreign);
        test::ComparisonFixture fx;
        fx.inputs.path1 = test::dataFile(foreign).string();
        fx.inputs.path2 = test::dataFile("readers/mnmmcin/board.net").string();
        fx.inputs.format1 = "MM-COLMO_NEO & MM2";
        fx.inputs.format2 = "MM-COLMO_NEO & MM2";
        EXPECT_EQ(fx.run().outcome, RunOutcome::FormatMismatch);
    }
}

} // namespace
} // namespace lintora
