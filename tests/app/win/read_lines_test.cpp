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

} // namespace

// The line cases a user meets (blank lines, CR LF, byte-order mark, duplicates) run end to end
// through the file dialog; these are the ones a dialog cannot easily reach.
TEST(ReadLinesToList, KeepsEveryNonEmptyLineAsRead) {
    const std::string a = "magnet:?xt=urn:btih:A", b = "magnet:?xt=urn:btih:B";
    const std::string long_line = "magnet:?xt=urn:btih:" + std::string(5000, 'C');
    struct Case {
        const char* label;
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"no final line end", a + "\n" + b, {a, b}},
        {"spaces around a link kept", " " + a + "\t\n", {" " + a + "\t"}},
        {"only line ends", "\r\n\n\r\n", {}},
        {"GBK text", "\xB4\xC5\xC1\xA6\n", {"\xB4\xC5\xC1\xA6"}},
        {"line longer than a read block", long_line + "\n" + b, {long_line, b}},
        {"end-of-file marks do not hang", a + std::string("\0", 1) + b + "\x1A", {a, b}},
    };
    for (const Case& c : cases) {
        ScratchFile file("brindor_import.txt", c.bytes);
        TextArray list;
        list.append("left over from an earlier import");
        app::ReadLinesToList(file.path(), list);
        EXPECT_EQ(elements(list), c.lines) << c.label;
    }
}

TEST(ReadLinesToList, ReadsAGbkFileNameAndManyLines) {
    std::string bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += "magnet:?xt=urn:btih:" + std::to_string(i) + "\r\n";
    ScratchFile file("\xB4\xC5\xC1\xA6\xC1\xB4\xBD\xD3.txt", bytes);
    TextArray list;
    app::ReadLinesToList(file.path(), list);
    ASSERT_EQ(list.count(), 20000);
    EXPECT_STREQ(list.at(1), "magnet:?xt=urn:btih:0");
    EXPECT_STREQ(list.at(20000), "magnet:?xt=urn:btih:19999");
}
