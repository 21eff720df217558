#pragma once

// The generator's own random numbers (xoshiro256**, seeded through splitmix64): the same
// seed gives the same sequence with every compiler and standard library.

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

namespace lintora::bench {

class Rng {
public:
    explicit Rng(std::uint64_t seed) {
        for (auto& word : m_state) {
            seed += 0x9E3779B97F4A7C15ull;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            word = z ^ (z >> 31);
        }
    }

    std::uint64_t next() {
        const std::uint64_t result = rotl(m_state[1] * 5, 7) * 9;
        const std::uint64_t t = m_state[1] << 17;
        m_state[2] ^= m_state[0];
        m_state[3] ^= m_state[1];
        m_state[1] ^= m_state[2];
        m_state[0] ^= m_state[3];
        m_state[2] ^= t;
        m_state[3] = rotl(m_state[3], 45);
        return result;
    }

    // A number in [0, n); n must not be 0. Below 2^32 a multiply-shift of the high 32 bits
    // (bias under n / 2^32, nothing a benchmark board notices); above, the remainder.
    std::size_t below(std::size_t n) {
        const std::uint64_t r = next();
        if (n <= 0xFFFFFFFFull)
            return static_cast<std::size_t>(((r >> 32) * n) >> 32);
        return static_cast<std::size_t>(r % n);
    }

    // True with probability `percent` / 100.
    bool percent(unsigned percent) { return below(100) < percent; }

    // An index drawn with the given weights (not all zero).
    std::size_t weighted(std::span<const unsigned> weights) {
        unsigned total = 0;
        for (const unsigned w : weights)
            total += w;
        std::size_t pick = below(total);
        for (std::size_t i = 0; i < weights.size(); ++i) {
            if (pick < weights[i])
                return i;
            pick -= weights[i];
        }
        return weights.size() - 1;
    }

    template <typename T>
    void shuffle(std::span<T> items) {
        for (std::size_t i = items.size(); i > 1; --i)
            std::swap(items[i - 1], items[below(i)]);
    }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

    std::uint64_t m_state[4];
};

} // namespace lintora::bench
