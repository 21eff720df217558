#include "base/errors.h"
#include "passes/passes.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

struct Swap {
    test::ScratchWorkspace sw;
    std::string errorText;

    Swap(std::string_view swapFile, std::string_view netTmp, std::string_view parts1 = "\r\n") {
        test::writeFile(sw.dir / "swap.txt", swapFile);
        test::writeFile(sw.dir / "net.tmp", netTmp);
        test::writeFile(sw.dir / "parts1.tmp", parts1);
    }
    void run() { applySwapFile(sw.ws, (sw.dir / "swap.txt").string(), errorText); }
    std::string nets() const { return test::readFile(sw.dir / "net.tmp"); }
    std::string parts() const { return test::readFile(sw.dir / "parts1.tmp"); }
};

TEST(SwapPass, RenamesWholeReferencesAndSinglePinsEachPinAtMostOnce) {
    Swap swap("U1 U7\r\nU7.3\tU7.5\r\n", "A; 4: U1.4, U7.3, U7.4, U1.3, \r\n\r\n",
              "! 74HC00; U1: DIP14? \r\n! 74HC04; U7: DIP14? \r\n\r\n");
    swap.run();
    EXPECT_EQ(swap.nets(), "A; 4: U7.4, U7.5, U7.4, U7.3, \r\n\r\n");
    EXPECT_EQ(swap.parts(), "! 74HC00; U7: DIP14? \r\n! 74HC04; U7: DIP14? \r\n\r\n");
    EXPECT_TRUE(swap.errorText.empty());
}

TEST(SwapPass, TwoPairsSwapTheTwoPinsOfAPart) {
    Swap swap("R5.1 R5.2\r\nR5.2 R5.1\r\n", "A; 1: R5.1, \r\nB; 1: R5.2, \r\n\r\n");
    swap.run();
    EXPECT_EQ(swap.nets(), "A; 1: R5.2, \r\nB; 1: R5.1, \r\n\r\n");
}

TEST(SwapPass, NamesAreTakenAsWrittenAndExtraNamesIgnored) {
    Swap swap("u1 u7\r\nR1 R9 R10\r\n\r\nU1-3 U1-4\r\n", "A; 3: U1.1, R1.2, U1.3, \r\n\r\n");
    swap.run();
    EXPECT_EQ(swap.nets(), "A; 3: U1.1, R9.2, U1.3, \r\n\r\n");
}

TEST(SwapPass, ALineWithOneNameIsSkippedAndListedInsteadOfPairingWithTheNextLine) {
    Swap swap("U1 \r\nU2 U3\r\nU4 U5\r\n", "A; 3: U1.1, U2.1, U4.1, \r\n\r\n");
    swap.run();
    EXPECT_EQ(swap.nets(), "A; 3: U1.1, U3.1, U5.1, \r\n\r\n");
    EXPECT_EQ(swap.sw.observer.messages.size(), 1u);
    EXPECT_EQ(swap.errorText, test::crlfText({"**************スワップファイル読込情報**************", "",
                                              "1行目：U1 ・・・・・新しい名前が無いため読み飛ばしました。", ""}));
}

TEST(SwapPass, LfAndMixedLineEndsEndEveryPairsLine) {
    // As written on Linux, and a CR LF file with lines added by another editor.
    for (const char* swapFile : {"U1 U7\nR5.1 R5.2\n", "U1 U7\r\nR5.1 R5.2\nR5.2 R5.1\n"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(swapFile)));
        Swap swap(swapFile, "A; 2: U1.1, R5.1, \r\nB; 1: R5.2, \r\n\r\n",
                  "! 74HC00; U1: DIP14? \r\n\r\n");
        swap.run();
        const bool backAgain = std::string_view(swapFile).find("R5.2 R5.1") != std::string::npos;
        EXPECT_EQ(swap.nets(), backAgain ? "A; 2: U7.1, R5.2, \r\nB; 1: R5.1, \r\n\r\n"
                                         : "A; 2: U7.1, R5.2, \r\nB; 1: R5.2, \r\n\r\n");
        EXPECT_EQ(swap.parts(), "! 74HC00; U7: DIP14? \r\n\r\n");
        EXPECT_TRUE(swap.errorText.empty());
    }
}

TEST(SwapPass, AReferenceIsWhatStandsBeforeThePinsFirstFullStop) {
    // U2.B.4 is pin B.4 of U2: the pair (B, Q) does not touch it, (U1, U7) renames U1.A.3.
    Swap swap("B Q\r\nU1 U7\r\n", "A; 3: U2.B.4, U1.A.3, B.1, \r\n\r\n");
    swap.run();
    EXPECT_EQ(swap.nets(), "A; 3: U2.B.4, U7.A.3, Q.1, \r\n\r\n");
}

TEST(SwapPass, AnEmptySwapFileRewritesTheFilesUnchanged) {
    Swap swap("", "A; 1: U1.1, \r\n\r\n", "! 10K; R1: 0603? \r\n\r\n");
    swap.run();
    EXPECT_EQ(swap.nets(), "A; 1: U1.1, \r\n\r\n");
    EXPECT_EQ(swap.parts(), "! 10K; R1: 0603? \r\n\r\n");
}

TEST(SwapPass, MoreThanTheTablesHoldIsACapacityFailure) {
    std::string pairs;
    for (int i = 0; i < 1001; ++i)
        pairs += "R" + std::to_string(i) + " Q" + std::to_string(i) + "\r\n";
    Swap full(pairs, "A; 1: R1.1, \r\n\r\n");
    EXPECT_NO_THROW(full.run());
    Swap over(pairs + "R9999 Q9999\r\n", "A; 1: R1.1, \r\n\r\n");
    EXPECT_THROW(over.run(), CapacityExceeded);

    std::string bigNet = "BIG; 9999: ";
    for (int i = 0; i < 9999; ++i)
        bigNet += "P" + std::to_string(i) + ".1, ";
    Swap wide("A B\r\n", bigNet + "\r\n\r\n");
    EXPECT_THROW(wide.run(), CapacityExceeded);
}

TEST(SwapPass, AMissingSwapFileIsAFileNotFoundFailure) {
    Swap swap("", "A; 1: U1.1, \r\n\r\n");
    std::string errors;
    EXPECT_THROW(applySwapFile(swap.sw.ws, (swap.sw.dir / "absent.swp").string(), errors),
                 FileNotFound);
}

} // namespace
} // namespace lintora
