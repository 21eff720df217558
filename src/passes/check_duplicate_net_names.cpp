#include "base/net_line.h"
#include "base/text_file.h"
#include "passes/duplicate_report.h"
#include "passes/passes.h"

#include <algorithm>

namespace lintora {

void checkDuplicateNetNames(Workspace& ws, std::string& errorText, DuplicateFindings* findings) {
    const std::string text = readFileBytes(ws.file(files::net));
    FieldArray fields(ws.limits.fieldSlots);
    RepeatCounter names(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
    LineReader lines(text);
    std::string_view line;
    while (lines.next(line) && !line.empty()) {
        if (names.added() >= ws.limits.netNameSlots)
            throw CapacityExceeded("net names of a side");
        splitNetLine(fields, line);
        names.add(fields.at(0));
    }
    reportDuplicates(ws, names, "・・・・・ネット名が重複しています。",
                     "**************ネット名重複情報**************",
                     "ネット名の重複が有り処理が正常に行われません。処理終了後にエラー情報ボタンを"
                     "押して確認してください。",
                     errorText, findings);
}

} // namespace lintora
