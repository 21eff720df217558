#include "passes/duplicate_report.h"

#include "run/net_sort.h"

namespace lintora {

void reportDuplicates(Workspace& ws, std::vector<std::string>& names, std::string_view suffix,
                      std::string_view title, std::string_view warning, std::string& errorText) {
    modStrSort(names, 0, static_cast<long>(names.size()) - 1, 0);
    std::string duplicates;
    for (std::size_t k = 0; k + 1 < names.size(); ++k) {
        if (names[k + 1] == names[k] && !names[k].empty()) {
            duplicates += names[k];
            duplicates += suffix;
            duplicates += "\r\n";
        }
    }
    if (duplicates.empty())
        return;
    ws.observer.message(warning);
    errorText += title;
    errorText += "\r\n\r\n";
    errorText += duplicates;
    errorText += "\r\n";
}

} // namespace lintora
