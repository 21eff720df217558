#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using test::crlfText;
using test::dataFile;
using test::readFile;

struct TelesisRun {
    test::ScratchWorkspace sw;
    ReaderResult result = ReaderResult::NotRecognised;

    explicit TelesisRun(std::string_view dataName) {
        result = readTelesis(
            sw.ws, dataFile(std::string("readers/telesis/") + std::string(dataName)).string());
    }
    std::string nets() const { return readFile(sw.dir / "net.tmp"); }
    std::string parts() const { return readFile(sw.dir / "parts.tmp"); }
};

TEST(TelesisReader, ReadsPackagesAndNetsWithContinuationLines) {
    TelesisRun run("board.tel");
    EXPECT_EQ(run.result, ReaderResult::Recognised);
    EXPECT_EQ(run.parts(),
              crlfText({"! 74LS00; U1: DIP14? ", "! 74LS00; U2: DIP14? ", "! 74LS00; U3: DIP14? ",
                        "! LM358; U4: SOIC8? ", "! 10K; R1: 0603? ", "! 10K; R2: 0603? ", ""}));
    // "VCC;U1.14,U2.14": the rest of a line after its "," is not read.
    EXPECT_EQ(run.nets(), crlfText({"GND; 4: U1.7, U2.7, U3.7, U4.4, ", "VCC; 2: U1.14, U3.14, ",
                                    "OUT; 2: R1.1, U4.1, ", ""}));
    EXPECT_EQ(run.sw.observer.hides, 0);
}

TEST(TelesisReader, LowerCaseKeywordsAndLfLineEndsConvertLikeTheUsualForm) {
    TelesisRun run("lowercase_lf.tel");
    EXPECT_EQ(run.result, ReaderResult::Recognised);
    EXPECT_EQ(run.parts(), crlfText({"! 74LS00; U1: DIP14? ", ""}));
    EXPECT_EQ(run.nets(), crlfText({"GND; 2: U1.7, R1.2, ", "IN; 2: U1.1, R1.1, ", ""}));
}

TEST(TelesisReader, AFileWithoutNetsSectionIsBadAndHidesTheProgress) {
    TelesisRun run("no_nets.tel");
    EXPECT_EQ(run.result, ReaderResult::NotRecognised);
    EXPECT_EQ(run.sw.observer.hides, 1);
    EXPECT_EQ(run.parts(), crlfText({"! 74LS00; U1: DIP14? ", ""}));
    // net.tmp keeps the upper-cased copy of the input, which starts with an empty line.
    EXPECT_EQ(run.nets(), crlfText({"", "$PACKAGES", "DIP14 ! 74LS00 ; U1"}));
}

TEST(TelesisReader, TheNetsSectionEndsAtTheFirstEmptyLine) {
    TelesisRun run("stops_at_empty_line.tel");
    EXPECT_EQ(run.nets(), crlfText({"A; 2: U1.1, U2.1, ", ""}));
}

TEST(TelesisReader, ANetWhoseLastLineEndsInACommaIsStillWritten) {
    for (const char* name : {"continued_before_end.tel", "continued_at_eof.tel"}) {
        SCOPED_TRACE(name);
        TelesisRun run(name);
        EXPECT_EQ(run.nets(), crlfText({"A; 2: U1.1, U2.1, ", ""}));
    }
}

TEST(TelesisReader, WrappedPackageEntriesKeepTheirReferencesAndStrayLinesAddNoNet) {
    TelesisRun run("wrapped_entries.tel");
    EXPECT_EQ(run.parts(), crlfText({"! 'BAT54'; D1: 'SOD-123'? ", "! 22UH; L1: 'IND'? ", ""}));
    // "$SCHEDULE" names no net: it must not become a nameless copy of the net before it.
    EXPECT_EQ(run.nets(), crlfText({"'N1'; 2: D1.1, L1.1, ", ""}));
}

TEST(TelesisReader, ANetWithAnEmptyNameKeepsItsPins) {
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "in.tel", "$PACKAGES\r\n$NETS\r\n ; U1.1 U2.1\r\n$END\r\n");

    EXPECT_EQ(readTelesis(sw.ws, (sw.dir / "in.tel").string()), ReaderResult::Recognised);
    EXPECT_EQ(readFile(sw.dir / "net.tmp"), crlfText({"; 2: U1.1, U2.1, ", ""}));
}

TEST(TelesisReader, ReadsShiftJisInputAsText) {
    test::ScratchWorkspace sw;
    // "電源" in CP932, as a net name.
    test::writeFile(sw.dir / "in.tel", "$PACKAGES\r\n$NETS\r\n\x93\x64\x8C\xB9 ; U1.1 U2.1\r\n");

    EXPECT_EQ(readTelesis(sw.ws, (sw.dir / "in.tel").string()), ReaderResult::Recognised);
    EXPECT_EQ(readFile(sw.dir / "net.tmp"), crlfText({"電源; 2: U1.1, U2.1, ", ""}));
}

TEST(TelesisReader, AMissingFileIsAFileNotFoundFailure) {
    test::ScratchWorkspace sw;
    EXPECT_THROW(readTelesis(sw.ws, (sw.dir / "absent.tel").string()), FileNotFound);
}

TEST(TelesisReader, SurvivesEveryPrefixOfAFileAndGarbage) {
    test::ScratchWorkspace sw;
    test::convertSurvivingEach(
        [&](std::string_view text) {
            test::writeFile(sw.dir / "in.tel", text);
            // Plain text never needs a RunFailure: not even that may escape here.
            EXPECT_NO_THROW(readTelesis(sw.ws, (sw.dir / "in.tel").string()));
        },
        {"$NETS\r\n" + std::string(100000, ',') + ";;;,,\t\r\r"},
        readFile(dataFile("readers/telesis/board.tel")));
}

TEST(TelesisReader, ANetWithMorePinsThanTheFieldArrayHoldsIsACapacityFailure) {
    test::ScratchWorkspace sw;
    std::string text = "$PACKAGES\r\n$NETS\r\nBIG ;";
    for (int i = 0; i < 20000; ++i)
        text += " P" + std::to_string(i) + ".1";
    test::writeFile(sw.dir / "in.tel", text + "\r\n");
    EXPECT_THROW(readTelesis(sw.ws, (sw.dir / "in.tel").string()), CapacityExceeded);
}

TEST(TelesisReader, APackageWithAnEmptyValueIsKeptWithAnEmptyPartName) {
    // EasyEDA leaves the value empty for connectors, LEDs and ICs without one; such a part
    // must still pair by its reference. A ";" with no footprint before it names no part.
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "in.tel", "$PACKAGES\r\n"
                                       "CONN-SMD_RJ-064 ! CONN-SMD_RJ-064 !  ; RJ1\r\n"
                                       "LED0603 ! ; D1 D2,\r\n D3\r\n"
                                       " ; U9\r\n"
                                       "$NETS\r\nGND ; RJ1.1 D1.2\r\n$END\r\n");
    EXPECT_EQ(readTelesis(sw.ws, (sw.dir / "in.tel").string()), ReaderResult::Recognised);
    EXPECT_EQ(readFile(sw.dir / "parts.tmp"),
              crlfText({"! ; RJ1: CONN-SMD_RJ-064? ", "! ; D1: LED0603? ", "! ; D2: LED0603? ",
                        "! ; D3: LED0603? ", ""}));
}

} // namespace
} // namespace lintora
