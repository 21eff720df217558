// The check sheet's workbook, read back by another program: openpyxl (cells, texts, colours,
// text type, column widths) and LibreOffice Calc (the sheet opens in a real spreadsheet
// program). Each skips when its program is not installed.
#include "run/check_sheet.h"

#include "base/errors.h"
#include "base/messages.h"
#include "base/text_encoding.h"
#include "run/report.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <map>

namespace lintora {
namespace {

namespace fs = std::filesystem;

const std::string kDumpScript = LINTORA_TEST_DATA "/../support/dump_xlsx.py";

// Answers Yes to every question and remembers it.
class YesObserver : public test::RecordingObserver {
public:
    bool question(std::string_view text) override {
        questions.emplace_back(text);
        return true;
    }
};

std::string reportWithEverything() {
    ReportSettings s;
    s.path1 = "/projects/sensor/schematic/sensor_rev_a.tel";
    s.format1 = "Telesis";
    s.path2 = "board.asc";
    s.format2 = "PADSPCB";
    NetComparison comparison;
    comparison.differences.push_back(
        {"GND", "GND", {"U1.7", "U2.7", "U3.7", "U4.7", "U5.7", "U6.7"}, {}, {"C1.2"}});
    comparison.unpaired1 = {"VCC; 3: U1.14, U2.14, U3.14, "};
    comparison.unpaired2 = {"EXTRA; 1: TP9.1, "};
    return reflowReport(buildReport(s, comparison) + "\r\n") + "\r\n";
}

// Cells a placement never makes: texts that a spreadsheet would turn into a number, a date
// or a formula if they were not stored as text.
std::vector<SheetCell> withLookalikes(std::vector<SheetCell> cells) {
    const std::uint32_t row = cells.back().row + 1;
    cells.push_back({row, 2, "007", CellColour::Red});
    cells.push_back({row, 3, "1E5", CellColour::Red});
    cells.push_back({row, 4, "=1+1", CellColour::Blue});
    cells.push_back({row, 5, "3/4", CellColour::Blue});
    cells.push_back({row, 6, "-1", CellColour::Template});
    return cells;
}

bool haveOpenpyxl() {
    return std::system("/usr/bin/python3 -c 'import openpyxl' > /dev/null 2>&1") == 0;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> dumpWorkbook(const test::TempDir& dir, const fs::path& workbook) {
    const std::string command = "/usr/bin/python3 '" + kDumpScript + "' '" + workbook.string() +
                                "' > '" + (dir / "dump.txt").string() + "' 2> '" +
                                (dir / "dump.err").string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << test::readFile(dir / "dump.err");
    return splitLines(test::readFile(dir / "dump.txt"));
}

std::string cellLine(std::uint32_t row, std::uint16_t column, const std::string& colour,
                     const std::string& text) {
    return "cell\t" + std::to_string(row) + "\t" + std::to_string(column) + "\ts\t@\t" + colour +
           "\t" + text;
}

// Every non-empty cell of the sheet: the template's and the placed ones, row by row.
std::map<std::pair<std::uint32_t, std::uint16_t>, const SheetCell*>
byPosition(const std::vector<SheetCell>& cells) {
    std::map<std::pair<std::uint32_t, std::uint16_t>, const SheetCell*> result;
    for (const SheetCell& c : cells)
        if (!c.text.empty())
            result[{c.row, c.column}] = &c;
    return result;
}

TEST(CheckSheetWorkbook, EveryCellIsTextInItsPlaceAndColour) {
    if (!haveOpenpyxl())
        GTEST_SKIP() << "/usr/bin/python3 with openpyxl is not installed";
    test::TempDir dir;
    const auto cells = withLookalikes(layOutCheckSheet(reportWithEverything()));
    writeCheckSheet(dir / "sheet.xlsx", cells);

    std::vector<std::string> expected{cellLine(1, 1, "-", "ネット比較結果チェックシート")};
    bool headingsDone = false;
    for (const auto& [position, cell] : byPosition(cells)) {
        if (!headingsDone && position.first > kCheckSheetTemplateRow) {
            expected.push_back(cellLine(15, 1, "-", "項目"));
            expected.push_back(cellLine(15, 2, "-", "ピン"));
            headingsDone = true;
        }
        const std::string colour = cell->colour == CellColour::Red    ? "FFFF0000"
                                   : cell->colour == CellColour::Blue ? "FF0000FF"
                                                                      : "-";
        expected.push_back(cellLine(position.first, position.second, colour, cell->text));
    }

    std::vector<std::string> actual;
    for (const std::string& line : dumpWorkbook(dir, dir / "sheet.xlsx"))
        if (line.starts_with("cell\t"))
            actual.push_back(line);
    EXPECT_EQ(actual, expected);
    // Spot checks of what the lists above hold: a pin of the GND block and the dash rule.
    EXPECT_NE(std::find(actual.begin(), actual.end(), cellLine(18, 2, "FFFF0000", "U1.7")),
              actual.end());
    EXPECT_NE(std::find(actual.begin(), actual.end(), cellLine(21, 2, "FF0000FF", "C1.2")),
              actual.end());
    EXPECT_NE(std::find(actual.begin(), actual.end(), cellLine(22, 1, "-", std::string(28, '-'))),
              actual.end());
}

TEST(CheckSheetWorkbook, ColumnAFitsTheHeaderAndTheSheetIsNamedSheet1) {
    if (!haveOpenpyxl())
        GTEST_SKIP() << "/usr/bin/python3 with openpyxl is not installed";
    test::TempDir dir;
    const std::string longPath = "/" + std::string(98, 'd') + "/x.tel"; // cut by the reflow
    ReportSettings s;
    s.path1 = longPath;
    s.format1 = s.format2 = "Telesis";
    s.path2 = "b.tel";
    NetComparison comparison;
    comparison.unpaired1 = {"N; 2: CONNECTOR_J12.A15, U1.1, "};
    writeCheckSheet(dir / "sheet.xlsx",
                    layOutCheckSheet(reflowReport(buildReport(s, comparison) + "\r\n") + "\r\n"));
    std::map<std::string, double> widths;
    std::vector<std::string> sheets;
    for (const std::string& line : dumpWorkbook(dir, dir / "sheet.xlsx")) {
        if (line.starts_with("sheet\t"))
            sheets.push_back(line.substr(6));
        if (line.starts_with("width\t"))
            widths[line.substr(6, 1)] = std::stod(line.substr(8));
    }
    EXPECT_EQ(sheets, std::vector<std::string>{"Sheet1"});
    // "ネット１：　　　" counts twice per character, like every full-width character.
    EXPECT_GE(widths["A"], 16.0 + static_cast<double>(longPath.size()));
    EXPECT_LE(widths["A"], 255.0);
    for (const char* column : {"B", "C", "D", "E", "F"}) {
        SCOPED_TRACE(column);
        EXPECT_GE(widths[column], 17.0); // CONNECTOR_J12.A15
        EXPECT_EQ(widths[column], widths["B"]);
    }
}

// A minimal CSV reader: fields split by commas, double quotes around fields that need them.
std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1);
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().push_back(field);
            field.clear();
        } else if (c == '\n') {
            rows.back().push_back(field);
            field.clear();
            rows.emplace_back();
        } else if (c != '\r') {
            field += c;
        }
    }
    if (!field.empty() || !rows.back().empty())
        rows.back().push_back(field);
    else
        rows.pop_back();
    return rows;
}

