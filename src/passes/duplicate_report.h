#pragma once

#include "base/workspace.h"
#include "passes/passes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lintora {

// Counts how often each name occurs, keeping a single copy of each distinct name: a side's
// pins are counted without a string for each of them.
class RepeatCounter {
public:
    // `expected`: about how many names will be added (the table is made large enough once).
    explicit RepeatCounter(std::size_t expected = 0);
    void add(std::string_view name);
    // How many names were added, repeats included.
    std::size_t added() const { return m_added; }
    // The names that occur more than once, each with how often, in binary order.
    std::vector<std::pair<std::string_view, std::size_t>> repeats() const;

private:
    // A slot of the hash table: part of the name's hash and which distinct name it holds.
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t entry = 0; // 0: a free slot, else the index in m_entries plus one
    };
    struct Entry {
        std::size_t offset; // of the name in m_names
        std::size_t length;
        std::size_t count;
    };
    void grow();
    std::string_view nameOf(const Entry& entry) const {
        return {m_names.data() + entry.offset, entry.length};
    }

    std::vector<Slot> m_slots;
    std::vector<Entry> m_entries;
    std::string m_names;
    std::size_t m_added = 0;
};

// Shared by both duplicate checks: lists, in binary order, each name that occurs m times
// m - 1 times (empty names never count) and, when there is one, shows `warning` and appends
// the block `title`, empty line, one line per repeat, empty line to the error text.
// The repeats and the count of names added go to `findings` when it is given.
void reportDuplicates(Workspace& ws, const RepeatCounter& names, std::string_view suffix,
                      std::string_view title, std::string_view warning, std::string& errorText,
                      DuplicateFindings* findings);

} // namespace lintora
