#pragma once

#include "base/observer.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lintora {

// The check sheet: the net comparison report spread over a worksheet, one report item per
// row, the pins of each list five to a row in columns B to F, so that reviewers can tick off
// every difference. Placing the cells and writing the workbook are kept apart: the
// placement is a pure function of the report's text.

// The font colour of a written cell: the sheet's own (labels, headings, whole lines), red for
// a pin that only one side has, blue for a pin both sides share.
enum class CellColour : std::uint8_t { Template, Red, Blue };

struct SheetCell {
    std::uint32_t row = 0;    // counted from 1, as a spreadsheet shows it
    std::uint16_t column = 0; // counted from 1: 1 is column A
    std::string text;
    CellColour colour = CellColour::Template;

    friend bool operator==(const SheetCell&, const SheetCell&) = default;
};

// Rows the sheet itself fills: the title, and the row that heads the body.
inline constexpr std::uint32_t kCheckSheetTitleRow = 1;
inline constexpr std::uint32_t kCheckSheetTemplateRow = 15;

// Places a report (the text of cmp.txt as written, reflowed, UTF-8) on the sheet, in reading
// order. The settings header goes unchanged to column A from row 2, one header line a row;
// the body, upper-cased, starts below the template row: headings, block name lines and rule
// lines whole in column A, each pin list's label in A with its pins in B to F (red when one
// side only has them, blue when shared), and each unpaired net's name and count ("VCC;3") in
// A with its pins in red. Lines that the reflow cut are joined to the line they continue
// first, so a long path or a long block name line stays one cell and a cut pin one pin.
// Empty lines fill nothing.
std::vector<SheetCell> layOutCheckSheet(std::string_view reportText);

// Writes the cells into a new workbook at `path`, with the built-in template: the title in
// row 1, the body's column headings in row 15, column A wide enough for the header lines and
// columns B to F for pins; every cell is stored as text, so lines of dashes and asterisks
// stay text. The file is written under a temporary name in the same folder and renamed into
// place when complete. Throws WriteFailed when the workbook cannot be written there (no
// such folder, no permission, a write-protected workbook, or one that a spreadsheet program
// holds open), CapacityExceeded when the cells do not fit a worksheet, and RunFailure for
// anything else the spreadsheet library reports.
void writeCheckSheet(const std::filesystem::path& path, const std::vector<SheetCell>& cells);

// The name of the workbook the window's action writes into the working directory.
inline constexpr std::string_view kCheckSheetFileName = "cmp.xlsx";

// The window's whole action: asks first (No: nothing happens), then lays out the working
// directory's cmp.txt and writes cmp.xlsx beside it. Every outcome other than success is
// told through the observer: no report, a workbook that cannot be written (close the
// spreadsheets that hold it), and any other failure. Returns the workbook written; the
// caller opens it. Nothing is opened here.
std::optional<std::filesystem::path> exportCheckSheet(const std::filesystem::path& workDir,
                                                      RunObserver& observer);

// The same workbook for the command line: writes the check sheet of workDir's cmp.txt to
// `sheetPath`, without asking. Failures are told through the observer (a workbook that
// cannot be written by the file's name); returns whether the workbook was written.
bool writeCheckSheetFile(const std::filesystem::path& workDir,
                         const std::filesystem::path& sheetPath, RunObserver& observer);

} // namespace lintora
