#include "ui/check_sheet_action.h"

#include "run/check_sheet.h"

namespace lintora {

CheckSheetExport defaultCheckSheetExport() {
    return &exportCheckSheet;
}

} // namespace lintora
