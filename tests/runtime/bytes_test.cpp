#include <gtest/gtest.h>

#include <string>

#include "runtime/core/byte_ops.h"
#include "runtime/core/file_name.h"

using namespace brindor;

TEST(ByteOps, LengthsBlanksAndLeftParts) {
    EXPECT_EQ(bytes_length(Bytes()), 0);
    EXPECT_EQ(bytes_length(Bytes("a\0b", 3)), 3);
    Bytes blank = blank_bytes(1024);
    ASSERT_EQ(blank.size(), 1024u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(blank.data()), 1024), std::string(1024, '\0'));
    EXPECT_TRUE(blank_bytes(0).empty());
    EXPECT_TRUE(blank_bytes(-1).empty());
    Bytes source("abc", 3);
    EXPECT_EQ(left_bytes(source, 2).size(), 2u);
    EXPECT_EQ(left_bytes(source, 9).size(), 3u);
    EXPECT_TRUE(left_bytes(source, -1).empty());
    EXPECT_TRUE(left_bytes(source, 0).empty());
}

TEST(ByteOps, FindMatchesBytesAnywhere) {
    Bytes hay("\xB0\xA1\xA1\0x\0", 6);
    struct Case {
        Bytes sought;
        int start;
        int expected;
    } cases[] = {
        {Bytes("\xA1\xA1", 2), 1, 2}, // no character stepping in byte sets
        {Bytes("\0", 1), 1, 4},       {Bytes("\0", 1), 5, 6}, {Bytes("\0", 1), 7, -1},
        {Bytes("\0", 1), -2, 4},      {Bytes(), 1, -1},       {Bytes("x\0y", 3), 1, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(find_bytes(hay, c.sought, c.start), c.expected) << c.start;
    EXPECT_EQ(find_bytes(Bytes(), Bytes("a", 1)), -1);
}

TEST(FileName, ExtensionIsTheLastDotOfTheLastElementInAnyCase) {
    const struct {
        std::u16string name;
        bool txt;
    } cases[] = {
        {u"C:\\한글\\links.txt", true},
        {u"LINKS.TXT", true},
        {u"a.Txt", true},
        {u"links.txt.csv", false},
        {u"links.txtx", false},
        {u"links.tx", false},
        {u"dir.txt\\links", false},
        {u"dir.txt/links", false},
        {u"links", false},
        {u"", false},
        {u"links.txt\U0001F600", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileName(c.name.data(), c.name.size()).has_extension("txt"), c.txt)
            << std::string(c.name.begin(), c.name.end());
    const std::u16string wide = u"C:\\한글\\a.txt";
    const FileName name(wide.data(), wide.size());
    EXPECT_EQ(std::u16string(name.units()), wide);
    EXPECT_TRUE(FileName(wide.data(), wide.size()).contains(".TXT"));
    EXPECT_FALSE(FileName(wide.data(), 8).contains(".txt"));
    EXPECT_TRUE(FileName().empty());
    EXPECT_EQ(FileName().units()[0], u'\0');
}
