#pragma once

// The one hash of names and pins that the tables of the readers, the duplicate checks and the
// comparison use: names and pins are a few bytes long, so it takes eight bytes at a time,
// mixes each in by a multiplication, and spreads every bit over the low bits at the end,
// which pick a table slot.

#include <cstdint>
#include <cstring>
#include <string_view>

namespace lintora {

inline std::uint64_t mixBits(std::uint64_t h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDULL;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ULL;
    return h ^ (h >> 33);
}

inline std::uint64_t hashText(std::string_view text) {
    constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ULL;
    std::uint64_t h = text.size() * kMul;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        h = (h ^ word) * kMul;
        h ^= h >> 29;
    }
    std::uint64_t tail = 0; // the last bytes, built in a register without a library call
    for (std::size_t k = text.size(); k > i; --k)
        tail = (tail << 8) | static_cast<unsigned char>(text[k - 1]);
    return mixBits((h ^ tail) * kMul);
}

} // namespace lintora
