// The check sheet's placement on any UTF-8 text, taken as a report and also reflowed first:
// every cell lies in the header rows or below the template row, in columns A to F, pins only
// in B to F, in reading order; and reflowing a report does not change its sheet.
#include "base/text_encoding.h"
#include "run/check_sheet.h"
#include "run/report.h"

#include <cstdlib>
#include <string>

namespace {

void checkCells(const std::vector<lintora::SheetCell>& cells) {
    using lintora::CellColour;
    std::uint32_t row = 0;
    std::uint16_t column = 0;
    for (const lintora::SheetCell& cell : cells) {
        const bool header = cell.row >= 2 && cell.row < lintora::kCheckSheetTemplateRow;
        if (!header && cell.row <= lintora::kCheckSheetTemplateRow)
            std::abort();
        if (cell.column < 1 || cell.column > 6 || (header && cell.column != 1))
            std::abort();
        if ((cell.column == 1) != (cell.colour == CellColour::Template))
            std::abort();
        if (cell.row < row || (cell.row == row && cell.column <= column))
            std::abort();
        row = cell.row;
        column = cell.column;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!lintora::isValidUtf8(text))
        return 0;
    const auto cells = lintora::layOutCheckSheet(text);
    checkCells(cells);
    // A text whose lines the reflow leaves alone (all under 69 characters) places the same
    // after the reflow as before.
    const std::string reflowed = lintora::reflowReport(text);
    const auto again = lintora::layOutCheckSheet(reflowed);
    checkCells(again);
    bool shortLines = true;
    std::size_t column = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            column = 0;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++column >= 69) {
            shortLines = false;
            break;
        }
    }
    if (shortLines && cells != again)
        std::abort();
    return 0;
}
