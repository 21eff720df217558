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
    std::optional<std::string> net;   // net.tmp, when written
    std::optional<std::string> parts; // parts.tmp, when written
    int hides = 0;
};

Conversion convert(std::string_view text) {
    test::ScratchWorkspace sw;
    const auto input = sw.dir / "input.asc";
    test::writeFile(input, text);
    Conversion result;
    mnpapin(sw.ws, input.string(), result.status);
    if (test::fileExists(sw.dir / "net.tmp"))
        result.net = test::readFile(sw.dir / "net.tmp");
    if (test::fileExists(sw.dir / "parts.tmp"))
        result.parts = test::readFile(sw.dir / "parts.tmp");
    result.hides = sw.observer.hides;
    return result;
}

// A written file: each line ended by CR LF, then one more CR LF.
std::string written(const std::vector<std::string>& lines) {
    return test::crlfText(lines) + "\r\n";
}

TEST(MnpapinReader, ConvertsPartsAndNetsInAnyLetterCase) {
    const auto c = convert("!PADS-POWERPCB-V3.0-MILS!\r\n"
                           "\r\n"
                           "*part*\r\n"
                           "U1\t74ls00\r\n"
                           "R1  10K  1608\r\n"
                           "*net*\r\n"
                           "*signal* gnd\r\n"
                           " U1.7\tR1.2\r\n"
                           "u2.7\r\n"
                           "*SIGNAL* MY NET\r\n"
                           "U1.1 U2.3\r\n"
                           "*SIGNAL* SPARE\r\n"
                           "*end*\r\n");
    EXPECT_EQ(c.status, "good");
    EXPECT_EQ(c.hides, 0);
    // The part type doubles as the footprint; words after it are joined to it.
    EXPECT_EQ(c.parts, written({"! 74LS00; U1: 74LS00? ", "! 10K1608; R1: 10K1608? "}));
    // The name keeps its inner blank; a net without pins is written with count 0.
    EXPECT_EQ(c.net,
              written({"GND; 3: U1.7, R1.2, U2.7, ", "MY NET; 2: U1.1, U2.3, ", "SPARE; 0: "}));
}

TEST(MnpapinReader, PartKeywordDropsWhatCameBeforeAndRemarksAreComments) {
    const auto c = convert("HEADER WORDS\r\n"
                           "*REMARK* written by hand\r\n"
                           "*PART*\r\n"
                           "*REMARK* parts follow\r\n"
                           "C1 0.1UF\r\n"
                           "*NET*\r\n"
                           "*SIGNAL* N1\r\n"
                           "C1.1\r\n"
                           "*END*\r\n");
    EXPECT_EQ(c.parts, written({"! 0.1UF; C1: 0.1UF? "}));
    EXPECT_EQ(c.net, written({"N1; 1: C1.1, "}));
}

TEST(MnpapinReader, ALineWithoutItsOwnPartTypeRepeatsNoPart) {
    // A reference alone, or a keyword line after parts, must not reuse the previous type.
    const auto c = convert("*PART*\r\nR1 10K\r\nR2\r\n*REMARK* end of parts\r\n*NET*\r\n*END*\r\n");
    EXPECT_EQ(c.parts, written({"! 10K; R1: 10K? "}));
    EXPECT_EQ(c.net, written({}));
}

TEST(MnpapinReader, NetNameStartsAtTheTenthCharacterNotByte) {
    // A full-width blank (three bytes) after *SIGNAL*: the name is what follows it.
    const auto c = convert("*PART*\r\n*NET*\r\n*SIGNAL*\u3000電源\r\nU1.1 U2.1\r\n*END*\r\n");
    EXPECT_EQ(c.net, written({"電源; 2: U1.1, U2.1, "}));
}

TEST(MnpapinReader, WithoutNetKeywordTheFileIsNotPads) {
    const auto c = convert("$PACKAGES\r\nDIP14 ! 74LS00 ; U1\r\n$NETS\r\nGND ; U1.7\r\n$END\r\n");
    EXPECT_EQ(c.status, "bad");
    EXPECT_EQ(c.hides, 1);
    EXPECT_TRUE(c.parts.has_value()); // written with what was gathered
    EXPECT_FALSE(c.net.has_value());
}

