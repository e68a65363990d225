#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/core/memory.h"
#include "runtime/core/text_ops.h"
#include "text_array_members.h"

using namespace brindor;

namespace {

// GBK bytes: 0xB0 0xA1 is one character, 0xA1 0xA1 the full-width space.
const char kTwoChars[] = "\xB0\xA1\xA1\xB0";

} // namespace

TEST(TextOps, FindStepsOverTwoByteCharacters) {
    struct Case {
        const char* text;
        const char* sought;
        int start;
        bool ignore_case;
        int expected;
    } cases[] = {
        {"abcabc", "c", 1, false, 3},
        {"abcabc", "c", 4, false, 6},
        {"abcabc", "c", 7, false, -1},
        {"abcabc", "c", -5, false, 3},
        {"abcabc", "", 1, false, 1},
        {"abcabc", "", 6, false, 1},
        {"abcabc", "", 7, false, -1},
        {"", "", 1, false, -1},
        {"", "a", 1, false, -1},
        {"abc", "abcd", 1, false, -1},
        {"xABcAbc", "abc", 1, true, 2},
        {"xABcAbc", "abc", 3, true, 5},
        {"xABcAbc", "abc", 1, false, -1},
        {kTwoChars, "\xA1\xA1", 1, false, -1},
        {kTwoChars, "\xA1", 1, false, 3},
        {kTwoChars, "\xA1\xB0", 3, false, 3}, // a start inside a character begins a character there
        {"\xB0\x41"
         "A",
         "A", 1, false, 3}, // the second byte looks like a letter
        {"\xB0\x61"
         "a",
         "A", 1, true, 3},
        {"a\xB0\xA1\xB0\xA1"
         "b",
         "\xB0\xA1"
         "b",
         1, false, 4},
        {"x\xB0", "\xB0", 1, false, 2}, // a lone lead byte at the end still starts a character
    };
    for (const Case& c : cases)
        EXPECT_EQ(find_text(c.text, c.sought, c.start, c.ignore_case), c.expected)
            << '"' << c.text << "\" / \"" << c.sought << "\" from " << c.start;
}

TEST(TextOps, LongSoughtTextsUseTheSameBoundaries) {
    std::string sought(40, 'q');
    std::string text = std::string(100, 'q') + "x" + sought;
    EXPECT_EQ(find_text(text.c_str(), sought.c_str()), 1);
    EXPECT_EQ(find_text(text.c_str(), sought.c_str(), 60), 60);
    EXPECT_EQ(find_text(text.c_str(), sought.c_str(), 62), 102);
    std::string wide = "\xB0" + std::string(40, '\xA1'); // lead bytes pair up from the start
    std::string pairs(40, '\xA1');
    EXPECT_EQ(find_text(wide.c_str(), pairs.c_str()), -1);
    EXPECT_EQ(find_text(("\xB0\xB0" + pairs).c_str(), pairs.c_str()), 3);
}