TEST(CheckSheetWorkbook, LibreOfficeCalcOpensItWithEveryTextIntact) {
    if (std::system("command -v libreoffice > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "LibreOffice is not installed";
    test::TempDir dir;
    const auto cells = withLookalikes(layOutCheckSheet(reportWithEverything()));
    writeCheckSheet(dir / "sheet.xlsx", cells);
    // A profile of its own, so that parallel runs and the user's own LibreOffice don't meet.
    const std::string command =
        "cd '" + dir.path().string() +
        "' && timeout 300 libreoffice -env:UserInstallation=file://" + (dir / "profile").string() +
        " --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1' --outdir csv "
        "sheet.xlsx > lo.out 2> lo.err";
    ASSERT_EQ(std::system(command.c_str()), 0) << test::readFile(dir / "lo.err");
    ASSERT_TRUE(test::fileExists(dir / "csv" / "sheet.csv"))
        << test::readFile(dir / "lo.out") << test::readFile(dir / "lo.err");
    const auto rows = parseCsv(test::readFile(dir / "csv" / "sheet.csv"));

    auto expected = byPosition(cells);
    const SheetCell title{1, 1, "ネット比較結果チェックシート"};
    const SheetCell item{15, 1, "項目"};
    const SheetCell pin{15, 2, "ピン"};
    expected[{1, 1}] = &title;
    expected[{15, 1}] = &item;
    expected[{15, 2}] = &pin;
    ASSERT_EQ(rows.size(), expected.rbegin()->first.first);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < 6; ++c) {
            const auto at = expected.find(
                {static_cast<std::uint32_t>(r + 1), static_cast<std::uint16_t>(c + 1)});
            const std::string want = at == expected.end() ? "" : at->second->text;
            const std::string got = c < rows[r].size() ? rows[r][c] : "";
            EXPECT_EQ(got, want) << "row " << r + 1 << ", column " << c + 1;
        }
    }
}

