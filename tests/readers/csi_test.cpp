#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using test::crlfText;
using test::dataFile;
using test::readFile;

struct CsiRun {
    test::ScratchWorkspace sw;
    ReaderResult result = ReaderResult::NotRecognised;

    explicit CsiRun(std::string_view text) {
        test::writeFile(sw.dir / "in.csi", text);
        result = readCsi(sw.ws, (sw.dir / "in.csi").string());
    }
    std::string nets() const { return readFile(sw.dir / "net.tmp"); }
    std::string parts() const { return readFile(sw.dir / "parts.tmp"); }
};

TEST(CsiReader, ReadsComponentsAndNets) {
    CsiRun run(readFile(dataFile("readers/csi/board.csi")));
    EXPECT_EQ(run.result, ReaderResult::Recognised);
    EXPECT_EQ(run.parts(), crlfText({"! 74HC00; U1: SO14? ", "! 74HC00; U2: SO14? ",
                                     "! 10K; R1: R1608? ", "! 0.1UF; C1: C1608? ", ""}));
    EXPECT_EQ(run.nets(),
              crlfText({"GND; 3: U1.7, U2.7, C1.2, ", "VCC; 4: U1.14, U2.14, C1.1, R1.1, ",
                        "N1; 3: U1.3, U2.1, R1.2, ", "N2; 2: U2.3, U1.1, ", ""}));
    EXPECT_EQ(run.sw.observer.hides, 0);
}

TEST(CsiReader, TheLastWordOfAComponentLineCountsWithOrWithoutATrailingBlank) {
    CsiRun run(".com\r\n"
               "R1 10K\r\n"                // two words: still a part
               "R2 10K R1608\r\n"          // footprint without a trailing blank
               "U1\t74HC00 DIP14 TOP \r\n" // the last footprint word wins
               "* U9 74HC04 SO14 \r\n"     // comment
               ".EODCOM\r\n.NET\r\n");
    EXPECT_EQ(run.parts(),
              crlfText({"! 10K; R1: ? ", "! 10K; R2: R1608? ", "! 74HC00; U1: TOP? ", ""}));
}

TEST(CsiReader, OnlyNamedNetsClosedByABraceAreWritten) {
    CsiRun run(".COM\r\n.NET\r\n"
               "GND {\r\n"    // the first net needs no ":"
               "u1 7 OUT\r\n" // text after the pin number is ignored
               "}\r\n"
               "U5 3\r\n" // belongs to no net
               "}\r\n"    // stray brace
               ":N1\r\n"  // a name alone on its line
               "R1 2\r\n"
               "}\r\n"
               ":N2 {\r\n"
               "U1 2\r\n" // never closed: dropped at the next ":"
               ":N3 {\r\n"
               "U1 3\r\n"
               "}\r\n"
               ":N4 {\r\n"
               "U1 4\r\n"); // never closed before the end of the file
    EXPECT_EQ(run.nets(), crlfText({"GND; 1: U1.7, ", "N1; 1: R1.2, ", "N3; 1: U1.3, ", ""}));
}

TEST(CsiReader, WithoutAComponentSectionTheFileIsBadAndNothingIsWritten) {
    for (const char* text :
         {"U1 74HC00 SO14 \r\n.NET\r\n:GND {\r\nU1 7\r\n}\r\n", "* no keywords at all\r\n"}) {
        SCOPED_TRACE(text);
        CsiRun run(text);
        EXPECT_EQ(run.result, ReaderResult::NotRecognised);
        EXPECT_EQ(run.sw.observer.hides, 1);
        EXPECT_FALSE(test::fileExists(run.sw.dir / "net.tmp"));
        EXPECT_FALSE(test::fileExists(run.sw.dir / "parts.tmp"));
    }
}

TEST(CsiReader, TheBoardComparesWithItsTelesisVersionAsAFullMatch) {
    test::expectFullMatchWithTelesis("readers/csi/board.csi", "CSi", "readers/csi/board.tel");
}

TEST(CsiReader, SurvivesTruncationGarbageLongLinesAndOpenBraces) {
    test::convertSurvivingEach(
        [](std::string_view text) { const CsiRun run(text); },
        {std::string("\x00\xff\xfe\x01{{{:::}}}\x80", 14),
         ".COM\r\n.NET\r\n:" + std::string(200000, 'A') + " {\r\n" + std::string(100000, '{'),
         ".COM\r\n.NET\r\n:N {\r\n" + std::string(100000, '}') + "\n\n\n"},
        readFile(dataFile("readers/csi/board.csi")));
}

} // namespace
} // namespace lintora
