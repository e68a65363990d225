// Number operations. Call round as brindor::round: <cmath> declares a global round as well.
#pragma once
#include <concepts>

namespace brindor {

// Half away from zero at 10^-places, after a nudge of 1e-12 on the scaled magnitude, so that
// -1.005 to 2 places gives -1.01. 0 is returned as is.
double round(double value, int places = 0);
// The quotient truncated toward zero; a zero divisor is the fatal "不能整除于零".
double int_divide(double dividend, double divisor);
// The remainder carrying the dividend's sign; a zero divisor is the fatal "不能求余数于零".
double modulo(double dividend, double divisor);

// Bitwise OR of all arguments.
template <std::convertible_to<int>... More> constexpr int bit_or(int first, int second, More... more) {
    return ((first | second) | ... | static_cast<int>(more));
}

} // namespace brindor
