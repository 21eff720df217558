#pragma once

#include "base/observer.h"

#include <filesystem>
#include <functional>
#include <optional>

namespace lintora {

// The check-sheet button's one seam: writes the check sheet of the report in `workDir`,
// asking and telling the user through `observer`, and returns the workbook to open (nothing
// when the user declined or the sheet could not be written). Runs on a worker thread.
using CheckSheetExport = std::function<std::optional<std::filesystem::path>(
    const std::filesystem::path& workDir, RunObserver& observer)>;

// The core's export (run/check_sheet.h), which the window uses unless a test gives it another.
CheckSheetExport defaultCheckSheetExport();

} // namespace lintora
