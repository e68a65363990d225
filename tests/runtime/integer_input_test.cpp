#include <gtest/gtest.h>

#include "runtime/core/integer_input.h"

namespace brindor {
namespace {

TEST(IntegerInput, NormalisedText) {
    const struct {
        const char* typed;
        const char* left;
    } cases[] = {
        {"", ""},
        {"0", ""},
        {"000", ""},
        {"-0", ""},
        {"007", "7"},
        {"-5", "-5"},
        {"+5", "5"},
        {"  42", "42"},
        {"\t-42x9", "-42"},
        {"12-3", "12"},
        {"-", ""},
        {"--4", ""},
        {"2147483647", "2147483647"},
        {"2147483648", "2147483647"},
        {"99999999999", "2147483647"},
        {"-2147483648", "-2147483648"},
        {"-2147483649", "-2147483648"},
        // Beyond 64 bits the value saturates instead of wrapping round to a small or negative one.
        {"9223372036854775808", "2147483647"},
        {"18446744073709551621", "2147483647"},
        {"-9223372036854775809", "-2147483648"},
        {"99999999999999999999999999", "2147483647"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(normalize_integer_text(c.typed), c.left) << c.typed;
}

TEST(IntegerInput, TypedCharacters) {
    for (char c = '0'; c <= '9'; ++c)
        EXPECT_TRUE(integer_input_accepts(static_cast<uint32_t>(c)));
    for (uint32_t c : {0x2Du, 0x08u, 0x0Du, 0x16u, 0x7Fu})
        EXPECT_TRUE(integer_input_accepts(c)) << c;
    for (uint32_t c : {0x61u, 0x5Au, 0x20u, 0x2Bu, 0x2Eu, 0x4E2Du, 0xFF10u})
        EXPECT_FALSE(integer_input_accepts(c)) << c;
}

} // namespace
} // namespace brindor