TEST(MnpapinReader, TheLastNetSurvivesAMissingEndKeyword) {
    const auto c =
        convert("*PART*\r\nU1 X\r\n*NET*\r\n*SIGNAL* A\r\nU1.1\r\n*SIGNAL* B\r\nU1.2 U1.3\r\n");
    EXPECT_EQ(c.status, "good");
    EXPECT_EQ(c.net, written({"A; 1: U1.1, ", "B; 2: U1.2, U1.3, "}));
}

TEST(MnpapinReader, SectionsAfterTheNetsAddNoPins) {
    // PADS Logic writes a *MISC* section between the last net and *END*.
    const auto c = convert("*PART*\r\n*NET*\r\n"
                           "*SIGNAL* A\r\n"
                           "U1.1 U1.2\r\n"
                           "*REMARK* a comment between pins\r\n"
                           "U1.3\r\n"
                           "\r\n"
                           "*MISC*      MISCELLANEOUS PARAMETERS\r\n"
                           "LAYER MILS\r\n"
                           "{\r\n}\r\n"
                           "*END*     OF ASCII OUTPUT FILE\r\n");
    EXPECT_EQ(c.net, written({"A; 3: U1.1, U1.2, U1.3, "}));
}

TEST(MnpapinReader, PinsBeforeTheFirstSignalBelongToNoNet) {
    const auto c = convert("*PART*\r\n*NET*\r\nX1.1 X1.2\r\n*SIGNAL* A\r\nU1.1\r\n*END*\r\n");
    EXPECT_EQ(c.net, written({"A; 1: U1.1, "}));
}

TEST(MnpapinReader, SmallBoardMatchesItsTelesisVersion) {
    test::ComparisonFixture fx;
    fx.inputs.path1 = test::dataFile("readers/mnpapin/board.asc").string();
    fx.inputs.format1 = "PADSPCB";
    fx.inputs.path2 = test::dataFile("readers/mnpapin/board.tel").string();
    fx.inputs.format2 = "Telesis";
    const auto r = fx.run();
    EXPECT_EQ(r.outcome, RunOutcome::Completed);
    EXPECT_TRUE(r.allClear);
}

TEST(MnpapinReader, ATelesisFileIsAFormatMismatch) {
    test::ComparisonFixture fx;
    fx.inputs.path1 = test::dataFile("readers/mnpapin/board.tel").string();
    fx.inputs.format1 = "PADSPCB";
    fx.inputs.path2 = test::dataFile("readers/mnpapin/board.asc").string();
    fx.inputs.format2 = "PADSPCB";
    EXPECT_EQ(fx.run().outcome, RunOutcome::FormatMismatch);
}

// The reader returns, good or bad, or stops with one of Lintora's failures.
void expectSurvives(std::string_view text) {
    test::ScratchWorkspace sw;
    const auto input = sw.dir / "input.asc";
    test::writeFile(input, text);
    std::string status;
    try {
        mnpapin(sw.ws, input.string(), status);
    } catch (const RunFailure&) {
    }
}

TEST(MnpapinReader, SurvivesTruncatedGarbledAndHugeInput) {
    const std::string board = test::readFile(test::dataFile("readers/mnpapin/board.asc"));
    for (std::size_t n = 0; n <= board.size(); ++n) {
        SCOPED_TRACE(n);
        expectSurvives(board.substr(0, n));
    }
    std::mt19937 random(7);
    const std::vector<std::string> pieces{
        "*PART*", "*NET*", "*SIGNAL*", "*END*", "*REMARK*",
        "*MISC*", " ",     "\t",       "\r\n",  "\r",
        "\n",     "U1.1",  "R",        "電",    std::string(1, '\0')};
    for (int round = 0; round < 50; ++round) {
        std::string soup;
        for (int i = 0; i < 300; ++i)
            soup += pieces[random() % pieces.size()];
        expectSurvives(soup);
    }
    std::string bytes;
    for (int i = 0; i < 4096; ++i)
        bytes += static_cast<char>(random() % 256);
    expectSurvives(bytes);
    std::string hugeNet = "*PART*\r\n*NET*\r\n*SIGNAL* BIG\r\n";
    for (int i = 0; i < 30000; ++i)
        hugeNet += "U" + std::to_string(i) + ".1 ";
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "big.asc", hugeNet);
    std::string status;
    EXPECT_THROW(mnpapin(sw.ws, (sw.dir / "big.asc").string(), status), CapacityExceeded);
}

} // namespace
} // namespace lintora
