#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using test::crlfText;
using test::dataFile;
using test::readFile;

struct MypcbRun {
    test::ScratchWorkspace sw;
    ReaderResult result = ReaderResult::NotRecognised;

    explicit MypcbRun(std::string_view text) {
        test::writeFile(sw.dir / "in.myp", text);
        result = readMypcb(sw.ws, (sw.dir / "in.myp").string());
    }
    std::string nets() const { return readFile(sw.dir / "net.tmp"); }
    std::string parts() const { return readFile(sw.dir / "parts.tmp"); }
};

TEST(MypcbReader, ReadsPartsAndNets) {
    MypcbRun run(readFile(dataFile("readers/mypcb/board.myp")));
    EXPECT_EQ(run.result, ReaderResult::Recognised);
    EXPECT_EQ(run.parts(), crlfText({"! 74HC00; U1: 74HC00? ", "! 74HC00; U2: 74HC00? ",
                                     "! 10K; R1: 10K? ", "! 0.1UF; C1: 0.1UF? ", ""}));
    EXPECT_EQ(run.nets(),
              crlfText({"GND; 3: U1.7, U2.7, C1.2, ", "VCC; 4: U1.14, U2.14, C1.1, R1.1, ",
                        "N1; 3: U1.3, U2.1, R1.2, ", "N2; 2: U2.3, U1.1, ", ""}));
}

TEST(MypcbReader, PartLinesTakeTheLastWordAndSkipCommentsAndSymbols) {
    MypcbRun run("u1 74hc00 dip14\r\n" // the last word fills part name and footprint
                 "SYM* U9 74HC04\r\n"
                 "R1 10K * carbon\r\n"
                 "* R2 22K\r\n"
                 "NET*\r\nEND*\r\n");
    EXPECT_EQ(run.parts(), crlfText({"! DIP14; U1: DIP14? ", "! 10K; R1: 10K? ", ""}));
    EXPECT_EQ(run.nets(), crlfText({""})); // "NET*" right before "END*": no nets
}

TEST(MypcbReader, BlanksAroundNamesAndPinsNeitherLoseNorInventNets) {
    MypcbRun run("NET*\r\n"
                 "GND   \r\n"       // trailing blanks after the name
                 "  U1.7 U2.7,\r\n" // indented pin line ending in ","
                 "\tC1.2\r\n"
                 "VCC\r\n"
                 "U1.14,U2.14, C1.1,\r\n" // "," between pins separates them
                 "END*  \r\n"             // the end line with trailing blanks
                 "LATE\r\nU9.1\r\n");
    EXPECT_EQ(run.nets(),
              crlfText({"GND; 3: U1.7, U2.7, C1.2, ", "VCC; 3: U1.14, U2.14, C1.1, ", ""}));
}

TEST(MypcbReader, WithoutNetSectionTheFileIsBadButItsPartsAreWritten) {
    MypcbRun run("R1 10K\r\nGND\r\nR1.1\r\n");
    EXPECT_EQ(run.result, ReaderResult::NotRecognised);
    EXPECT_EQ(run.sw.observer.hides, 1);
    EXPECT_EQ(run.parts(), crlfText({"! 10K; R1: 10K? ", ""}));
    EXPECT_FALSE(test::fileExists(run.sw.dir / "net.tmp"));
}

TEST(MypcbReader, TheBoardComparesWithItsTelesisVersionAsAFullMatch) {
    test::expectFullMatchWithTelesis("readers/mypcb/board.myp", "MYPCB", "readers/mypcb/board.tel");
}

TEST(MypcbReader, SurvivesTruncationGarbageAndLongLines) {
    test::convertSurvivingEach(
        [](std::string_view text) { const MypcbRun run(text); },
        {std::string("\x00\xff*NET*\x80\r,,,.", 14),
         "NET*\r\n" + std::string(200000, '.') + "\r\n" + std::string(100000, ',') + "\n"},
        readFile(dataFile("readers/mypcb/board.myp")));
}

} // namespace
} // namespace lintora
