#include "run/comparison_run.h"
#include "run/run_lock.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using test::ComparisonFixture;

const std::string kSide1 = "$PACKAGES\r\nDIP14 ! 74LS00 ; U1 U2\r\n0603 ! 10K ; R1\r\n$NETS\r\n"
                           "GND ; U1.7 U2.7 R1.2\r\nVCC ; U1.14 U2.14\r\nIN ; U1.1 R1.1\r\n$END\r\n";
// The same board: nets renamed and in another order, pins in another order.
const std::string kSide1Renamed = "$PACKAGES\r\n$NETS\r\nN3 ; R1.1 U1.1\r\nN1 ; U2.14 U1.14\r\n"
                                  "N2 ; R1.2 U2.7 U1.7\r\n$END\r\n";

TEST(ComparisonRun, RenamedAndReorderedNetsAreAFullMatch) {
    ComparisonFixture fx;
    fx.setNetlists(kSide1, kSide1Renamed);
    const RunResult result = fx.run();
    ASSERT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_TRUE(result.allClear);
    EXPECT_EQ(test::crlfLines(fx.report()).size(), 20u);
    EXPECT_TRUE(result.resultText.starts_with(std::string(64, '*') + "\r\n" +
                                              "***********************完全一致しました。"));
    EXPECT_TRUE(fx.observer.messages.empty());
    // The scratch files are gone; the reports stay.
    for (const char* name : {"net.tmp", "net01.tmp", "net02.tmp", "parts1.tmp", "parts2.tmp"})
        EXPECT_FALSE(test::fileExists(fx.dir / name)) << name;
    EXPECT_EQ(test::readFile(fx.dir / "errlog.txt"),
              test::crlfText({"／／／／／／／／／エラー情報／／／／／／／／／", "＜＜比較ファイル１＞",
                              "＜＜比較ファイル２＞＞", ""}));
}

TEST(ComparisonRun, ProgressFollowsTheStepsOfARun) {
    ComparisonFixture fx;
    fx.setNetlists(kSide1, kSide1Renamed);
    fx.run();
    const std::vector<std::pair<int, std::string>> expected{
        {0, "比較１ネット変換処理中"}, {10, "比較１ソート処理中"}, {20, "比較２ソート処理中"},
        {25, "部品照合処理中"},        {30, "比較２ソート処理中"}, {40, "比較処理中"},
        {60, "比較処理中"},            {80, "比較処理中"},         {100, "処理が終了しました。"}};
    EXPECT_EQ(fx.observer.steps, expected);
    EXPECT_EQ(fx.observer.hides, 0);
}

TEST(ComparisonRun, DifferencesAreReportedAndShownWithoutBanner) {
    ComparisonFixture fx;
    fx.setNetlists(kSide1, "$PACKAGES\r\n$NETS\r\nGND ; U1.7 U2.7 R1.1\r\nVCC ; U1.14 U2.14\r\n"
                           "IN ; U1.3\r\n$END\r\n");
    const RunResult result = fx.run();
    ASSERT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_FALSE(result.allClear);
    EXPECT_EQ(result.differenceBlocks, 1u);
    EXPECT_EQ(result.unpaired1, 1u);
    EXPECT_EQ(result.unpaired2, 1u);
    EXPECT_TRUE(result.resultText.starts_with(std::string(64, '*') + "\r\nネット１："));
    EXPECT_NE(fx.report().find("ネット名; 　GND = GND\r\nネット１; 　R1.2, \r\nネット２;   R1.1, "),
              std::string::npos);
}

TEST(ComparisonRun, ALongPathStillShowsTheBannerWhenNothingDiffers) {
    ComparisonFixture fx;
    const auto deep = fx.dir / std::string(80, 'd');
    std::filesystem::create_directories(deep);
    test::writeFile(deep / "a.tel", kSide1);
    test::writeFile(deep / "b.tel", kSide1Renamed);
    fx.inputs.path1 = (deep / "a.tel").string();
    fx.inputs.path2 = (deep / "b.tel").string();
    fx.inputs.format1 = fx.inputs.format2 = "Telesis";
    const RunResult result = fx.run();
    EXPECT_TRUE(result.allClear);
    EXPECT_GT(test::crlfLines(fx.report()).size(), 20u); // the header line was cut
    EXPECT_TRUE(result.resultText.starts_with(std::string(64, '*') + "\r\n*****"));
}

