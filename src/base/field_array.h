#pragma once

#include "base/errors.h"
#include "base/limits.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lintora {

// The in-memory record of one net or part: slot 0 the net name, slot 1 the pin count as
// decimal text, pins from slot 2 (or, for a part: attribute, part name, reference,
// footprint in slots 0 to 3). Unwritten slots read as empty; writing beyond the last slot
// of the limits record is a capacity failure, as it is for every table of the run.
class FieldArray {
public:
    explicit FieldArray(std::size_t slots = Limits{}.fieldSlots) : m_capacity(slots) {}

    std::string& operator[](std::size_t index) {
        if (index >= m_slots.size())
            grow(index);
        return m_slots[index];
    }
    const std::string& at(std::size_t index) const {
        static const std::string empty;
        return index < m_slots.size() ? m_slots[index] : empty;
    }
    std::size_t capacity() const { return m_capacity; }
    // Empties every slot (a fresh record).
    void clear() {
        for (auto& slot : m_slots)
            slot.clear();
    }

private:
    void grow(std::size_t index) {
        if (index >= m_capacity)
            throw CapacityExceeded("field array slot " + std::to_string(index));
        m_slots.resize(index + 1);
    }

    std::vector<std::string> m_slots;
    std::size_t m_capacity;
};

// The value of a count as the net formats read it: its leading decimal digits, 0 when it
// has none. Saturates instead of overflowing.
std::size_t leadingNumber(std::string_view text);

} // namespace lintora
