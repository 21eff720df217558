#include "base/errors.h"
#include "passes/passes.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

const std::string kNetWarning =
    "ネット名の重複が有り処理が正常に行われません。処理終了後にエラー情報ボタンを押して確認してください。";
const std::string kPinWarning =
    "ピン番の重複があります。処理終了後にエラー情報ボタンを押して確認してください。";

struct Check {
    test::ScratchWorkspace sw;
    std::string errorText = "HEAD\r\n";

    explicit Check(std::string_view netTmp) { test::writeFile(sw.dir / "net.tmp", netTmp); }
};

TEST(DuplicateNetNames, EachRepeatOfANameIsListedInSortedOrder) {
    Check check("VCC; 1: A.1, \r\nGND; 1: B.1, \r\nGND; 1: C.1, \r\nVCC; 1: D.1, \r\n"
                "GND; 1: E.1, \r\ngnd; 1: F.1, \r\n\r\n");
    checkDuplicateNetNames(check.sw.ws, check.errorText);
    EXPECT_EQ(check.sw.observer.messages, std::vector<std::string>{kNetWarning});
    EXPECT_EQ(check.errorText, test::crlfText({"HEAD", "**************ネット名重複情報**************",
                                               "", "GND・・・・・ネット名が重複しています。",
                                               "GND・・・・・ネット名が重複しています。",
                                               "VCC・・・・・ネット名が重複しています。", ""}));
}

TEST(DuplicateNetNames, DistinctNamesEmptyNamesAndLinesAfterAnEmptyLineAreNotReported) {
    Check check("A; 1: X.1, \r\n; 1: Y.1, \r\n; 1: Z.1, \r\n\r\nA; 1: W.1, \r\n");
    checkDuplicateNetNames(check.sw.ws, check.errorText);
    EXPECT_TRUE(check.sw.observer.messages.empty());
    EXPECT_EQ(check.errorText, "HEAD\r\n");
}

TEST(DuplicatePins, PinsInTwoNetsOrTwiceInOneAreListed) {
    Check check("A; 2: U1.1, U1.2, \r\nB; 3: U1.1, U2.5, U2.5, \r\nC; 1: U1.1, \r\nD; 0: \r\n\r\n");
    checkDuplicatePins(check.sw.ws, check.errorText);
    EXPECT_EQ(check.sw.observer.messages, std::vector<std::string>{kPinWarning});
    EXPECT_EQ(check.errorText, test::crlfText({"HEAD", "*************ピン番重複情報*************", "",
                                               "U1.1・・・・・ピン番が重複しています。",
                                               "U1.1・・・・・ピン番が重複しています。",
                                               "U2.5・・・・・ピン番が重複しています。", ""}));
}

TEST(DuplicatePins, ACountLargerThanTheLineNeverTakesPinsOfAnEarlierLine) {
    Check check("A; 3: U1.1, U1.2, U1.3, \r\nB; 3: U9.9, \r\n\r\n");
    checkDuplicatePins(check.sw.ws, check.errorText);
    EXPECT_TRUE(check.sw.observer.messages.empty());
}

TEST(DuplicateChecks, TablesBeyondTheirCapacityStopTheRun) {
    Check names("A; 0: \r\nB; 0: \r\nC; 0: \r\n\r\n");
    names.sw.ws.limits.netNameSlots = 2;
    EXPECT_THROW(checkDuplicateNetNames(names.sw.ws, names.errorText), CapacityExceeded);
    Check pins("A; 2: P.1, P.2, \r\nB; 1: P.3, \r\n\r\n");
    pins.sw.ws.limits.pinListSlots = 2;
    EXPECT_THROW(checkDuplicatePins(pins.sw.ws, pins.errorText), CapacityExceeded);
}

} // namespace
} // namespace lintora