TEST(ComparisonRun, ValidationStopsAtTheFirstMissingInputInOrder) {
    struct Case {
        RunInputs inputs;
        std::string message;
    };
    RunInputs all;
    all.path1 = "a";
    all.path2 = "b";
    all.format1 = "Telesis";
    all.format2 = "Telesis";
    std::vector<Case> cases;
    RunInputs none;
    none.format1.clear();
    cases.push_back({none, "比較１のファイル名を指定してください。"});
    RunInputs c = all;
    c.path2.clear();
    c.format1.clear();
    cases.push_back({c, "比較２のファイル名を指定してください。"});
    c = all;
    c.format1.clear();
    cases.push_back({c, "比較１のファイルフォーマットを指定してください。"});
    c = all;
    c.format2.clear();
    cases.push_back({c, "比較２のファイルフォーマットを指定してください。"});
    c = all;
    c.path2 = "a";
    cases.push_back({c, "比較１と比較２のファイル名が同一になっております。"});
    c = all;
    c.path2 = "A"; // letter case makes another path
    c.adjustment = "4９";
    for (const auto& [inputs, message] : cases) {
        SCOPED_TRACE(message);
        ComparisonFixture fx;
        fx.inputs = inputs;
        EXPECT_EQ(fx.run().outcome, RunOutcome::InvalidInput);
        EXPECT_EQ(fx.observer.messages, std::vector<std::string>{message});
        EXPECT_TRUE(fx.observer.steps.empty());
    }
}

TEST(ComparisonRun, AnAdjustmentValueThatIsNoNumberStopsWithAMessage) {
    for (const char* value : {"abc", "", "12x", "40000", "1e2"}) {
        SCOPED_TRACE(value);
        ComparisonFixture fx;
        fx.setNetlists(kSide1, kSide1Renamed);
        fx.inputs.adjustment = value;
        EXPECT_EQ(fx.run().outcome, RunOutcome::BadAdjustment);
        ASSERT_EQ(fx.observer.messages.size(), 1u);
        EXPECT_GE(fx.observer.hides, 1);
        EXPECT_FALSE(test::fileExists(fx.dir / "cmp.txt"));
    }
}

TEST(ComparisonRun, AdjustmentValuesRoundHalvesToEven) {
    long value = 0;
    EXPECT_TRUE(parseAdjustment(" 49 ", value));
    EXPECT_EQ(value, 49);
    EXPECT_TRUE(parseAdjustment("49.5", value));
    EXPECT_EQ(value, 50);
    EXPECT_TRUE(parseAdjustment("48.5", value));
    EXPECT_EQ(value, 48);
    EXPECT_TRUE(parseAdjustment("-2.5", value));
    EXPECT_EQ(value, -2);
    EXPECT_TRUE(parseAdjustment("７０", value)); // full-width digits
    EXPECT_EQ(value, 70);
}

TEST(ComparisonRun, UnknownFormatNamesStopTheirSide) {
    ComparisonFixture fx;
    fx.setNetlists(kSide1, kSide1Renamed);
    fx.inputs.format1 = "telesis"; // names are exact
    EXPECT_EQ(fx.run().outcome, RunOutcome::UnknownFormat);
    EXPECT_EQ(fx.observer.messages,
              std::vector<std::string>{"比較１ファイルのネットフォーマットを指定して下さい。"});

    ComparisonFixture fx2;
    fx2.setNetlists(kSide1, kSide1Renamed);
    fx2.inputs.format2 = "NOSUCH";
    EXPECT_EQ(fx2.run().outcome, RunOutcome::UnknownFormat);
    EXPECT_EQ(fx2.observer.messages,
              std::vector<std::string>{"比較２ファイルのネットフォーマットを指定して下さい。"});
    EXPECT_TRUE(test::fileExists(fx2.dir / "net01.tmp")); // side 1 was converted and sorted
    EXPECT_EQ(fx2.observer.hides, 1);
}

TEST(ComparisonRun, AFileOfAnotherFormatStopsWithTheMismatchMessage) {
    ComparisonFixture fx;
    fx.setNetlists(kSide1, "*PADS-PCB*\r\n*PART*\r\n*NET*\r\n*END*\r\n");
    test::writeFile(fx.dir / "cmp.txt", "previous report");
    EXPECT_EQ(fx.run().outcome, RunOutcome::FormatMismatch);
    EXPECT_EQ(fx.observer.messages,
              std::vector<std::string>{"比較２のネットフォーマットが一致していません。もう一度フォーマットを確認してください。"});
    EXPECT_GE(fx.observer.hides, 1);
    EXPECT_EQ(fx.report(), "previous report");
}

