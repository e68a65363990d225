#include "runtime/core/number_list.h"

#include "runtime/core/conversions.h"
#include "runtime/core/text_builder.h"
#include "runtime/core/text_ops.h"

namespace brindor {

namespace {

constexpr int kMostDigits = 6;

} // namespace

Text number_list_text(const std::vector<int>& numbers) {
    TextBuilder out;
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) out.append(',');
        const Text number = to_text(numbers[i]);
        out.append(number.c_str(), text_length(number));
    }
    return out.take();
}

bool parse_number_list(TextRef text, int count, std::vector<int>& numbers) {
    numbers.clear();
    const char* p = text.c_str();
    while (static_cast<int>(numbers.size()) < count) {
        if (!numbers.empty() && *p++ != ',') return false;
        const bool negative = *p == '-';
        if (negative) ++p;
        int value = 0, digits = 0;
        for (; *p >= '0' && *p <= '9'; ++p, ++digits) {
            // Checked before the digit is taken: a damaged file's long run must not overflow.
            if (digits == kMostDigits) return false;
            value = value * 10 + (*p - '0');
        }
        if (digits == 0) return false;
        numbers.push_back(negative ? -value : value);
    }
    return *p == '\0';
}

} // namespace brindor
