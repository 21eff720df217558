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

Converted convert(std::string_view text, std::size_t fieldSlots = Limits{}.fieldSlots) {
    test::ScratchWorkspace sw;
    sw.ws.limits.fieldSlots = fieldSlots;
    test::writeFile(sw.dir / "in.kyn", text);
    Converted r;
    mnexpin(sw.ws, (sw.dir / "in.kyn").string(), r.status);
    if (test::fileExists(sw.dir / "net.tmp"))
        r.net = test::readFile(sw.dir / "net.tmp");
    if (test::fileExists(sw.dir / "parts.tmp"))
        r.parts = test::readFile(sw.dir / "parts.tmp");
    r.hides = sw.observer.hides;
    return r;
}

// A written file: each line ended by CR LF, then one empty line.
std::string written(const std::vector<std::string>& lines) {
    return test::crlfText(lines) + "\r\n";
}

TEST(MnexpinReader, ReadsNetsWithContinuationLinesAndParts) {
    const auto r = convert("%NET\r\n"
                           "\\GND\\ \\U1\\-\\7\\ \\U2\\-\\7\\\r\n"
                           "* \\U3\\-\\7\\\r\n"
                           "*\t\\U4\\-\\7\\  \\U5\\-\\7\\\r\n"
                           "\\vcc\\ \\u1\\-\\14\\\r\n"
                           "%Part\r\n"
                           "\\74HC00\\ \\U1\\ \\U2\\\r\n"
                           "* \\U3\\\r\n"
                           "\\10k\\ \\R1\\\r\n");
    EXPECT_EQ(r.status, "good");
    EXPECT_EQ(r.net, written({"GND; 5: U1.7, U2.7, U3.7, U4.7, U5.7, ", "VCC; 1: U1.14, "}));
    EXPECT_EQ(r.parts, written({"! 74HC00; U1: ? ", "! 74HC00; U2: ? ", "! 74HC00; U3: ? ",
                                "! 10K; R1: ? "}));
}

TEST(MnexpinReader, NetLinesSharingANameBecomeOneNetAtItsFirstPlace) {
    const auto r = convert("\\N1\\ \\R1\\-\\1\\\r\n"
                           "\\N2\\ \\R3\\-\\1\\\r\n"
                           "\\n1\\ \\R2\\-\\2\\\r\n"
                           "\\N1\\ \\R4\\-\\4\\\r\n"
                           "\\N2\\\r\n");
    EXPECT_EQ(r.net, written({"N1; 3: R1.1, R2.2, R4.4, ", "N2; 1: R3.1, "}));
}

TEST(MnexpinReader, ControlAndBlankLedLinesEndTheNetAbove) {
    // After "%..." or a line led by a blank, a "*" line has no net left to continue.
    const auto r = convert("\\N1\\ \\R1\\-\\1\\\r\n"
                           "%comment\r\n"
                           "* \\R2\\-\\2\\\r\n"
                           "\\N2\\ \\R3\\-\\1\\\r\n"
                           " \\R4\\-\\4\\\r\n"
                           "* \\R5\\-\\5\\\r\n");
    EXPECT_EQ(r.net, written({"N1; 1: R1.1, ", "N2; 1: R3.1, "}));
}

TEST(MnexpinReader, DropsBlanksCommasAndWhatStandsBetweenValues) {
    const auto r = convert("\\A B,C\\ \\U 1\\ - \\7\\ x \\R1\\:\\2\\\r\n");
    EXPECT_EQ(r.net, written({"ABC; 2: U1.7, R1.2, "}));
}

TEST(MnexpinReader, PartsKeywordMustBeExact) {
    // "%part" is an ordinary control line: the nets go on, the part line below it reads as
    // a net without a complete pair, and no part is read.
    const auto r = convert("\\N1\\ \\R1\\-\\1\\\r\n"
                           "%part\r\n"
                           "\\74HC00\\ \\U1\\\r\n"
                           "\\N2\\ \\R2\\-\\2\\\r\n");
    EXPECT_EQ(r.net, written({"N1; 1: R1.1, ", "74HC00; 0: ", "N2; 1: R2.2, "}));
    EXPECT_EQ(r.parts, "\r\n");
}

TEST(MnexpinReader, TheLastNetNeedsNoLineAfterIt) {
    EXPECT_EQ(convert("\\N1\\ \\R1\\-\\1\\").net, written({"N1; 1: R1.1, "}));
    // A lone LF does not end the file's last line; outside a value it is dropped.
    EXPECT_EQ(convert("\\N1\\ \\R1\\-\\1\\\r\n* \\R2\\-\\2\\\n").net,
              written({"N1; 2: R1.1, R2.2, "}));
}

