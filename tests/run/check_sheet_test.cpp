#include "run/check_sheet.h"

#include "base/text_encoding.h"
#include "run/report.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace lintora {

// How a failed expectation shows a cell: (row, column) colour "text".
void PrintTo(const SheetCell& c, std::ostream* out) {
    *out << "(" << c.row << ", " << c.column << ") "
         << (c.colour == CellColour::Red    ? "red "
             : c.colour == CellColour::Blue ? "blue "
                                            : "")
         << '"' << c.text << '"';
}

namespace {

constexpr auto Red = CellColour::Red;
constexpr auto Blue = CellColour::Blue;
constexpr auto Plain = CellColour::Template;
const std::string kStars(64, '*');
const std::string kBlockRule(28, '-');
const std::string kEntryRule(33, '-');
const std::string kTitle = "                   **********設定状態**********                  ";

ReportSettings settings(std::string path1 = "a.tel") {
    ReportSettings s;
    s.path1 = std::move(path1);
    s.format1 = "Telesis";
    s.path2 = "b.tel";
    s.format2 = "ALLEGRO";
    return s;
}

// cmp.txt as a run leaves it: written, reflowed, written again.
std::string reportFile(const ReportSettings& s, const NetComparison& comparison) {
    return reflowReport(buildReport(s, comparison) + "\r\n") + "\r\n";
}

std::vector<SheetCell> headerCells(const std::string& path1 = "a.tel") {
    return {{2, 1, kStars},
            {3, 1, "ネット１：　　　" + path1},
            {4, 1, "フォーマット：　Telesis"},
            {5, 1, "ネット２：　　　b.tel"},
            {6, 1, "フォーマット：　ALLEGRO"},
            {7, 1, "スワップ：　　　"},
            {8, 1, kTitle},
            {9, 1, "＜ピン番変換＞"},
            {11, 1, "＜無極性部品＞"},
            {14, 1, kStars}};
}

std::vector<SheetCell> body(const std::vector<SheetCell>& cells) {
    std::vector<SheetCell> result;
    for (const SheetCell& c : cells)
        if (c.row > kCheckSheetTemplateRow)
            result.push_back(c);
    return result;
}

std::vector<SheetCell> header(const std::vector<SheetCell>& cells) {
    std::vector<SheetCell> result;
    for (const SheetCell& c : cells)
        if (c.row < kCheckSheetTemplateRow)
            result.push_back(c);
    return result;
}

std::vector<std::string> pins(const std::string& prefix, int count) {
    std::vector<std::string> result;
    for (int i = 1; i <= count; ++i)
        result.push_back(prefix + std::to_string(i));
    return result;
}

TEST(CheckSheet, AReportWithoutDifferencesGivesTheHeaderAndTheThreeHeadings) {
    const auto cells = layOutCheckSheet(reportFile(settings(), {}));
    auto expected = headerCells();
    expected.push_back({16, 1, "＜異なるネット＞"});
    expected.push_back({17, 1, "＜ネット２に存在しないネット１のネット＞"});
    expected.push_back({18, 1, "＜ネット１に存在しないネット２のネット＞"});
    EXPECT_EQ(cells, expected);
}

TEST(CheckSheet, TheLineOfPartsLeftOutTakesTheEmptyRowAboveTheStarRule) {
    ReportSettings s = settings();
    s.ignoredParts = {"MH", "TP3"};
    auto expected = headerCells();
    expected.insert(expected.end() - 1, {13, 1, "除外部品　ﾘﾌｧﾚﾝｽ指定：MH TP3"});
    EXPECT_EQ(header(layOutCheckSheet(reportFile(s, {}))), expected);
}

TEST(CheckSheet, AnEmptyReportFillsNothing) {
    EXPECT_TRUE(layOutCheckSheet("").empty());
    EXPECT_TRUE(layOutCheckSheet("\r\n\r\n").empty());
}

TEST(CheckSheet, TheGroundBlockFillsItsRowsExactly) {
    NetComparison comparison;
    comparison.differences.push_back({"GND", "GND", pins("U", 6), {}, {"C1.2"}});
    for (auto& pin : comparison.differences[0].only1)
        pin += ".7";
    const auto cells = body(layOutCheckSheet(reportFile(settings(), comparison)));
    const std::vector<SheetCell> expected{{16, 1, "＜異なるネット＞"},
                                          {17, 1, "ネット名; 　GND = GND"},
                                          {18, 1, "ネット１;"},
                                          {18, 2, "U1.7", Red},
                                          {18, 3, "U2.7", Red},
                                          {18, 4, "U3.7", Red},
                                          {18, 5, "U4.7", Red},
                                          {18, 6, "U5.7", Red},
                                          {19, 2, "U6.7", Red},
                                          {20, 1, "ネット２;"},
                                          {21, 1, "同一個所;"},
                                          {21, 2, "C1.2", Blue},
                                          {22, 1, kBlockRule},
                                          {23, 1, "＜ネット２に存在しないネット１のネット＞"},
                                          {24, 1, "＜ネット１に存在しないネット２のネット＞"}};
    EXPECT_EQ(cells, expected);
}

TEST(CheckSheet, ElevenPinsFillTwoRowsAndOneCellOfAThird) {
    NetComparison comparison;
    comparison.differences.push_back({"N1", "N2", {"R1.1"}, {"R2.1"}, pins("J1.", 11)});
    const auto cells = body(layOutCheckSheet(reportFile(settings(), comparison)));
    std::vector<SheetCell> shared;
    for (const SheetCell& c : cells)
        if (c.colour == Blue)
            shared.push_back(c);
    std::vector<SheetCell> expected;
    for (int i = 0; i < 11; ++i)
        expected.push_back({static_cast<std::uint32_t>(20 + i / 5),
                            static_cast<std::uint16_t>(2 + i % 5), "J1." + std::to_string(i + 1),
                            Blue});
    EXPECT_EQ(shared, expected);
    // The two one-sided lists are red, each on its label's row; the rule follows the pins.
    EXPECT_EQ(cells[2], (SheetCell{18, 1, "ネット１;"}));
    EXPECT_EQ(cells[3], (SheetCell{18, 2, "R1.1", Red}));
    EXPECT_EQ(cells[5], (SheetCell{19, 2, "R2.1", Red}));
    EXPECT_EQ(cells[6], (SheetCell{20, 1, "同一個所;"}));
    EXPECT_EQ(cells[18], (SheetCell{23, 1, kBlockRule}));
}

TEST(CheckSheet, EveryUnpairedNetOfBothSectionsHasItsOwnRow) {
    NetComparison comparison;
    comparison.unpaired1 = {"VCC; 3: U1.14, U2.14, U3.14, ", "LOST; 7: J1.1, J1.2, J1.3, J1.4, "
                                                             "J1.5, J1.6, J1.7, "};
    comparison.unpaired2 = {"EXTRA; 1: TP9.1, "};
    const auto cells = body(layOutCheckSheet(reportFile(settings(), comparison)));
    const std::vector<SheetCell> expected{{16, 1, "＜異なるネット＞"},
                                          {17, 1, "＜ネット２に存在しないネット１のネット＞"},
                                          {18, 1, "VCC;3"},
                                          {18, 2, "U1.14", Red},
                                          {18, 3, "U2.14", Red},
                                          {18, 4, "U3.14", Red},
                                          {19, 1, kEntryRule},
                                          {20, 1, "LOST;7"},
                                          {20, 2, "J1.1", Red},
                                          {20, 3, "J1.2", Red},
                                          {20, 4, "J1.3", Red},
                                          {20, 5, "J1.4", Red},
                                          {20, 6, "J1.5", Red},
                                          {21, 2, "J1.6", Red},
                                          {21, 3, "J1.7", Red},
                                          {22, 1, kEntryRule},
                                          {23, 1, "＜ネット１に存在しないネット２のネット＞"},
                                          {24, 1, "EXTRA;1"},
                                          {24, 2, "TP9.1", Red},
                                          {25, 1, kEntryRule}};
    EXPECT_EQ(cells, expected);
}

TEST(CheckSheet, TheHeaderStaysAsWrittenWhileTheBodyIsUpperCased) {
    ReportSettings s = settings("boards/rev_a.tel");
    s.pinChange[0] = "d";
    s.pinChange[10] = "1";
    s.pinChange[20] = "anode";
    s.nonPolar[0] = "r";
    NetComparison comparison;
    comparison.differences.push_back({"clk", "Clk_in", {"u1.a"}, {}, {"r1.1", "r2.1"}});
    comparison.unpaired2 = {"spare; 2: j1.1, j1.2, "};
    const auto cells = layOutCheckSheet(reportFile(s, comparison));
    EXPECT_EQ(cells[1], (SheetCell{3, 1, "ネット１：　　　boards/rev_a.tel"}));
    EXPECT_EQ(cells[8], (SheetCell{10, 1, "dXX.1-->dXX.anode "}));
    EXPECT_EQ(cells[10], (SheetCell{12, 1, "r"}));
    const auto rest = body(cells);
    EXPECT_EQ(rest[1], (SheetCell{17, 1, "ネット名; 　CLK = CLK_IN"}));
    EXPECT_EQ(rest[3], (SheetCell{18, 2, "U1.A", Red}));
    EXPECT_EQ(rest[6], (SheetCell{20, 2, "R1.1", Blue}));
    EXPECT_EQ(rest[11], (SheetCell{24, 1, "SPARE;2"}));
}

TEST(CheckSheet, APinCutByTheReflowIsOnePinAndLaterRowsStayInPlace) {
    // "ネット１; 　" is 7 characters and every pin with its ", " 10, so the 70-character cut
    // falls in the middle of the seventh pin, and the 132-character one inside the 13th.
    NetComparison comparison;
    comparison.differences.push_back({"BUS", "BUS", {}, {}, {}});
    for (int i = 10; i < 25; ++i)
        comparison.differences[0].only1.push_back("U" + std::to_string(i) + ".1234");
    comparison.differences[0].shared = {"C1.1"};
    comparison.unpaired1 = {"X; 1: T1.1, "};
    const std::string file = reportFile(settings(), comparison);
    ASSERT_NE(file.find("U16\r\n            .1234, "), std::string::npos) << file;
    ASSERT_NE(file.find("U22.1\r\n            234, "), std::string::npos) << file;

    const auto cells = body(layOutCheckSheet(file));
    std::vector<std::string> only1;
    for (const SheetCell& c : cells)
        if (c.colour == Red && c.row < 21)
            only1.push_back(c.text);
    EXPECT_EQ(only1, comparison.differences[0].only1);
    EXPECT_EQ(cells[3 + 6], (SheetCell{19, 3, "U16.1234", Red}));
    EXPECT_EQ(cells[3 + 14], (SheetCell{20, 6, "U24.1234", Red}));
    EXPECT_EQ(cells[3 + 15], (SheetCell{21, 1, "ネット２;"}));
    EXPECT_EQ(cells.back(), (SheetCell{27, 1, "＜ネット１に存在しないネット２のネット＞"}));
    EXPECT_EQ(cells[cells.size() - 4], (SheetCell{25, 1, "X;1"}));
}

TEST(CheckSheet, ALongHeaderPathIsOneCellAndTheBodyStartsWhereItShould) {
    // Paths that make the header line 69, 70, 71, 132 and 200 characters long: each is
    // cut by the reflow (the first two into a line of blanks only).
    for (const std::size_t length : {69u, 70u, 71u, 132u, 200u}) {
        SCOPED_TRACE(length);
        const std::string path = "/boards/" + std::string(length - 8 - 8 - 4, 'p') + ".tel";
        ASSERT_EQ(charCount("ネット１：　　　" + path), length);
        NetComparison comparison;
        comparison.differences.push_back({"A", "B", {"U1.1"}, {}, {"U2.1"}});
        const auto cells = layOutCheckSheet(reportFile(settings(path), comparison));
        EXPECT_EQ(header(cells), headerCells(path));
        ASSERT_GE(cells.size(), 14u);
        EXPECT_EQ(cells[10], (SheetCell{16, 1, "＜異なるネット＞"}));
        EXPECT_EQ(cells[11], (SheetCell{17, 1, "ネット名; 　A = B"}));
        EXPECT_EQ(cells[13], (SheetCell{18, 2, "U1.1", Red}));
    }
}

TEST(CheckSheet, ALongBlockNameLineIsOneCellAndTheBlockFollowsIt) {
    // The name line has 14 + 2n characters: 54, 70 (cut, then blanks only), 94, 132, 254.
    for (const std::size_t nameLength : {20u, 28u, 40u, 59u, 120u}) {
        SCOPED_TRACE(nameLength);
        const std::string name1(nameLength, 'N');
        const std::string name2 = "BUS_" + std::string(nameLength, 'M');
        NetComparison comparison;
        comparison.differences.push_back({name1, name2, {"U1.1"}, {"U9.1"}, {"U2.1"}});
        comparison.differences.push_back({"SHORT", "SHORT", {"R1.1"}, {}, {"R2.1"}});
        const auto cells = body(layOutCheckSheet(reportFile(settings(), comparison)));
        const std::vector<SheetCell> expected{{16, 1, "＜異なるネット＞"},
                                              {17, 1, "ネット名; 　" + name1 + " = " + name2},
                                              {18, 1, "ネット１;"},
                                              {18, 2, "U1.1", Red},
                                              {19, 1, "ネット２;"},
                                              {19, 2, "U9.1", Red},
                                              {20, 1, "同一個所;"},
                                              {20, 2, "U2.1", Blue},
                                              {21, 1, kBlockRule},
                                              {22, 1, "ネット名; 　SHORT = SHORT"},
                                              {23, 1, "ネット１;"},
                                              {23, 2, "R1.1", Red},
                                              {24, 1, "ネット２;"},
                                              {25, 1, "同一個所;"},
                                              {25, 2, "R2.1", Blue},
                                              {26, 1, kBlockRule},
                                              {27, 1, "＜ネット２に存在しないネット１のネット＞"},
                                              {28, 1, "＜ネット１に存在しないネット２のネット＞"}};
        EXPECT_EQ(cells, expected);
    }
}

TEST(CheckSheet, AColonInAnUnpairedNetsNameOrPinStartsNoNewNet) {
    NetComparison comparison;
    comparison.unpaired1 = {"TOP:CLK; 2: U1:A.1, U2.1, "};
    const auto cells = body(layOutCheckSheet(reportFile(settings(), comparison)));
    ASSERT_GE(cells.size(), 5u);
    EXPECT_EQ(cells[2], (SheetCell{18, 1, "TOP:CLK;2"}));
    EXPECT_EQ(cells[3], (SheetCell{18, 2, "U1:A.1", Red}));
    EXPECT_EQ(cells[4], (SheetCell{18, 3, "U2.1", Red}));
    EXPECT_EQ(cells[5], (SheetCell{19, 1, kEntryRule}));
}

TEST(CheckSheet, ASettingTypedAsTheDifferencesHeadingStaysInTheHeader) {
    ReportSettings s = settings();
    s.nonPolar[0] = "＜異なるネット＞";
    const auto cells = layOutCheckSheet(reportFile(s, {}));
    EXPECT_EQ(cells[9], (SheetCell{12, 1, "＜異なるネット＞"}));
    EXPECT_EQ(cells[11], (SheetCell{16, 1, "＜異なるネット＞"}));
    EXPECT_EQ(cells.back(), (SheetCell{18, 1, "＜ネット１に存在しないネット２のネット＞"}));
}

// What the sheet must show for a comparison, built from the comparison itself rather than
// from its report: one row per item, five pins a row.
std::vector<SheetCell> expectedBody(const NetComparison& comparison) {
    std::vector<SheetCell> cells;
    std::uint32_t row = kCheckSheetTemplateRow;
    const auto line = [&](std::string text) { cells.push_back({++row, 1, std::move(text)}); };
    const auto list = [&](std::string label, const std::vector<std::string>& pins,
                          CellColour colour) {
        line(std::move(label));
        for (std::size_t i = 0; i < pins.size(); ++i) {
            if (i > 0 && i % 5 == 0)
                ++row;
            cells.push_back(
                {row, static_cast<std::uint16_t>(2 + i % 5), upperCased(pins[i]), colour});
        }
    };
    const auto unpaired = [&](const std::vector<std::string>& netLines) {
        for (const std::string& netLine : netLines) {
            const auto colon = netLine.find(": ");
            std::string label;
            for (const char c : netLine.substr(0, colon))
                if (c != ' ')
                    label += c;
            std::vector<std::string> pins;
            for (std::size_t at = colon + 2; at < netLine.size();) {
                const auto comma = netLine.find(", ", at);
                pins.push_back(netLine.substr(at, comma - at));
                at = comma + 2;
            }
            list(upperCased(label), pins, Red);
            line(kEntryRule);
        }
    };
    line("＜異なるネット＞");
    for (const DifferenceBlock& block : comparison.differences) {
        line(upperCased("ネット名; 　" + block.name1 + " = " + block.name2));
        list("ネット１;", block.only1, Red);
        list("ネット２;", block.only2, Red);
        list("同一個所;", block.shared, Blue);
        line(kBlockRule);
    }
    line("＜ネット２に存在しないネット１のネット＞");
    unpaired(comparison.unpaired1);
    line("＜ネット１に存在しないネット２のネット＞");
    unpaired(comparison.unpaired2);
    return cells;
}

// Names and pins of every length from short to several lines, so that the reflow's cuts
// fall at every place in name lines, pin lists and unpaired nets.
TEST(CheckSheet, RandomReportsPlaceEveryItemWhereTheComparisonPutsIt) {
    std::mt19937 random(7);
    const auto text = [&](std::size_t maxLength) {
        const std::size_t length = 1 + random() % maxLength;
        std::string s;
        for (std::size_t i = 0; i < length; ++i)
            s += "ABCXYZ0129_-.+/"[random() % 15];
        return s;
    };
    const auto pinList = [&](std::size_t maxPins, std::size_t maxLength) {
        std::vector<std::string> pins(random() % (maxPins + 1));
        for (auto& pin : pins)
            pin = text(maxLength);
        return pins;
    };
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        NetComparison comparison;
        for (int b = 0, blocks = static_cast<int>(random() % 6); b < blocks; ++b)
            comparison.differences.push_back(
                {text(80), text(80), pinList(14, 12), pinList(14, 30), pinList(25, 8)});
        for (auto* side : {&comparison.unpaired1, &comparison.unpaired2}) {
            for (int n = 0, nets = static_cast<int>(random() % 4); n < nets; ++n) {
                const auto pins = pinList(20, 16);
                std::string netLine = text(70) + "; " + std::to_string(pins.size()) + ": ";
                for (const auto& pin : pins)
                    netLine += pin + ", ";
                side->push_back(netLine);
            }
        }
        const std::string path = std::string(random() % 150, 'q');
        const auto cells = layOutCheckSheet(reportFile(settings(path), comparison));
        ASSERT_EQ(header(cells), headerCells(path));
        ASSERT_EQ(body(cells), expectedBody(comparison));
    }
}

} // namespace
} // namespace lintora
