#include <gtest/gtest.h>

#include <string>

#include "print_text.h"
#include "text/win/code_pages.h"

namespace brindor {
namespace {

Bytes bytes_of(const std::string& s) {
    return Bytes(s.data(), s.size());
}
std::string string_of(const Bytes& b) {
    return std::string(reinterpret_cast<const char*>(b.data()), b.size());
}

// UTF-8 spelled byte by byte: the literals of this file are code page 936.
const std::string kZhongUtf8 = "\xE4\xB8\xAD";        // 中
const std::string kWenUtf8 = "\xE6\x96\x87";          // 文
const std::string kGrinningUtf8 = "\xF0\x9F\x98\x80"; // outside the basic plane, not in code page 936

TEST(CodePages, TextConversions) {
    const struct {
        const char* gbk;
        std::string utf8;
    } cases[] = {
        {"plain ASCII ~!@#", "plain ASCII ~!@#"},
        {"中文", kZhongUtf8 + kWenUtf8},
        {"a中b", "a" + kZhongUtf8 + "b"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GbkTextToUtf8(c.gbk), c.utf8.c_str()) << c.gbk;
        EXPECT_EQ(Utf8TextToGbk(c.utf8.c_str()), c.gbk) << c.gbk;
    }
}

TEST(CodePages, AnswerBodies) {
    EXPECT_TRUE(Utf8BytesToGbk(Bytes()).empty());
    EXPECT_EQ(string_of(Utf8BytesToGbk(bytes_of("queryUrl('" + kZhongUtf8 + "')"))), "queryUrl('中')");
    // Zero bytes inside a body are data, not its end.
    EXPECT_EQ(string_of(Utf8BytesToGbk(bytes_of(std::string("a\0", 2) + kZhongUtf8))),
              std::string("a\0中", 4));
    // A character code page 936 lacks becomes the default character; its neighbours survive.
    std::string mixed = string_of(Utf8BytesToGbk(bytes_of("x" + kGrinningUtf8 + kWenUtf8)));
    ASSERT_GE(mixed.size(), 4u);
    EXPECT_EQ(mixed.front(), 'x');
    EXPECT_EQ(mixed.substr(mixed.size() - 2), "文");
    EXPECT_NE(mixed.find('?'), std::string::npos);
    EXPECT_EQ(string_of(Utf8BytesToGbk(bytes_of("a//x\342\200\250b\342\200\251"))), "a//x\nb\n"); // line ends
}

TEST(CodePages, Utf16Units) {
    EXPECT_EQ(string_of(Utf8BytesToUtf16(bytes_of("A" + kZhongUtf8))), std::string("A\0\x2D\x4E", 4));
    EXPECT_TRUE(Utf8BytesToUtf16(Bytes()).empty());
    EXPECT_EQ(string_of(TextToUtf16("")), std::string("\0\0", 2));
    EXPECT_EQ(string_of(TextToUtf16("中", kCodePageGbk)), std::string("\x2D\x4E\0\0", 4));
    EXPECT_EQ(string_of(TextToUtf16(kZhongUtf8.c_str())), std::string("\x2D\x4E\0\0", 4));
    EXPECT_EQ(Utf16ToText(bytes_of(std::string("\x2D\x4E\0\0", 4)), kCodePageGbk), "中");
    EXPECT_EQ(Utf16ToText(bytes_of(std::string("A\0B\0\0\0C\0", 8))), "AB"); // up to the zero unit
}

// A block without a zero unit, or with an odd byte, is converted as far as it goes.
TEST(CodePages, Utf16WithoutZeroUnitStaysInsideTheBlock) {
    EXPECT_EQ(Utf16ToText(bytes_of(std::string("A\0B\0", 4))), "AB");
    EXPECT_EQ(Utf16ToText(bytes_of(std::string("A\0B", 3))), "A");
    EXPECT_EQ(Utf16ToText(Bytes()), "");
    EXPECT_EQ(Utf16ToText(bytes_of(std::string("\0\0", 2))), "");
}

TEST(CodePages, InvalidUtf8IsQuiet) {
    Text text = Utf8TextToGbk("ok\xC3(\xFF");
    EXPECT_EQ(std::string(text.c_str()).substr(0, 2), "ok");
    EXPECT_NE(std::string(text.c_str()).find('('), std::string::npos);
}

} // namespace
} // namespace brindor
