#include "runtime/win/window/property_value.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace brindor {

Text PropertyValue::as_text() const {
    if (is_text) return text;
    char digits[24];
    std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(number));
    return Text(digits, std::strlen(digits));
}

int64_t PropertyValue::as_number() const {
    if (!is_text) return number;
    return std::strtoll(text.c_str(), nullptr, 10);
}

} // namespace brindor
