#include "ui/check_sheet_action.h"

namespace lintora {

CheckSheetExport defaultCheckSheetExport() {
    // STUB: the check sheet is not part of the core yet. Until it is, the button shows
    // nothing and opens nothing; wire exportCheckSheet() from run/check_sheet.h here.
    return [](const std::filesystem::path&, RunObserver&) -> std::optional<std::filesystem::path> {
        return std::nullopt;
    };
}

} // namespace lintora
