#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

struct Converted {
    ReaderResult result = ReaderResult::NotRecognised;
    std::string net, parts; // net is "(none)" when net.tmp was not written
    int hides = 0;
};

Converted convert(std::string_view text, std::string_view partsFile = {}) {
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "in.net", text);
    const std::string partsPath = partsFile.empty() ? "" : (sw.dir / "in.pts").string();
    if (!partsFile.empty())
        test::writeFile(partsPath, partsFile);
    Converted r;
    r.result = readMm(sw.ws, (sw.dir / "in.net").string(), partsPath);
    r.net = test::fileExists(sw.dir / "net.tmp") ? test::readFile(sw.dir / "net.tmp") : "(none)";
    r.parts = test::readFile(sw.dir / "parts.tmp");
    r.hides = sw.observer.hides;
    return r;
}

std::string written(const std::vector<std::string>& lines) {
    return test::crlfText(lines) + "\r\n";
}

TEST(MmReader, ReadsNamedUnnamedAndContinuedNets) {
    const auto r = convert("MM2 NETLIST\r\n" // no net is open: writes nothing
                           "$net\r\n"
                           "GND; U1-7, U2-7, R1-2\r\n"
                           "VCC; U1-14, \t\r\n" // blanks after the "," still continue
                           "U2-14\r\n"
                           "stray words\r\n"
                           "; C5-1, C6-1\r\n"
                           "G N D 2 ;\tIC3 - A-2\r\n"
                           ";c7-1\r\n"
                           "N3;\r\n" // one empty pin
                           "$end\r\n"
                           "AFTER; X-1\r\n");
    EXPECT_EQ(r.result, ReaderResult::Recognised);
    EXPECT_EQ(r.net, written({"GND; 3: U1.7, U2.7, R1.2, ", "VCC; 2: U1.14, U2.14, ",
                              "un0; 2: C5.1, C6.1, ", "GND2; 1: IC3.A-2, ", "un1; 1: C7.1, ",
                              "N3; 1: , "}));
    EXPECT_EQ(r.parts, "\r\n");
}

TEST(MmReader, ANetContinuedToTheEndOfTheListIsWritten) {
    for (const std::string_view text :
         {"$NET\r\nVCC; U1-14,\r\n$END\r\n", "$NET\r\nVCC; U1-14,\r\n\r\nN2; X-1\r\n",
          "$NET\r\nVCC; U1-14,"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(convert(text).net, written({"VCC; 1: U1.14, "}));
    }
}

TEST(MmReader, WithoutTheNetKeywordTheFileIsNotOfThisFormat) {
    // A net before "$NET" stops the reader at once, before net.tmp is written.
    const auto early = convert("DIP14 ! 74HC00 ; U1\r\n$NETS\r\nGND ; U1.7\r\n");
    EXPECT_EQ(early.result, ReaderResult::NotRecognised);
    EXPECT_EQ(early.hides, 1);
    EXPECT_EQ(early.net, "(none)");
    // No "$NET" at all: the run hides the progress window when it reports the mismatch.
    const auto none = convert("*PADS-PCB*\r\n*NET*\r\nGND U1.7\r\n");
    EXPECT_EQ(none.result, ReaderResult::NotRecognised);
    EXPECT_EQ(none.hides, 0);
    EXPECT_EQ(none.net, "\r\n");
}

TEST(MmReader, ReadsAGivenPartsFile) {
    const auto r = convert("$NET\r\nN1; U1-1\r\n", "$PTS\r\nDIP14 ! 74hc00 ; U1\r\nR1608!10K;R1\r\n"
                                                   "NOPART\r\n$END\r\nX ! Y ; Z\r\n");
    EXPECT_EQ(r.parts, written({"! 74HC00; U1: DIP14? ", "! 10K; R1: R1608? "}));
}

TEST(MmReader, SurvivesTruncatedGarbledAndHugeInput) {
    test::convertSurvivingEach(
        [](std::string_view text) { convert(text); },
        {test::randomBytes(64 * 1024, 17),
         "$NET\r\n" + std::string(300000, ';') + "\r\n" + std::string(300000, ',')},
        test::readFile(test::dataFile("readers/mm/board.net")));
    std::string manyPins = "$NET\r\nBIG;";
    for (int i = 0; i < 25000; ++i)
        manyPins += " U1-" + std::to_string(i) + ",";
    EXPECT_THROW(convert(manyPins), CapacityExceeded);
}

TEST(MmReader, BoardMatchesItsTelesisVersionAndForeignFilesAreNotThisFormat) {
    test::expectFullMatchWithTelesis("readers/mm/board.net", "MM-COLMO_NEO & MM2",
                                     "readers/mm/board.tel");

    // INTERGRA's "%NET" section is close to this format's "$NET" and must still be refused.
    test::ComparisonFixture fx;
    fx.inputs.path1 = test::dataFile("readers/intergra/board.net").string();
    fx.inputs.path2 = test::dataFile("readers/mm/board.net").string();
    fx.inputs.format1 = "MM-COLMO_NEO & MM2";
    fx.inputs.format2 = "MM-COLMO_NEO & MM2";
    EXPECT_EQ(fx.run().outcome, RunOutcome::FormatMismatch);
}

TEST(MmReader, APartsFileLineWithAnEmptyPartNameIsKept) {
    const auto r = convert("$NET\r\nN1; U1-1\r\n", "$PTS\r\nCONN2 ! ; J1\r\nDIP14 ! 74HC00 ; U1\r\n"
                                                   " ; \r\n$END\r\n");
    EXPECT_EQ(r.parts, written({"! ; J1: CONN2? ", "! 74HC00; U1: DIP14? "}));
}

} // namespace
} // namespace lintora
