#include "base/errors.h"
#include "base/parts_line.h"
#include "passes/passes.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

struct PartsCompare {
    test::ScratchWorkspace sw;
    bool differ = false;

    PartsCompare(const std::vector<std::string>& side1, const std::vector<std::string>& side2) {
        test::writeFile(sw.dir / "parts1.tmp", test::crlfText(side1) + "\r\n");
        test::writeFile(sw.dir / "parts2.tmp", test::crlfText(side2) + "\r\n");
    }
    std::string run() {
        differ = compareParts(sw.ws);
        return test::readFile(sw.dir / "cmpprt.txt");
    }
};

TEST(PartsLine, ReadsTheFourFieldsAndDropsBlanks) {
    PartRecord part;
    splitPartsLine(part, "ATTR! 10K 1%; R 1: 0603? ");
    EXPECT_EQ(part.attribute, "ATTR");
    EXPECT_EQ(part.name, "10K1%");
    EXPECT_EQ(part.reference, "R1");
    EXPECT_EQ(part.footprint, "0603");
    splitPartsLine(part, "garbage");
    EXPECT_EQ(part.reference, ""); // nothing is left over from the part before
}

TEST(PartsComparison, ListsDifferentNamesThenWhatEachSideLacks) {
    PartsCompare compare({"! 10K; R1: 0603? ", "! 0.1U; C5: 0603? "},
                         {"! 4.7K; R1: 0603? ", "! 74HC00; U3: SO14? "});
    EXPECT_EQ(compare.run(), test::crlfText({"**********R1**********", "比較１パーツ名=10K",
                                             "比較２パーツ名=4.7K", "",
                                             "**********ネット２に無い部品**********",
                                             "部品番号=C5   部品名=0.1U",
                                             "**********ネット１に無い部品**********",
                                             "部品番号=U3   部品名=74HC00", ""}));
    EXPECT_TRUE(compare.differ);
    EXPECT_EQ(compare.sw.observer.messages,
              std::vector<std::string>{"部品の異なる箇所がありました。部品比較結果ボタンで確認してください。"});
}

TEST(PartsComparison, EqualPartsGiveAFileOfOneEmptyLineAndNoMessage) {
    PartsCompare compare({"! 10K 1%; R1: 0603? ", "! 74HC00; U1: DIP? "},
                         {"! 74HC00; U1: SO14? ", "X! 10K1%; R1: 0402? "});
    EXPECT_EQ(compare.run(), "\r\n");
    EXPECT_FALSE(compare.differ);
    EXPECT_TRUE(compare.sw.observer.messages.empty());
}

TEST(PartsComparison, NamesDifferingInCaseDiffer) {
    PartsCompare compare({"! 10k; R1: ? "}, {"! 10K; R1: ? "});
    EXPECT_NE(compare.run().find("比較１パーツ名=10k"), std::string::npos);
}

TEST(PartsComparison, ARepeatedReferencePairsOncePerOccurrence) {
    PartsCompare compare({"! 10K; R1: ? ", "! 22K; R1: ? "}, {"! 10K; R1: ? "});
    EXPECT_EQ(compare.run(), test::crlfText({"**********ネット２に無い部品**********",
                                             "部品番号=R1   部品名=22K", ""}));
}

TEST(PartsComparison, ReferencesThatLookLikeMarksAreOrdinaryParts) {
    PartsCompare compare({"! A; -: ? "}, {"! B; -: ? "});
    EXPECT_NE(compare.run().find("**********-**********"), std::string::npos);
}

TEST(PartsComparison, AnEmptyLineEndsASideAndTooManyPartsStopTheRun) {
    PartsCompare compare({"! 10K; R1: ? ", "", "! 1K; R2: ? "}, {"! 10K; R1: ? "});
    EXPECT_EQ(compare.run(), "\r\n");

    PartsCompare big({"! A; R1: ? ", "! A; R2: ? ", "! A; R3: ? "}, {});
    big.sw.ws.limits.partsSlots = 3;
    EXPECT_THROW(big.run(), CapacityExceeded);
}

} // namespace
} // namespace lintora
