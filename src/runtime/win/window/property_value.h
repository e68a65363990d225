// One control property's value: a number or a text.
#pragma once
#include <cstdint>

#include "runtime/core/text.h"

namespace brindor {

struct PropertyValue {
    bool is_text = false;
    int64_t number = 0;
    Text text;

    static PropertyValue of(int64_t value) { return {false, value, {}}; }
    static PropertyValue of(Text value) { return {true, 0, static_cast<Text&&>(value)}; }

    Text as_text() const;
    int64_t as_number() const;
};

} // namespace brindor
