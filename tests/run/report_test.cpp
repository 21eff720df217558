#include "run/report.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

ReportSettings shortSettings() {
    ReportSettings s;
    s.path1 = "a.tel";
    s.format1 = "Telesis";
    s.path2 = "b.tel";
    s.format2 = "ALLEGRO";
    return s;
}

TEST(Report, ACleanComparisonHasTheTwentyLineLayout) {
    const std::string file = reflowReport(buildReport(shortSettings(), {}) + "\r\n") + "\r\n";
    const std::string star(64, '*');
    EXPECT_EQ(test::crlfLines(file),
              (std::vector<std::string>{
                  star, "ネット１：　　　a.tel", "フォーマット：　Telesis", "ネット２：　　　b.tel",
                  "フォーマット：　ALLEGRO", "スワップ：　　　",
                  "                   **********設定状態**********                  ",
                  "＜ピン番変換＞", "", "＜無極性部品＞", "", "", star, "＜異なるネット＞",
                  "＜ネット２に存在しないネット１のネット＞", "",
                  "＜ネット１に存在しないネット２のネット＞", "", "", ""}));
}

TEST(Report, HeaderShowsPinChangesAndNonPolarPartsAsTyped) {
    ReportSettings s = shortSettings();
    s.pinChange[0] = "d";
    s.pinChange[10] = "1";
    s.pinChange[20] = "anode";
    s.pinChange[3] = "Q"; // rows without a reference are left out, the others kept in order
    s.pinChange[13] = "B";
    s.pinChange[23] = "2";
    s.nonPolar[0] = "R";
    s.nonPolar[4] = "C";
    const auto lines = test::crlfLines(buildReport(s, {}));
    EXPECT_EQ(lines[8], "dXX.1-->dXX.anode QXX.B-->QXX.2 ");
    EXPECT_EQ(lines[10], "RC");
}

TEST(Report, DifferenceBlocksAndUnpairedNetsFollowTheirHeadings) {
    NetComparison comparison;
    comparison.differences.push_back({"N1", "N9", {"U1.3"}, {}, {"R1.1", "R2.1"}});
    comparison.unpaired1.push_back("LOST; 1: J1.1, ");
    const auto lines = test::crlfLines(buildReport(shortSettings(), comparison));
    const std::vector<std::string> tail(lines.begin() + 13, lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        "＜異なるネット＞", "ネット名; 　N1 = N9", "ネット１; 　U1.3, ",
                        "ネット２;   ", "同一個所;   R1.1, R2.1, ",
                        std::string(28, '-'), "＜ネット２に存在しないネット１のネット＞",
                        "LOST; 1: J1.1, ", "", "", std::string(33, '-'), "",
                        "＜ネット１に存在しないネット２のネット＞", ""}));
}

TEST(Reflow, CutsAfterSeventyCharactersThenEverySixtyTwo) {
    const std::string line150(150, 'x');
    const auto lines = test::crlfLines(reflowReport(line150 + "\r\n"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::string(70, 'x'));
    EXPECT_EQ(lines[1], std::string(12, ' ') + std::string(62, 'x'));
    EXPECT_EQ(lines[2], std::string(12, ' ') + std::string(18, 'x'));
}

TEST(Reflow, ALineOfSixtyNineOrSeventyCharactersGainsALineOfBlanks) {
    for (const std::size_t n : {69u, 70u, 131u, 132u}) {
        SCOPED_TRACE(n);
        const auto lines = test::crlfLines(reflowReport(std::string(n, 'y') + "\r\n"));
        EXPECT_EQ(lines.back(), std::string(12, ' '));
    }
    EXPECT_EQ(test::crlfLines(reflowReport(std::string(68, 'y') + "\r\n")).size(), 1u);
}

TEST(Reflow, CountsCharactersSoFullWidthTextIsCutByCharacter) {
    std::string wide;
    for (int i = 0; i < 75; ++i)
        wide += "ネ";
    const auto lines = test::crlfLines(reflowReport(wide + "\r\n"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(charCount(lines[0]), 70u);
    EXPECT_EQ(charCount(lines[1]), 12u + 5u);
}

// The file as the run leaves it: reflowed, with the print's empty line at the end.
std::string reportFile(const ReportSettings& settings, const NetComparison& comparison) {
    return reflowReport(buildReport(settings, comparison) + "\r\n") + "\r\n";
}

TEST(ReportContent, ACleanReportHasNoDifferencesAlsoWhenALongPathCutsItsHeader) {
    EXPECT_TRUE(reportHasNoDifferences(reportFile(shortSettings(), {})));
    ReportSettings longPath = shortSettings();
    longPath.path1 = "/home/designer/projects/" + std::string(80, 'p') + "/board.tel";
    const std::string file = reportFile(longPath, {});
    EXPECT_GT(test::crlfLines(file).size(), 20u); // no longer the 20 lines of a clean report
    EXPECT_TRUE(reportHasNoDifferences(file));
    std::string lfOnly; // a copy whose line ends an editor changed
    for (const char c : file)
        if (c != '\r')
            lfOnly += c;
    EXPECT_TRUE(reportHasNoDifferences(lfOnly));
    // The line of parts left out adds a header line, whatever its entries say.
    ReportSettings ignoring = shortSettings();
    ignoring.ignoredParts = {"MH", "＜異なるネット＞"};
    const std::string withIgnored = reportFile(ignoring, {});
    EXPECT_EQ(test::crlfLines(withIgnored).size(), 21u);
    EXPECT_TRUE(reportHasNoDifferences(withIgnored));
}

TEST(ReportContent, ABlockOrAnUnpairedNetOnEitherSideIsADifference) {
    NetComparison block;
    block.differences.push_back({"N1", "N9", {"U1.3"}, {}, {"R1.1"}});
    NetComparison missing1;
    missing1.unpaired1.push_back("LOST; 1: J1.1, ");
    NetComparison missing2;
    missing2.unpaired2.push_back("EXTRA; 1: J2.1, ");
    for (const auto* comparison : {&block, &missing1, &missing2})
        EXPECT_FALSE(reportHasNoDifferences(reportFile(shortSettings(), *comparison)));
}

TEST(ReportContent, TextThatIsNoReportIsNotClean) {
    EXPECT_FALSE(reportHasNoDifferences(""));
    EXPECT_FALSE(reportHasNoDifferences("hello\r\n"));
    EXPECT_FALSE(reportHasNoDifferences("＜異なるネット＞\r\n＜ネット２に存在しないネット１のネット＞\r\n"));
}

} // namespace
} // namespace lintora