TEST(MnexpinReader, AnUnfinishedPairLosesOnlyItselfNotTheNetsAfterIt) {
    const auto r = convert("\\N1\\ \\R1\\-\\1\\ \\R2\\\r\n"
                           "\\N2\\ \\R3\\-\\3\\\r\n"
                           "\\N3\\ \\R4\\-\\4\\ \\R5\\-\r\n");
    EXPECT_EQ(r.net, written({"N1; 1: R1.1, ", "N2; 1: R3.3, ", "N3; 1: R4.4, "}));
}

TEST(MnexpinReader, AContinuationLineMayFinishAPairAcrossAControlLine) {
    const auto r = convert("\\N1\\ \\R1\\\r\n"
                           "%x\r\n"
                           "*-\\7\\\r\n");
    EXPECT_EQ(r.net, written({"N1; 1: R1.7, "}));
}

TEST(MnexpinReader, AFileWithoutNetLinesIsNotOfThisFormat) {
    for (const std::string_view text :
         {std::string_view(""), std::string_view("%Part\r\n\\74HC00\\ \\U1\\\r\n"),
          std::string_view("$PACKAGES\r\nDIP14 ! 74HC00 ; U1\r\n$NETS\r\nGND ; U1.7\r\n")}) {
        SCOPED_TRACE(text);
        const auto r = convert(text);
        EXPECT_EQ(r.status, "bad");
        EXPECT_EQ(r.hides, 1);
    }
}

TEST(MnexpinReader, TooManyNetLinesOrPinsAreACapacityFailure) {
    // Slots 0 to 5: at most six net lines to merge, at most four pins in a net.
    std::string lines;
    for (int i = 0; i < 7; ++i)
        lines += "\\N" + std::to_string(i) + "\\ \\R1\\-\\1\\\r\n";
    EXPECT_THROW(convert(lines, 6), CapacityExceeded);
    const std::string merged = "\\N1\\ \\R1\\-\\1\\ \\R2\\-\\1\\\r\n"
                               "\\N1\\ \\R3\\-\\1\\ \\R4\\-\\1\\\r\n"
                               "\\N1\\ \\R5\\-\\1\\\r\n";
    EXPECT_THROW(convert(merged, 6), CapacityExceeded);
    EXPECT_NO_THROW(convert(merged.substr(0, merged.rfind("\\N1")), 6));
}

// Returns normally or with one of Lintora's failures; anything else fails the test.
void convertAnything(std::string_view text) {
    try {
        convert(text);
    } catch (const RunFailure&) {
    }
}

TEST(MnexpinReader, SurvivesTruncatedGarbledAndHugeInput) {
    const std::string board = test::readFile(test::dataFile("readers/mnexpin/board.kyn"));
    for (std::size_t n = 0; n <= board.size(); ++n)
        convertAnything(std::string_view(board).substr(0, n));

    std::mt19937 random(7);
    std::string garbage(64 * 1024, '\0');
    for (auto& c : garbage)
        c = static_cast<char>(random() & 0xFF);
    convertAnything(garbage);
    convertAnything(std::string(200000, '\\'));
    convertAnything("\\N\\" + std::string(300000, '\\') + "\r\n*\\\r\n%Part\r\n\\\\\\\\\r\n");
    std::string manyPins = "\\BIG\\";
    for (int i = 0; i < 25000; ++i)
        manyPins += " \\U1\\-\\" + std::to_string(i) + "\\";
    EXPECT_THROW(convert(manyPins), CapacityExceeded);
}

TEST(MnexpinReader, BoardComparesWithItsTelesisVersionAsAFullMatch) {
    test::ComparisonFixture fx;
    fx.inputs.path1 = test::dataFile("readers/mnexpin/board.kyn").string();
    fx.inputs.path2 = test::dataFile("readers/mnexpin/board.tel").string();
    fx.inputs.format1 = "Expedition PCB";
    fx.inputs.format2 = "Telesis";
    const auto r = fx.run();
    EXPECT_EQ(r.outcome, RunOutcome::Completed);
    EXPECT_TRUE(r.allClear);
}

TEST(MnexpinReader, ATelesisFileGivesTheFormatMismatch) {
    test::ComparisonFixture fx;
    fx.inputs.path1 = test::dataFile("readers/mnexpin/board.tel").string();
    fx.inputs.path2 = test::dataFile("readers/mnexpin/board.kyn").string();
    fx.inputs.format1 = "Expedition PCB";
    fx.inputs.format2 = "Expedition PCB";
    EXPECT_EQ(fx.run().outcome, RunOutcome::FormatMismatch);
}

} // namespace
} // namespace lintora
