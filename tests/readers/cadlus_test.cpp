#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using test::crlfText;
using test::dataFile;
using test::readFile;

struct CadlusRun {
    test::ScratchWorkspace sw;
    ReaderResult result = ReaderResult::NotRecognised;

    explicit CadlusRun(std::string_view text) {
        test::writeFile(sw.dir / "in.clp", text);
        result = readCadlus(sw.ws, (sw.dir / "in.clp").string());
    }
    std::string nets() const { return readFile(sw.dir / "net.tmp"); }
    std::string parts() const { return readFile(sw.dir / "parts.tmp"); }
};

TEST(CadlusReader, ReadsNetLinesAndContinuationsAndRecognisesAnyFileWithAPin) {
    const std::string text = readFile(dataFile("readers/cadlus/board.clp"));
    {
        CadlusRun run(text);
        EXPECT_EQ(run.result, ReaderResult::Recognised);
        EXPECT_EQ(run.parts(), "\r\n\r\n"); // an empty first line, no part
        EXPECT_EQ(run.nets(),
                  crlfText({"GND; 3: U1.7, U2.7, C1.2, ", "VCC; 4: U1.14, U2.14, C1.1, R1.1, ",
                            "N1; 3: U1.3, U2.1, R1.2, ", "N2; 2: U2.3, U1.1, ", ""}));
    }
}

TEST(CadlusReader, NamesAndPinsAreTakenWholeAndEachNetIsWrittenOnce) {
    CadlusRun run("   U9-1\r\n"      // pins before any net name
                  " nc\r\n"          // a name alone, no pins
                  " A u1-7-a\tX\r\n" // TAB is part of the pin
                  " \r\n"            // a single space continues the net
                  "  R1-2\r\n"
                  "*COMMENT IN COLUMN 1\r\n"
                  " 電源ネット名の二十四文字を超えるとても長い名前です C1-1\r\n"
                  " LAST U2-1"); // right before the end of the file
    EXPECT_EQ(run.nets(), crlfText({"NC; 0: ", "A; 2: U1.7-A\tX, R1.2, ",
                                    "電源ネット名の二十四文字を超えるとても長い名前です; 1: C1.1, ",
                                    "LAST; 1: U2.1, ", ""}));
}

TEST(CadlusReader, AFileWithoutANamedNetAndPinIsBadAndWritesNoNets) {
    for (const char* text : {"GND U1-7\r\n  U2-7\r\n", " GND\r\n VCC\r\n", ""}) {
        SCOPED_TRACE(text);
        CadlusRun run(text);
        EXPECT_EQ(run.result, ReaderResult::NotRecognised);
        EXPECT_EQ(run.sw.observer.hides, 1);
        EXPECT_EQ(run.parts(), "\r\n\r\n");
        EXPECT_FALSE(test::fileExists(run.sw.dir / "net.tmp"));
    }
}

TEST(CadlusReader, TheBoardComparesWithItsTelesisVersionAsAFullMatch) {
    test::expectFullMatchWithTelesis("readers/cadlus/board.clp", "CADLUS-PC(Reverse Net)",
                                     "readers/cadlus/board.tel");
}

TEST(CadlusReader, SurvivesTruncationGarbageAndLongLines) {
    test::convertSurvivingEach([](std::string_view text) { const CadlusRun run(text); },
                               {std::string(" \x00\xff-\x80\r \r  -\r", 11),
                                " " + std::string(200000, 'N') + std::string(100000, ' ') + "-\n-"},
                               readFile(dataFile("readers/cadlus/board.clp")));
}

} // namespace
} // namespace lintora
