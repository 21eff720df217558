#include "passes/duplicate_report.h"

#include "run/net_sort.h"

namespace lintora {

void reportDuplicates(Workspace& ws, std::vector<std::string> sorted, std::string_view suffix,
                      std::string_view title, std::string_view warning, std::string& errorText) {
    // Sorted, a name that occurs m times stands in m - 1 neighbouring equal pairs.
    modStrSort(sorted, 0, static_cast<long>(sorted.size()) - 1, 0);
    std::string duplicates;
    for (std::size_t k = 0; k + 1 < sorted.size(); ++k) {
        if (sorted[k + 1] == sorted[k] && !sorted[k].empty()) {
            duplicates += sorted[k];
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
