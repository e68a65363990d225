// The fuzzer's bytes read front to back; an exhausted input keeps answering 0.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

struct FuzzInput {
    const uint8_t* data;
    size_t size;
    uint8_t next() {
        if (!size) return 0;
        --size;
        return *data++;
    }

    // A NUL-free piece of fewer than `most` steps, each a raw byte or, for bytes with the high bit
    // set, one of `words`: whole delimiters then come up often.
    template <size_t N>
    std::string piece(const char* const (&words)[N], size_t most, char nul_stand_in = 'z') {
        size_t n = next() % most;
        std::string s;
        for (size_t i = 0; i < n && size; ++i) {
            uint8_t b = next();
            if (b & 0x80)
                s += words[b % N];
            else
                s += static_cast<char>(b ? b : nul_stand_in);
        }
        return s;
    }
};

inline void Check(bool condition) {
    if (!condition) std::abort();
}
