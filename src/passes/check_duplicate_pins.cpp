#include "base/net_line.h"
#include "base/text_file.h"
#include "passes/duplicate_report.h"
#include "passes/passes.h"

#include <algorithm>

namespace lintora {

void checkDuplicatePins(Workspace& ws, std::string& errorText, DuplicateFindings* findings) {
    const std::string text = readFileBytes(ws.file(files::net));
    FieldArray fields(ws.limits.fieldSlots);
    // A pin ends in ", ": the commas tell how large the table must be.
    RepeatCounter pins(static_cast<std::size_t>(std::count(text.begin(), text.end(), ',')));
    LineReader lines(text);
    std::string_view line;
    while (lines.next(line) && !line.empty()) {
        const std::size_t written = splitNetLine(fields, line);
        // As many pins as the count says, but never one the line does not have.
        const std::size_t count = splitPinCount(fields, written);
        if (pins.added() + count > ws.limits.pinListSlots)
            throw CapacityExceeded("pins of a side");
        for (std::size_t i = 0; i < count; ++i)
            pins.add(fields.at(i + 2));
    }
    reportDuplicates(
        ws, pins, "・・・・・ピン番が重複しています。", "*************ピン番重複情報*************",
        "ピン番の重複があります。処理終了後にエラー情報ボタンを押して確認してください。",
        errorText, findings);
}

} // namespace lintora