TEST(CheckSheetWorkbook, NothingHappensWhenTheUserAnswersNo) {
    test::TempDir dir;
    test::writeFile(dir / "cmp.txt", reportWithEverything());
    test::RecordingObserver observer; // answers No
    EXPECT_EQ(exportCheckSheet(dir.path(), observer), std::nullopt);
    EXPECT_EQ(observer.questions,
              std::vector<std::string>{std::string(messages::kCheckSheetQuestion)});
    EXPECT_EQ(observer.questions[0],
              "マイクロソフトエクセルがインストールされているパソコンで実行して下さい。"
              "実行してよろしいでしょうか。？");
    EXPECT_TRUE(observer.messages.empty());
    EXPECT_FALSE(test::fileExists(dir / "cmp.xlsx"));
}

TEST(CheckSheetWorkbook, WithoutAReportTheUserIsToldToRunFirst) {
    test::TempDir dir;
    YesObserver observer;
    EXPECT_EQ(exportCheckSheet(dir.path(), observer), std::nullopt);
    EXPECT_EQ(observer.messages,
              std::vector<std::string>{"ネット比較結果は有りません。実行後に表示してください。"});
    EXPECT_FALSE(test::fileExists(dir / "cmp.xlsx"));
}

std::vector<std::string> filesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CheckSheetWorkbook, ExportWritesCmpXlsxBesideTheReportAndReturnsIt) {
    test::TempDir dir;
    test::writeFile(dir / "cmp.txt", reportWithEverything());
    YesObserver observer;
    const auto written = exportCheckSheet(dir.path(), observer);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(*written, dir / "cmp.xlsx");
    EXPECT_TRUE(written->is_absolute());
    EXPECT_TRUE(observer.messages.empty());
    EXPECT_EQ(test::readFile(dir / "cmp.xlsx").substr(0, 2), "PK"); // a zip container
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"cmp.txt", "cmp.xlsx"}));

    // Written again over the first one.
    EXPECT_TRUE(exportCheckSheet(dir.path(), observer).has_value());
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"cmp.txt", "cmp.xlsx"}));
}

