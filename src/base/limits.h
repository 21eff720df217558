#pragma once

#include <cstddef>
#include <limits>

namespace lintora {

// Every fixed capacity of a comparison in one place. The defaults are the classic
// table sizes that designers' files and habits were built around (and that the capacity
// message reports); `unlimited()` lifts them all for very large boards.
//
// Sizes are given as table slots, the way the tables are indexed: a table of N slots holds
// indices 0 to N - 1.
struct Limits {
    // Field array of one net or part record: slots 0 to 20000. Slot 0 is the name, slot 1
    // the count, pins from slot 2; a split line also fills the slot after its last pin, so
    // a net that is sorted can hold at most 19998 pins.
    std::size_t fieldSlots = 20001;
    // Side tables of the comparison and the sort's line table: slots 0 to 20000. The sorted
    // file keeps one empty line after its last net, so a side holds at most 20000 nets.
    std::size_t sideSlots = 20001;
    // Name list of the duplicate net-name check: slots 0 to 20000 (20001 names).
    std::size_t netNameSlots = 20001;
    // Pin list of the duplicate pin check: slots 0 to 50000 (50001 pins per side).
    std::size_t pinListSlots = 50001;
    // Field array of the swap pass: slots 0 to 10000, so a side-1 net holds 9998 pins there.
    std::size_t swapFieldSlots = 10001;
    // Swap table: 1001 pairs.
    std::size_t swapPairs = 1001;
    // Parts tables of the parts comparison: slots 0 to 3000; the slot after the last part
    // stays empty, so 3000 parts per side.
    std::size_t partsSlots = 3001;
    // Largest report the result box takes, in characters; a larger one is left in cmp.txt.
    std::size_t resultBoxChars = 64u * 1024u * 1024u;

    static Limits unlimited() {
        constexpr std::size_t none = std::numeric_limits<std::size_t>::max() / 4;
        Limits limits;
        limits.fieldSlots = none;
        limits.sideSlots = none;
        limits.netNameSlots = none;
        limits.pinListSlots = none;
        limits.swapFieldSlots = none;
        limits.swapPairs = none;
        limits.partsSlots = none;
        limits.resultBoxChars = none;
        return limits;
    }
};

} // namespace lintora