TEST(ComparisonRun, ASideThatYieldsNoNetStopsWithItsMismatchMessage) {
    // Two different files with an empty line right after "$NETS": their nets section ends
    // at once, and two empty sides must not compare as a full match.
    const std::string empty1 = "$PACKAGES\r\nDIP14 ! 74LS00 ; U1\r\n$NETS\r\n\r\nGND ; U1.7\r\n";
    const std::string empty2 = "$PACKAGES\r\n$NETS\r\n\r\nVCC ; U9.14 U8.14\r\n$END\r\n";
    const struct {
        std::string side1, side2;
        int side;
    } cases[] = {{empty1, empty2, 1}, {kSide1, empty2, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.side);
        ComparisonFixture fx;
        fx.setNetlists(c.side1, c.side2);
        test::writeFile(fx.dir / "cmp.txt", "previous report");
        const RunResult result = fx.run();
        EXPECT_EQ(result.outcome, RunOutcome::FormatMismatch);
        EXPECT_EQ(result.sideWithoutNets, c.side);
        const std::string mismatch = std::string(c.side == 1 ? "比較１" : "比較２") +
                                     "のネットフォーマットが一致していません。"
                                     "もう一度フォーマットを確認してください。";
        EXPECT_EQ(fx.observer.messages, std::vector<std::string>{mismatch});
        EXPECT_EQ(fx.observer.hides, 1);
        EXPECT_EQ(fx.report(), "previous report");
        EXPECT_TRUE(result.resultText.empty());
    }
    // A weak landmark alone is not enough either: two PADS files read as MENTOR (the word
    // NETLIST of their header starts the nets, but no line names a net).
    ComparisonFixture weak;
    weak.setNetlists("!PADS-POWERPCB-V5.0-MILS! NETLIST FILE\r\n*PART*\r\nU1 74HC00\r\n"
                     "*NET*\r\n*SIGNAL* GND\r\nU1.7 U2.7\r\n*END*\r\n",
                     "!PADS-POWERPCB-V5.0-MILS! NETLIST FILE\r\n*PART*\r\nR1 10K\r\n"
                     "*NET*\r\n*SIGNAL* VCC\r\nR1.1 U2.14\r\n*END*\r\n",
                     "MENTOR");
    const RunResult weakResult = weak.run();
    EXPECT_EQ(weakResult.outcome, RunOutcome::FormatMismatch);
    EXPECT_EQ(weakResult.sideWithoutNets, 1);
}

TEST(ComparisonRun, PartsWithoutAPartNamePairByReference) {
    // The value field left empty, as EasyEDA writes it for a connector: the part is on both
    // sides and differs only where a name is given on one of them.
    ComparisonFixture fx;
    fx.setNetlists("$PACKAGES\r\nRJ45 ! RJ45 !  ; RJ1\r\nLED0603 ! LED0603 !  ; D1\r\n"
                   "$NETS\r\nGND ; RJ1.1 D1.2\r\n$END\r\n",
                   "$PACKAGES\r\nRJ45 ! RJ45 !  ; RJ1\r\nLED0603 ! LED0603 ! RED ; D1\r\n"
                   "$NETS\r\nGND ; RJ1.1 D1.2\r\n$END\r\n");
    fx.inputs.compareParts = true;
    const RunResult result = fx.run();
    ASSERT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_TRUE(result.partsDiffer);
    EXPECT_EQ(test::readFile(fx.dir / "cmpprt.txt"),
              test::crlfText(
                  {"**********D1**********", "比較１パーツ名=", "比較２パーツ名=RED", "", ""}));
}

TEST(ComparisonRun, PathsAndOptionsThatAreNoUtf8AreReportedAsTyped) {
    // A Latin-1 file name copied from Windows and a non-polar entry typed in Latin-1.
    ComparisonFixture fx;
    const std::string latin1 = (fx.dir / "d\xE9part.tel").string();
    test::writeFile(latin1, kSide1);
    fx.setNetlists(kSide1, kSide1Renamed);
    fx.inputs.path1 = latin1;
    fx.inputs.nonPolar[0] = "\351ab"; // E9, a Latin-1 "é", then "ab"
    const RunResult result = fx.run();
    ASSERT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_TRUE(fx.observer.messages.empty());
    const std::string report = fx.report();
    EXPECT_NE(report.find("ネット１：　　　" + latin1 + "\r\n"), std::string::npos);
    EXPECT_NE(report.find("＜無極性部品＞\r\n\351ab\r\n"), std::string::npos);
}

