#pragma once
// A small deterministic generator: the demo game and the test fixtures must come out the
// same, byte for byte, on every machine and with every standard library, which the
// distributions of <random> do not promise.

#include <cstdint>
#include <string_view>
#include <vector>

namespace drapeline::testkit {

class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed * 2654435761u + 1) {
        if (state_ == 0) state_ = 0x9E3779B9u;   // xorshift never leaves zero
    }

    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // 0 .. n-1; n must not be 0.
    std::uint32_t below(std::uint32_t n) { return next() % n; }
    int between(int low, int high) {   // low .. high, both included
        return low + static_cast<int>(below(static_cast<std::uint32_t>(high - low + 1)));
    }
    bool chance(int percent) { return static_cast<int>(below(100)) < percent; }
    double unit() { return static_cast<double>(next() >> 8) / static_cast<double>(1u << 24); }

    template <class T>
    const T& pick(const std::vector<T>& items) {
        return items[below(static_cast<std::uint32_t>(items.size()))];
    }

private:
    std::uint32_t state_;
};

// A stable seed from a name (FNV-1a), so that one skin always gets the same fabric.
inline std::uint32_t seedFrom(std::string_view text) {
    std::uint32_t h = 2166136261u;
    for (const char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    return h;
}

}  // namespace drapeline::testkit
