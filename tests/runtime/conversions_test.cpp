#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "runtime/core/conversions.h"
#include "runtime/core/number_format.h"
#include "runtime/core/number_list.h"

using namespace brindor;

TEST(Conversions, DoublesPrintWithThirteenSignificantDigits) {
    struct Case {
        double value;
        const char* expected;
    } cases[] = {
        {100.0, "100"},
        {0.1 + 0.2, "0.3"},
        {0.5, "0.5"},
        {33.33, "33.33"},
        {12.350000000000001, "12.35"},
        {-2.5, "-2.5"},
        {0.0, "0"},
        {-0.0, "0"},
        {1.5e15, "1.5e+015"},
        {1e13, "1e+013"},
        {9999999999999.0, "9999999999999"},
        {99999999999999.0, "1e+014"}, // rounding to 13 digits carries into the exponent
        {0.0001, "0.0001"},
        {0.00001234, "1.234e-005"},
        {-1e-300, "-1e-300"},
        {1.7976931348623157e308, "1.797693134862e+308"},
        {5e-324, "4.940656458412e-324"},
        {123456.789, "123456.789"},
        {1234567890123.4, "1234567890123"},
        {2.0 / 3.0, "0.6666666666667"},
        {std::numeric_limits<double>::infinity(), "inf"},
        {-std::numeric_limits<double>::infinity(), "-inf"},
        {std::nan(""), "nan"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(to_text(c.value), c.expected) << c.expected;
}

TEST(Conversions, EveryBasicTypeHasItsText) {
    struct Case {
        Value value;
        const char* expected;
    } cases[] = {
        {Value::integer(-42), "-42"},
        {Value::integer(INT32_MIN), "-2147483648"},
        {Value::short_integer(-7), "-7"},
        {Value::byte(200), "200"},
        {Value::long_integer(-5000000000LL), "-5000000000"},
        {Value::single(0.1f), "0.1"},
        {Value::single(1234567.0f), "1.23457e+006"},
        {Value::single(3.0f), "3"},
        {Value::boolean(true), "真"},
        {Value::boolean(false), "假"},
        {Value::text("copy"), "copy"},
        {Value::text(nullptr), ""},
        {Value(), ""},
        {{0, 0, kTypeDateTime}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(to_text(c.value), c.expected) << c.expected;
    EXPECT_EQ(to_text(7), "7");
}

TEST(Conversions, ByteSetsAsTextStopAtTheFirstZero) {
    Bytes with_zero("ab\0cd", 5);
    EXPECT_EQ(to_text(Value::bytes(with_zero.block())), "ab");
    Bytes plain("xyz", 3);
    EXPECT_EQ(to_text(Value::bytes(plain.block())), "xyz");
    EXPECT_EQ(to_text(Value::bytes(nullptr)), "");
}

TEST(Conversions, IntegersFromTextsAndNumbers) {
    struct Case {
        Value value;
        int32_t expected;
    } cases[] = {
        {Value::text("  42abc"), 42},
        {Value::text("\t-17"), -17},
        {Value::text("+8"), 8},
        {Value::text("-2.9"), -2},
        {Value::text("x1"), 0},
        {Value::text(""), 0},
        {Value::text("\xA3\xB1\xA3\xB2"), 12}, // full-width 1 2
        {Value::text("\xA1\xA1\xA3\xAD\xA3\xB3"), -3},
        {Value::text("99999999999"), INT32_MAX},
        {Value::text("-99999999999"), INT32_MIN},
        {Value::real(-2.9), -2},
        {Value::real(2.9), 2},
        {Value::real(4294967297.0), 1}, // low 32 bits
        {Value::real(1e30), 0},
        {Value::real(std::nan("")), 0},
        {Value::single(-7.5f), -7},
        {Value::boolean(true), 1},
        {Value::byte(255), 255},
        {Value::short_integer(-3), -3},
        {Value::long_integer(0x100000005LL), 5},
        {Value(), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(to_integer(c.value), c.expected) << c.expected;
    EXPECT_EQ(to_integer("12"), 12);
}

TEST(Conversions, DoublesFromTextsAndNumbers) {
    struct Case {
        Value value;
        double expected;
    } cases[] = {
        {Value::text("\xA3\xB1\xA3\xB2"), 12},
        {Value::text("  3.25kb"), 3.25},
        {Value::text("-1.5e3x"), -1500},
        {Value::text("1e"), 1},
        {Value::text(".5"), 0.5},
        {Value::text("5."), 5},
        {Value::text("."), 0},
        {Value::text("0x10"), 0},
        {Value::text("inf"), 0},
        {Value::text("\xA3\xB2\xA3\xAE\xA3\xB5"), 2.5}, // full-width 2.5
        {Value::text("\xA1\xA1"
                     "7"),
         7},
        {Value::integer(-3), -3},
        {Value::long_integer(1LL << 40), 1099511627776.0},
        {Value::single(0.5f), 0.5},
        {Value::boolean(true), 1},
        {Value::byte(9), 9},
        {Value(), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(to_double(c.value), c.expected) << c.expected;
}

TEST(Conversions, FullWidthFolding) {
    EXPECT_EQ(fold_full_width("\xA3\xC1\xA1\xAB\xA1\xEE\xA1\xEF\xB0\xA1z"), "A~**\xB0\xA1z");
    EXPECT_EQ(fold_full_width("x\xA3"), "x\xA3");
}

TEST(Conversions, BytesAndHex) {
    auto bytes_of = [](const Bytes& b) {
        return std::string(reinterpret_cast<const char*>(b.data()), b.size());
    };
    EXPECT_EQ(bytes_of(to_bytes("ab")), "ab");
    EXPECT_TRUE(to_bytes("").empty());
    EXPECT_EQ(bytes_of(to_bytes(Value::integer(0x04030201))), std::string("\x01\x02\x03\x04", 4));
    EXPECT_EQ(bytes_of(to_bytes(Value::short_integer(-2))), std::string("\xFE\xFF", 2));
    EXPECT_EQ(bytes_of(to_bytes(Value::byte(7))), std::string("\x07", 1));
    EXPECT_EQ(to_bytes(Value::real(1.0)).size(), 8u);
    EXPECT_EQ(bytes_of(to_bytes(Value::long_integer(1))), std::string("\x01\0\0\0\0\0\0\0", 8));
    Bytes source("a\0b", 3);
    EXPECT_EQ(bytes_of(to_bytes(Value::bytes(source.block()))), std::string("a\0b", 3));
    EXPECT_TRUE(to_bytes(Value()).empty());

    EXPECT_EQ(to_hex_text(7), "7");
    EXPECT_EQ(to_hex_text(10), "A");
    EXPECT_EQ(to_hex_text(255), "FF");
    EXPECT_EQ(to_hex_text(-1), "FFFFFFFF");
    EXPECT_EQ(to_hex_text(0), "0");
}

TEST(NumberList, KeepsOnlyExactlyTheCountOfPlainNumbers) {
    EXPECT_STREQ(number_list_text({0, 1, -120, 250}).c_str(), "0,1,-120,250");
    std::vector<int> numbers;
    EXPECT_TRUE(parse_number_list("0,1,-120,250", 4, numbers));
    EXPECT_EQ(numbers, (std::vector<int>{0, 1, -120, 250}));
    for (const char* refused :
         {"", "1,2,3", "1,2,3,4,5", "1,,3,4", "1,2,3,4,", " 1,2,3,4", "1,2,3,4x", "1,2,3,+4", "1,2,3,1234567",
          "-,1,2,3", "\xFF\xFE", "1,2,3,-99999999999999999999"})
        EXPECT_FALSE(parse_number_list(refused, 4, numbers)) << refused;
}
