// printf-style "%.<precision>g" formatting with its own digits, so that every build gives the
// same text: exponent form with a sign and at least three digits ("1.5e+015").
#pragma once
#include <cstddef>

namespace brindor {

// Longest result of format_general, NUL included.
constexpr size_t kFormattedNumberCapacity = 32;

// Writes the NUL-terminated text into out and returns its length. precision is 1..17.
// Negative zero gives "0"; infinities and NaN give "inf", "-inf" and "nan".
size_t format_general(double value, int precision, char (&out)[kFormattedNumberCapacity]);

} // namespace brindor