TEST(ComparisonRun, AMissingInputFileStopsWithTheFileMessage) {
    ComparisonFixture fx;
    fx.setNetlists(kSide1, kSide1Renamed);
    fx.inputs.path1 = (fx.dir / "absent.tel").string();
    EXPECT_EQ(fx.run().outcome, RunOutcome::FileNotFound);
    EXPECT_EQ(fx.observer.messages,
              std::vector<std::string>{"指定ファイルが見つかりません。もう一度確認して実行して下さい。"});
    EXPECT_EQ(fx.observer.hides, 1);
}

TEST(ComparisonRun, MoreNetsThanASideHoldsStopsWithTheCapacityMessage) {
    std::string big = "$PACKAGES\r\n$NETS\r\n";
    for (int i = 0; i < 20001; ++i)
        big += "N" + std::to_string(i) + " ; P" + std::to_string(i) + ".1\r\n";
    ComparisonFixture fx;
    fx.setNetlists(big, kSide1);
    EXPECT_EQ(fx.run().outcome, RunOutcome::CapacityExceeded);
    EXPECT_EQ(fx.observer.messages, std::vector<std::string>{"ネット数の許容量が越えました。"});

    ComparisonFixture lifted;
    lifted.setNetlists(big, kSide1);
    lifted.options.limits = Limits::unlimited();
    EXPECT_EQ(lifted.run().outcome, RunOutcome::Completed);
}

TEST(ComparisonRun, DuplicatesOnBothSidesAreWarnedAndLoggedPerSide) {
    ComparisonFixture fx;
    fx.setNetlists("$PACKAGES\r\n$NETS\r\nA ; U1.1 U1.2\r\nA ; U1.3\r\n$END\r\n",
                   "$PACKAGES\r\n$NETS\r\nB ; U1.1 U1.2\r\nC ; U1.3 U1.1\r\n$END\r\n");
    EXPECT_EQ(fx.run().outcome, RunOutcome::Completed);
    ASSERT_EQ(fx.observer.messages.size(), 2u);
    EXPECT_EQ(test::readFile(fx.dir / "errlog.txt"),
              test::crlfText({"／／／／／／／／／エラー情報／／／／／／／／／", "＜＜比較ファイル１＞",
                              "**************ネット名重複情報**************", "",
                              "A・・・・・ネット名が重複しています。", "", "＜＜比較ファイル２＞＞",
                              "*************ピン番重複情報*************", "",
                              "U1.1・・・・・ピン番が重複しています。", "", ""}));
}

TEST(ComparisonRun, ReportsCanBeWrittenInShiftJis) {
    ComparisonFixture fx;
    fx.setNetlists(kSide1, kSide1Renamed);
    fx.options.reportEncoding = TextEncoding::Cp932;
    ASSERT_EQ(fx.run().outcome, RunOutcome::Completed);
    const std::string report = fx.report();
    EXPECT_FALSE(isValidUtf8(report));
    std::string decoded;
    ASSERT_TRUE(cp932ToUtf8(report, decoded));
    EXPECT_NE(decoded.find("＜異なるネット＞"), std::string::npos);
}

TEST(ComparisonRun, ASecondRunInTheSameDirectoryWaitsThenStops) {
    ComparisonFixture fx;
    fx.setNetlists(kSide1, kSide1Renamed);
    fx.options.lockPatienceMs = 100;
    RunResult second;
    {
        const RunLock first(fx.dir.path(), 0);
        ASSERT_TRUE(first.acquired());
        second = fx.run();
    }
    EXPECT_EQ(second.outcome, RunOutcome::Busy);
    ASSERT_EQ(fx.observer.messages.size(), 1u);
    EXPECT_TRUE(fx.observer.messages[0].starts_with("同じ作業フォルダで別の比較が実行中です。"));
    EXPECT_FALSE(test::fileExists(fx.dir / "net.tmp"));
    fx.observer = {};
    EXPECT_EQ(fx.run().outcome, RunOutcome::Completed); // free again once the first is done
}

TEST(ComparisonRun, AReadOnlyReportIsAWriteFailureThatKeepsIt) {
    ComparisonFixture fx;
    fx.setNetlists(kSide1, kSide1Renamed);
    test::writeFile(fx.dir / "cmp.txt", "previous report");
    std::filesystem::permissions(fx.dir / "cmp.txt", std::filesystem::perms::owner_read);
    EXPECT_EQ(fx.run().outcome, RunOutcome::WriteFailed);
    ASSERT_EQ(fx.observer.messages.size(), 1u);
    EXPECT_TRUE(fx.observer.messages[0].starts_with("ファイルを書き込めませんでした。："));
    EXPECT_EQ(fx.report(), "previous report");
}

} // namespace
} // namespace lintora
