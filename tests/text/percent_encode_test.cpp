#include <gtest/gtest.h>

#include "print_text.h"
#include "text/percent_encode.h"

namespace brindor {
namespace {

TEST(PercentEncode, Texts) {
    const struct {
        const char* text;
        bool keep_unreserved;
        const char* expected;
    } cases[] = {
        {"a b/中.txt_~", true, "a%20b%2F%D6%D0.txt%5F%7E"},
        {"a\n", false, "%61%0A"},
        {"Az09-.", false, "%41%7A%30%39%2D%2E"},
        {"", true, ""},
        {"", false, ""},
        {"x+y*z", true, "x%2By%2Az"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PercentEncode(c.text, c.keep_unreserved), c.expected) << c.text;
}

// The kept set is "-", ".", the digits and the ASCII letters; its neighbours are all encoded.
TEST(PercentEncode, KeptSetBoundaries) {
    const struct {
        unsigned char byte;
        const char* expected;
    } cases[] = {
        {0x01, "%01"}, {0x2C, "%2C"}, {0x2D, "-"},   {0x2E, "."},   {0x2F, "%2F"}, {0x30, "0"},   {0x39, "9"},
        {0x3A, "%3A"}, {0x40, "%40"}, {0x41, "A"},   {0x5A, "Z"},   {0x5B, "%5B"}, {0x60, "%60"}, {0x61, "a"},
        {0x7A, "z"},   {0x7B, "%7B"}, {0x7F, "%7F"}, {0x80, "%80"}, {0xFF, "%FF"},
    };
    for (const auto& c : cases) {
        const char text[2] = {static_cast<char>(c.byte), '\0'};
        EXPECT_EQ(PercentEncode(text, true), c.expected) << int(c.byte);
    }
}

} // namespace
} // namespace brindor
