#include "passes/duplicate_report.h"

#include "base/text_hash.h"

#include <algorithm>

namespace lintora {

RepeatCounter::RepeatCounter(std::size_t expected) {
    std::size_t size = 64;
    while (size < 2 * expected)
        size *= 2;
    m_slots.resize(size);
    m_entries.reserve(expected);
}

void RepeatCounter::add(std::string_view name) {
    ++m_added;
    if (name.empty())
        return; // a line without a name or pin is nothing to report
    if (2 * (m_entries.size() + 1) > m_slots.size())
        grow();
    const std::uint32_t hash = static_cast<std::uint32_t>(hashText(name));
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& slot = m_slots[i];
        if (slot.entry == 0) {
            m_entries.push_back({m_names.size(), name.size(), 1});
            m_names.append(name);
            slot = {hash, static_cast<std::uint32_t>(m_entries.size())};
            return;
        }
        if (slot.hash == hash) {
            Entry& entry = m_entries[slot.entry - 1];
            if (nameOf(entry) == name) {
                ++entry.count;
                return;
            }
        }
    }
}

void RepeatCounter::grow() {
    m_slots.assign(m_slots.size() * 2, Slot{});
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t e = 0; e < m_entries.size(); ++e) {
        const std::uint32_t hash = static_cast<std::uint32_t>(hashText(nameOf(m_entries[e])));
        std::size_t i = hash & mask;
        while (m_slots[i].entry != 0)
            i = (i + 1) & mask;
        m_slots[i] = {hash, static_cast<std::uint32_t>(e + 1)};
    }
}

std::vector<std::pair<std::string_view, std::size_t>> RepeatCounter::repeats() const {
    std::vector<std::pair<std::string_view, std::size_t>> result;
    for (const Entry& entry : m_entries)
        if (entry.count > 1)
            result.emplace_back(nameOf(entry), entry.count);
    std::sort(result.begin(), result.end());
    return result;
}

void reportDuplicates(Workspace& ws, const RepeatCounter& names, std::string_view suffix,
                      std::string_view title, std::string_view warning, std::string& errorText,
                      DuplicateFindings* findings) {
    // The list the classic way gives, sorting every name and comparing neighbours: a name
    // that occurs m times stands in m - 1 equal pairs.
    const auto repeats = names.repeats();
    if (findings != nullptr) {
        findings->itemsRead = names.added();
        findings->repeats.clear();
        for (const auto& [name, count] : repeats)
            findings->repeats.push_back({std::string(name), count});
    }
    std::string duplicates;
    for (const auto& [name, count] : repeats) {
        for (std::size_t i = 1; i < count; ++i) {
            duplicates += name;
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
