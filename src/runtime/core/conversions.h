// Conversions between value records of the basic types, text, numbers and byte sets.
#pragma once
#include <cstdint>

#include "runtime/core/bytes.h"
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"
#include "runtime/core/value.h"

namespace brindor {

// Integers in decimal, a double as "%.13g" and a float as "%.6g" (exponent with a sign and
// three digits: 1.5e+015), booleans as "真"/"假", texts copied, a byte set up to its first zero
// byte. Other types (date-time, routines, objects, omitted) give empty text.
Text to_text(const Value& value);
inline Text to_text(int32_t value) {
    return to_text(Value::integer(value));
}
inline Text to_text(double value) {
    return to_text(Value::real(value));
}

// Text: full-width forms folded, then leading white space, sign and decimal digits (0 if none;
// saturates at the 32-bit range). Doubles and floats truncate toward zero (outside the 32-bit
// range: the low 32 bits of the 64-bit truncation). Booleans and integers give their value.
int32_t to_integer(const Value& value);
inline int32_t to_integer(TextRef text) {
    return to_integer(Value::text(text.c_str()));
}

// Text: full-width forms folded, then a decimal number with optional sign, point and exponent
// (0 if none). Numbers and booleans convert numerically; other types give 0.
double to_double(const Value& value);
inline double to_double(TextRef text) {
    return to_double(Value::text(text.c_str()));
}

// Text: its bytes without the NUL. Numbers: little-endian bytes in their type's width. A byte
// set is copied. Other types give an empty byte set.
Bytes to_bytes(const Value& value);
inline Bytes to_bytes(TextRef text) {
    return to_bytes(Value::text(text.c_str()));
}

// Upper-case hexadecimal of the value taken as unsigned, no leading zeros: -1 gives FFFFFFFF.
Text to_hex_text(int32_t value);

// Full-width ASCII forms (0xA3 0xA1..0xFE, the full-width space, tilde and asterisk) as ASCII.
Text fold_full_width(TextRef text);

} // namespace brindor
