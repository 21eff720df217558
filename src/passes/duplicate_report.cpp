#include "passes/duplicate_report.h"

#include "run/net_sort.h"

#include <unordered_map>

namespace lintora {

void reportDuplicates(Workspace& ws, const std::vector<std::string>& names, std::string_view suffix,
                      std::string_view title, std::string_view warning, std::string& errorText) {
    // Sorting every name and comparing neighbours lists each name that occurs m times m - 1
    // times, in sorted order; counting first and sorting only the repeated names gives the
    // same list without sorting tens of thousands of names.
    std::unordered_map<std::string_view, std::size_t> occurrences;
    occurrences.reserve(names.size());
    for (const auto& name : names)
        if (!name.empty())
            ++occurrences[name];
    std::vector<std::string> repeated;
    for (const auto& [name, count] : occurrences)
        if (count > 1)
            repeated.emplace_back(name);
    if (repeated.empty())
        return;
    modStrSort(repeated, 0, static_cast<long>(repeated.size()) - 1, 0);
    std::string duplicates;
    for (const auto& name : repeated) {
        for (std::size_t i = 1; i < occurrences[name]; ++i) {
            duplicates += name;
            duplicates += suffix;
            duplicates += "\r\n";
        }
    }
    ws.observer.message(warning);
    errorText += title;
    errorText += "\r\n\r\n";
    errorText += duplicates;
    errorText += "\r\n";
}

} // namespace lintora
