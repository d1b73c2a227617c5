#pragma once
// The fuzzer's random numbers: a small generator of its own (splitmix64), so that a
// case number gives the same bytes on every build and library.
#include <cstddef>
#include <cstdint>

namespace fuzz {

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A number below bound (0 when bound is 0).
    size_t Below(size_t bound) { return bound == 0 ? 0 : static_cast<size_t>(Next() % bound); }
    bool OneIn(size_t n) { return Below(n) == 0; }
    template <typename T, size_t N> const T& Pick(const T (&items)[N]) { return items[Below(N)]; }

private:
    uint64_t state_;
};

// The seed of a case: its number, scattered, so that neighbouring cases differ widely.
inline uint64_t CaseSeed(int caseNumber) {
    return Random(0x4B657374726176ull ^ static_cast<uint64_t>(caseNumber)).Next();
}

} // namespace fuzz
