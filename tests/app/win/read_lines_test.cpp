#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/import/win/read_lines_to_list.h"
#include "scratch_file.h"

using namespace brindor;
using brindor::testing::ScratchFile;

namespace {

std::vector<std::string> elements(const TextArray& list) {
    std::vector<std::string> out;
    for (int i = 1; i <= list.count(); ++i)
        out.push_back(list.at(i));
    return out;
}

std::string utf16le(const std::u16string& text) {
    std::string out;
    for (char16_t unit : text) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    }
    return out;
}

std::string swapped(std::string units) {
    for (size_t i = 0; i + 1 < units.size(); i += 2)
        std::swap(units[i], units[i + 1]);
    return units;
}

} // namespace

// The line cases a user meets (blank lines, CR LF, byte order marks, duplicates) run end to end
// through the file dialog; these are the ones a dialog cannot easily reach.
TEST(ReadLinesToList, KeepsEveryNonEmptyLineAsRead) {
    const std::string a = "magnet:?xt=urn:btih:A", b = "magnet:?xt=urn:btih:B";
    const std::u16string a16 = u"magnet:?xt=urn:btih:A", b16 = u"magnet:?xt=urn:btih:B";
    const std::string long_line = "magnet:?xt=urn:btih:" + std::string(5000, 'C');
    struct Case {
        const char* label;
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"no final line end", a + "\n" + b, {a, b}},
        {"spaces and tabs around a link dropped", " " + a + "\t\r\n \t\n" + b, {a, b}},
        {"only line ends", "\r\n\n\r\n", {}},
        {"GBK text", "\xB4\xC5\xC1\xA6\n", {"\xB4\xC5\xC1\xA6"}},
        {"line longer than a read block", long_line + "\n" + b, {long_line, b}},
        {"end-of-file marks do not hang", a + std::string("\0", 1) + b + "\x1A", {a, b}},
        {"UTF-8 mark dropped, text in GBK",
         "\xEF\xBB\xBF" + a + "\r\n\xE7\xA3\x81\xE5\x8A\x9B\n",
         {a, "\xB4\xC5\xC1\xA6"}},
        {"UTF-16 LE: no GBK equivalent is ?",
         utf16le(u"\uFEFF" + a16 + u"\r\n \u78C1\u0E01\t\n\n"),
         {a, "\xB4\xC5?"}},
        {"UTF-16 BE", swapped(utf16le(u"\uFEFF" + a16 + u"\n" + b16)), {a, b}},
        {"UTF-16 zero unit ends a line", utf16le(u"\uFEFF" + a16 + std::u16string(1, u'\0') + b16), {a, b}},
        {"mark only", "\xFF\xFE", {}},
        {"odd byte at the end of UTF-16 dropped", utf16le(u"\uFEFF" + a16) + "\n", {a}},
    };
    for (const Case& c : cases) {
        ScratchFile file("brindor_import.txt", c.bytes);
        TextArray list;
        list.append("left over from an earlier import");
        app::ReadLinesToList(file.name(), list);
        EXPECT_EQ(elements(list), c.lines) << c.label;
    }
}

TEST(ReadLinesToList, ReadsAGbkFileNameAndManyLines) {
    std::string bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += "magnet:?xt=urn:btih:" + std::to_string(i) + "\r\n";
    ScratchFile file("\xB4\xC5\xC1\xA6\xC1\xB4\xBD\xD3.txt", bytes);
    TextArray list;
    app::ReadLinesToList(file.name(), list);
    ASSERT_EQ(list.count(), 20000);
    EXPECT_STREQ(list.at(1), "magnet:?xt=urn:btih:0");
    EXPECT_STREQ(list.at(20000), "magnet:?xt=urn:btih:19999");
}
