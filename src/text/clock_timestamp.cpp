#include "text/clock_timestamp.h"

#include <chrono>
#include <cstdint>

namespace brindor {

namespace {

Text milliseconds_text(int64_t milliseconds) {
    if (milliseconds < 0) milliseconds = 0;
    char digits[24];
    char* p = digits + sizeof digits;
    *--p = '\0';
    do {
        *--p = static_cast<char>('0' + milliseconds % 10);
        milliseconds /= 10;
    } while (milliseconds);
    return Text(p, static_cast<size_t>(digits + sizeof digits - 1 - p));
}

} // namespace

Text ClockTimestamp() {
    auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
    return milliseconds_text(std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count());
}

bool IsTimestampText(TextRef text) {
    const char* s = text.c_str();
    if (!*s) return false;
    for (; *s; ++s)
        if (*s < '0' || *s > '9') return false;
    return true;
}

} // namespace brindor