TEST(CheckSheetWorkbook, AReportInCp932GivesTheSameSheet) {
    if (!haveOpenpyxl())
        GTEST_SKIP() << "/usr/bin/python3 with openpyxl is not installed";
    test::TempDir utf8;
    test::TempDir cp932;
    test::writeFile(utf8 / "cmp.txt", reportWithEverything());
    test::writeFile(cp932 / "cmp.txt", encodeText(reportWithEverything(), TextEncoding::Cp932));
    YesObserver observer;
    ASSERT_TRUE(exportCheckSheet(utf8.path(), observer).has_value());
    ASSERT_TRUE(exportCheckSheet(cp932.path(), observer).has_value());
    EXPECT_EQ(dumpWorkbook(utf8, utf8 / "cmp.xlsx"), dumpWorkbook(cp932, cp932 / "cmp.xlsx"));
}

TEST(CheckSheetWorkbook, AWorkbookThatCannotBeReplacedAsksToCloseTheSpreadsheets) {
    const std::string closeThem = "起動中のエクセルファイル全てを閉じて実行して下さい。";
    // Write-protected; open in LibreOffice (its lock file); open in Excel (its owner file);
    // a folder where the workbook should be.
    for (int obstacle = 0; obstacle < 4; ++obstacle) {
        SCOPED_TRACE(obstacle);
        test::TempDir dir;
        test::writeFile(dir / "cmp.txt", reportWithEverything());
        if (obstacle == 0) {
            test::writeFile(dir / "cmp.xlsx", "old");
            ::chmod((dir / "cmp.xlsx").c_str(), 0444);
        } else if (obstacle == 1) {
            test::writeFile(dir / "cmp.xlsx", "old");
            test::writeFile(dir / ".~lock.cmp.xlsx#", ",someone,host,01.01.2026 10:00,;");
        } else if (obstacle == 2) {
            test::writeFile(dir / "cmp.xlsx", "old");
            test::writeFile(dir / "~$cmp.xlsx", "someone");
        } else {
            fs::create_directory(dir / "cmp.xlsx");
        }
        const auto before = filesIn(dir.path());
        YesObserver observer;
        EXPECT_EQ(exportCheckSheet(dir.path(), observer), std::nullopt);
        EXPECT_EQ(observer.messages, std::vector<std::string>{closeThem});
        EXPECT_EQ(filesIn(dir.path()), before); // no temporary file left behind
        if (obstacle < 3) {
            EXPECT_EQ(test::readFile(dir / "cmp.xlsx"), "old");
        }
    }
}

TEST(CheckSheetWorkbook, TheCommandLinesWriterNamesTheFileItCouldNotWrite) {
    test::TempDir dir;
    test::writeFile(dir / "cmp.txt", reportWithEverything());
    test::RecordingObserver observer;
    const fs::path missing = dir / "no-such-folder" / "sheet.xlsx";
    EXPECT_FALSE(writeCheckSheetFile(dir.path(), missing, observer));
    EXPECT_EQ(observer.messages,
              std::vector<std::string>{std::string(messages::kWriteFailed) + missing.string()});
    EXPECT_TRUE(observer.questions.empty()); // it never asks

    observer.messages.clear();
    EXPECT_TRUE(writeCheckSheetFile(dir.path(), dir / "sheet.xlsx", observer));
    EXPECT_TRUE(observer.messages.empty());
    EXPECT_TRUE(test::fileExists(dir / "sheet.xlsx"));
}

TEST(CheckSheetWorkbook, CellsBeyondAWorksheetAreRefusedBeforeAnythingIsWritten) {
    test::TempDir dir;
    EXPECT_THROW(writeCheckSheet(dir / "sheet.xlsx", {{1048577, 1, "x"}}), CapacityExceeded);
    EXPECT_THROW(writeCheckSheet(dir / "sheet.xlsx", {{16, 1, std::string(32768, 'x')}}),
                 CapacityExceeded);
    EXPECT_TRUE(filesIn(dir.path()).empty());
    // The largest that fits is written.
    writeCheckSheet(dir / "sheet.xlsx", {{16, 1, std::string(32767, 'x')}, {1048576, 6, "y"}});
    EXPECT_TRUE(test::fileExists(dir / "sheet.xlsx"));
}

} // namespace
} // namespace lintora
