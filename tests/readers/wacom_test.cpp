#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using test::crlfText;
using test::dataFile;
using test::readFile;

struct WacomRun {
    test::ScratchWorkspace sw;
    ReaderResult result = ReaderResult::NotRecognised;

    explicit WacomRun(std::string_view text) {
        test::writeFile(sw.dir / "in.wac", text);
        result = readWacom(sw.ws, (sw.dir / "in.wac").string());
    }
    std::string nets() const { return readFile(sw.dir / "net.tmp"); }
    std::string parts() const { return readFile(sw.dir / "parts.tmp"); }
};

const std::string kBoardNets =
    crlfText({"GND; 3: U1.7, U2.7, C1.2, ", "VCC; 4: U1.14, U2.14, C1.1, R1.1, ",
              "N1; 3: U1.3, U2.1, R1.2, ", "N2; 2: U2.3, U1.1, ", ""});

TEST(WacomReader, ConvertsEveryLineWhateverTheLineEnds) {
    const std::string lf = readFile(dataFile("readers/wacom/board.wac"));
    std::string crlf;
    for (const char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const std::string& text : {lf, crlf}) {
        WacomRun run(text);
        EXPECT_EQ(run.result, ReaderResult::Recognised);
        EXPECT_EQ(run.nets(), kBoardNets);
        EXPECT_EQ(run.parts(), crlfText({""}));
    }
}

TEST(WacomReader, BlanksAndStraySeparatorsChangeNothing) {
    WacomRun run("n1:a-1,b-2.\n"
                 "N2 : A-1 , B-2 .\n"
                 "N3: A-1,, B-2,.\n"   // an empty place is no pin; ",." still ends the net
                 "*N4: A-9, B-9.\n"    // comment
                 "HEADER, C-1. D-2.\n" // pins outside any net
                 "N5: -1-2, B-2.\n"
                 "C-3, D-4.\n"); // after a net's "." the pins belong to no net
    EXPECT_EQ(run.nets(), crlfText({"N1; 2: A.1, B.2, ", "N2; 2: A.1, B.2, ", "N3; 2: A.1, B.2, ",
                                    "N5; 2: -1.2, B.2, ", ""}));
}

TEST(WacomReader, AFileWithoutColonCommaOrFullStopIsBadAndNothingIsWritten) {
    for (const char* text : {"GND: U1-7, U2-7\n", "GND U1-7, U2-7.\n", "GND: U1-7.\n"}) {
        SCOPED_TRACE(text);
        WacomRun run(text);
        EXPECT_EQ(run.result, ReaderResult::NotRecognised);
        EXPECT_EQ(run.sw.observer.hides, 1);
        EXPECT_FALSE(test::fileExists(run.sw.dir / "net.tmp"));
        EXPECT_FALSE(test::fileExists(run.sw.dir / "parts.tmp"));
    }
}

TEST(WacomReader, TheBoardComparesWithItsTelesisVersionAsAFullMatch) {
    test::expectFullMatchWithTelesis("readers/wacom/board.wac", "WACOM SIMPLE NET",
                                     "readers/wacom/board.tel");
}

TEST(WacomReader, SurvivesTruncationGarbageAndLongLines) {
    test::convertSurvivingEach([](std::string_view text) { const WacomRun run(text); },
                               {std::string("\x00\xff:,.\x80\r\n.:,", 12),
                                ".:," + std::string(200000, '.') + std::string(100000, '\n') +
                                    "A:" + std::string(100000, '-')},
                               readFile(dataFile("readers/wacom/board.wac")));
}

} // namespace
} // namespace lintora
