// Repeatable random cell texts for the sheet benchmarks (fixed seeds, so
// every run fills the same sheet).
#pragma once

#include <cstdint>
#include <string>

namespace bench {

// A small fast generator so that making the texts costs little beside the fill.
struct XorShift {
    uint64_t state;
    uint64_t operator()() {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return state * 0x2545F4914F6CDD1DULL;
    }
};

constexpr int kTextLength = 12;

// Twelve letters or digits, two draws of the generator each.
inline void randomText(XorShift& random, std::string& text) {
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    text.resize(kTextLength);
    uint64_t bits = random();
    for (int k = 0; k < kTextLength; ++k) {
        if (k == 6) {
            bits = random();
        }
        text[k] = kLetters[bits % 62];
        bits /= 62;
    }
}

}  // namespace bench