TEST(TextOps, ReverseFindKeepsTheLastMatchInsideTheRange) {
    struct Case {
        const char* text;
        const char* sought;
        int start;
        int expected;
    } cases[] = {
        {"a:b:c", ":", kWholeText, 4},
        {"a:b:c", ":", 1, -1},
        {"a:b:c", ":", 4, 2},  // range a:b
        {"a:b:c", ":", 5, 4},  // range a:b: holds the second colon wholly
        {"a:b:c", ":", 99, 4}, // beyond the end: the whole text
        {"a:b:c", ":", 0, -1},
        {"a:b:c", "", 2, 1},
        {"a:b:c", "", 1, -1},
        {"aaaa", "aa", kWholeText, 3},
        {"abab", "ab", 4, 1}, // the second ab does not lie wholly inside aba
        {kTwoChars, "\xA1\xA1", kWholeText, -1},
        {"\xB0\xA1\xB0\xA1", "\xB0\xA1", kWholeText, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(find_text_reverse(c.text, c.sought, c.start), c.expected)
            << '"' << c.text << "\" / \"" << c.sought << "\" before " << c.start;
    EXPECT_EQ(find_text_reverse("A/b/C", "c", kWholeText, true), 5);
}

TEST(TextOps, SplitCutsAtEveryDelimiter) {
    struct Case {
        const char* text;
        const char* delimiter;
        int maximum;
        std::vector<std::string> expected;
    } cases[] = {
        {"a,b,", ",", kNoLimit, {"a", "b"}},
        {",a", ",", kNoLimit, {"", "a"}},
        {"a,,b", ",", kNoLimit, {"a", "", "b"}},
        {"", ",", kNoLimit, {}},
        {"a,b,c", ",", 2, {"a", "b"}},
        {"a,b,c", ",", 0, {}},
        {"a,b,c", ",", -3, {}},
        {"a,b,c", "", kNoLimit, {"a,b,c"}},
        {",", ",", kNoLimit, {""}},
        {"a,b", ",", 1, {"a"}},
        {"k=v; k2=v2", "; ", kNoLimit, {"k=v", "k2=v2"}},
        {"\xB0,a,x", ",", kNoLimit, {"\xB0,a", "x"}}, // a comma as second byte is no delimiter
        {"a\r\nb\r\n", "\r\n", kNoLimit, {"a", "b"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(members(split_text(c.text, c.delimiter, c.maximum)), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(members(split_text("x,y")), (std::vector<std::string>{"x", "y"}));
}

TEST(TextOps, ReplaceCopiesWhatItDoesNotReplace) {
    struct Case {
        const char* text;
        const char* sought;
        const char* replacement;
        int start;
        int count;
        bool case_sensitive;
        const char* expected;
    } cases[] = {
        {"'x','y'", "'", "", 1, kNoLimit, true, "x,y"},
        {"", "'", "", 1, kNoLimit, true, ""},
        {"a-a-a", "a", "b", 1, 1, true, "b-a-a"},
        {"a-a-a", "a", "b", 1, 0, true, "a-a-a"},
        {"a-a-a", "a", "b", 1, -1, true, "b-b-b"},
        {"a-a-a", "a", "b", 2, kNoLimit, true, "a-b-b"},
        {"a-a-a", "a", "b", 6, kNoLimit, true, "a-a-a"},
        {"a-a-a", "", "b", 1, kNoLimit, true, "a-a-a"},
        {"aaa", "aa", "b", 1, kNoLimit, true, "ba"},
        {"Aa", "a", "x", 1, kNoLimit, false, "xx"},
        {"Aa", "a", "x", 1, kNoLimit, true, "Ax"},
        {kTwoChars, "\xA1\xA1", "!", 1, kNoLimit, true, kTwoChars},
        {"ab", "b", "long replacement", 1, kNoLimit, true, "along replacement"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(replace_text(c.text, c.sought, c.replacement, c.start, c.count, c.case_sensitive),
                  c.expected)
            << '"' << c.text << '"';
    EXPECT_EQ(replace_text("AbAB", "ab"), ""); // defaults: remove, any case
}

TEST(TextOps, TrimRemovesOnlySpaces) {
    struct Case {
        const char* text;
        const char* expected;
    } cases[] = {
        {"  ab c \t", "ab c \t"},
        {"\xA1\xA1"
         "ab"
         "\xA1\xA1",
         "ab"},
        {" \xA1\xA1 x \xA1\xA1 ", "x"},
        {"   ", ""},
        {"", ""},
        {"\r\nx\r\n", "\r\nx\r\n"},
        {"ab\xB0", "ab"}, // a lone lead byte at the end is dropped
        {"ab  \xB0", "ab"},
        {kTwoChars, kTwoChars},             // its middle 0xA1 0xA1 straddles two characters
        {"\xB0\xA1\xA1 ", "\xB0\xA1\xA1 "}, // the space is the second byte of 0xA1 0x20
        {"\xB0\xA1\xA1\xA1", "\xB0\xA1"},
        {"x\xA1\xA1\xA1", "x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(trim(c.text), c.expected) << '"' << c.text << '"';
}

TEST(TextOps, RemoveAllSpacesAndLowerCaseKeepCharactersWhole) {
    EXPECT_EQ(remove_all_spaces(" a b\xA1\xA1"
                                "c\t "),
              "abc\t");
    EXPECT_EQ(remove_all_spaces("\xB0\xA1\xA1\xB0"), "\xB0\xA1\xA1\xB0");
    EXPECT_EQ(remove_all_spaces("   "), "");
    EXPECT_EQ(to_lower("ABC xyz \xB0\x41Q"), "abc xyz \xB0\x41q");
    EXPECT_EQ(to_lower(""), "");
}

TEST(TextOps, PiecesAreClippedToTheText) {
    EXPECT_EQ(mid_text("hello", 2, 3), "ell");
    EXPECT_EQ(mid_text("hello", 6, 1), "");
    EXPECT_EQ(mid_text("hello", 4, 99), "lo");
    EXPECT_EQ(mid_text("hello", 0, 2), "");
    EXPECT_EQ(mid_text("hello", 1, 0), "");
    EXPECT_EQ(left_text("hello", 0), "");
    EXPECT_EQ(left_text("hello", 2), "he");
    EXPECT_EQ(left_text("hello", -1), "");
    EXPECT_EQ(right_text("hello", 9), "hello");
    EXPECT_EQ(right_text("hello", 2), "lo");
    EXPECT_EQ(right_text("hello", 0), "");
    EXPECT_EQ(text_length("\xB0\xA1x"), 3);
    EXPECT_EQ(text_length(nullptr), 0);
    EXPECT_TRUE(left_text("hello", 0).empty());
}

TEST(TextOps, SmallBuildersAndComparison) {
    EXPECT_EQ(blank_text(3), "   ");
    EXPECT_TRUE(blank_text(0).empty());
    EXPECT_EQ(char_text('A'), "A");
    EXPECT_EQ(char_text(0x141), "A");
    EXPECT_TRUE(char_text(0).empty());
    EXPECT_EQ(compare_text("a", "b"), -1);
    EXPECT_EQ(compare_text("b", "a"), 1);
    EXPECT_EQ(compare_text("", nullptr), 0);
    EXPECT_EQ(compare_text("\xB0", "a"), 1); // unsigned bytes
    EXPECT_EQ(compare_text("ab", "a"), 1);
    EXPECT_EQ(concat_text({"a", "", "bc", nullptr, Text("d")}), "abcd");
    char* empty = concat_text("", "").detach();
    EXPECT_NE(empty, nullptr); // a fresh block even when empty
    release(empty);
}

// Well beyond what the program meets; a quadratic step here would take minutes.
TEST(TextOps, LargeTextsStayLinear) {
    const int kLines = 200000;
    std::string big;
    for (int i = 0; i < kLines; ++i)
        big += "magnet:?xt=urn:btih:\xB0\xA1\xB0\xA1,";
    EXPECT_EQ(split_text(big.c_str()).count(), kLines);
    Text replaced = replace_text(big.c_str(), ",", "\r\n", 1, kNoLimit, true);
    EXPECT_EQ(replaced.length(), big.size() + kLines);
    EXPECT_EQ(find_text_reverse(big.c_str(), "magnet"), static_cast<int>(big.size()) - 24);
    EXPECT_EQ(find_text(big.c_str(), "\xA1\xB0"), -1);
}
