#include "runtime/core/numbers.h"

#include <algorithm>
#include <cmath>

#include "runtime/core/runtime_error.h"

namespace brindor {

namespace {

// Exact for the powers a double holds exactly (up to 1e22), so both builds agree.
double power_of_ten(int exponent) {
    if (exponent > 22) return std::pow(10.0, exponent);
    double result = 1;
    for (int i = 0; i < exponent; ++i)
        result *= 10;
    return result;
}

double round_half_up(double magnitude) {
    double whole;
    double fraction = std::modf(magnitude + 1e-12, &whole);
    return fraction >= 0.5 ? whole + 1 : whole;
}

} // namespace

double round(double value, int places) {
    if (value == 0) return value;
    places = std::clamp(places, -400, 400); // beyond, every scale overflows alike
    double magnitude = std::fabs(value);
    double rounded;
    if (places > 0) {
        double scale = power_of_ten(places);
        // At such a scale no fraction is left to round; scaling would only lose the value.
        if (std::isinf(scale) || magnitude * scale >= 4503599627370496.0) return value;
        rounded = round_half_up(magnitude * scale) / scale;
    } else if (places < 0) {
        double scale = power_of_ten(-places);
        rounded = std::isinf(scale) ? 0 : round_half_up(magnitude / scale) * scale;
    } else {
        rounded = round_half_up(magnitude);
    }
    return value < 0 ? -rounded : rounded;
}

double int_divide(double dividend, double divisor) {
    if (divisor == 0) report_runtime_error_text("不能整除于零");
    return std::trunc(dividend / divisor);
}

double modulo(double dividend, double divisor) {
    if (divisor == 0) report_runtime_error_text("不能求余数于零");
    // fmod is the exact dividend - trunc(dividend / divisor) * divisor; the literal formula
    // loses the remainder entirely once the quotient passes 2^53.
    return std::fmod(dividend, divisor);
}

} // namespace brindor
