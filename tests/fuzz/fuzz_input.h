// The fuzzer's bytes read front to back; an exhausted input keeps answering 0.
#pragma once
#include <cstddef>
#include <cstdint>

struct FuzzInput {
    const uint8_t* data;
    size_t size;
    uint8_t next() {
        if (!size) return 0;
        --size;
        return *data++;
    }
};
