#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memory_line_source.h"
#include "runtime/core/line_reader.h"

using namespace brindor;
using brindor::testing::expected_lines;
using brindor::testing::MemoryLineSource;

namespace {

// Reads until the source is at its end, with a bound so that a reader that stops advancing fails.
std::vector<std::string> read_all(MemoryLineSource& source) {
    std::vector<std::string> lines;
    for (int guard = 0; !source.at_end(); ++guard) {
        if (guard > 100000) {
            ADD_FAILURE() << "reading does not end";
            break;
        }
        lines.push_back(read_line(source).c_str());
    }
    return lines;
}

std::string repeat(const std::string& piece, int times) {
    std::string s;
    for (int i = 0; i < times; ++i)
        s += piece;
    return s;
}

struct LineCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

} // namespace

TEST(ReadLine, SplitsAtLineEnds) {
    const std::string gbk_a = "\xB0\xA1"; // a two-byte character
    const std::vector<LineCase> cases = {
        {"crlf then last line", "a\r\nb", {"a", "b"}},
        {"lf with final lf", "a\nb\n", {"a", "b"}},
        {"lone cr stays inside", "a\rb\n", {"a\rb"}},
        {"only one cr removed", "a\r\r\n", {"a\r"}},
        {"cr before end of file", "a\r", {"a"}},
        {"empty lines", "\n\r\n\n", {"", "", ""}},
        {"nul ends a line once", std::string("abc\0def", 7), {"abc", "", "def"}},
        {"eof mark", "x\x1Ay\n", {"x", "", "y"}},
        {"stop bytes in a row", std::string("\x1A\0\x1A", 3), {"", "", ""}},
        {"cr before a stop byte", std::string("a\r\0b", 4), {"a", "", "b"}},
        {"600-byte line", repeat("0123456789", 60) + "\r\nnext", {repeat("0123456789", 60), "next"}},
        {"two-byte characters across the block edge",
         std::string(511, 'x') + repeat(gbk_a, 4) + "\n",
         {std::string(511, 'x') + repeat(gbk_a, 4)}},
        {"lf exactly at the block end", std::string(511, 'y') + "\nz", {std::string(511, 'y'), "z"}},
        {"cr and lf split by the block edge", std::string(511, 'q') + "\r\nz", {std::string(511, 'q'), "z"}},
        {"line of many blocks", repeat(gbk_a, 2600) + "\nend", {repeat(gbk_a, 2600), "end"}},
    };
    for (const LineCase& c : cases) {
        for (int largest_read : {kLineBlockSize, 7, 1}) {
            MemoryLineSource source(c.bytes, largest_read);
            EXPECT_EQ(read_all(source), c.lines) << c.name << ", reads of at most " << largest_read;
            EXPECT_EQ(c.lines, expected_lines(c.bytes)) << c.name;
        }
    }
}

TEST(ReadLine, LeavesThePositionAfterLineFeedOrOnStopByte) {
    MemoryLineSource source(std::string("ab\ncd\0ef", 8));
    EXPECT_EQ(read_line(source), "ab");
    EXPECT_EQ(source.position(), 3u);
    EXPECT_EQ(read_line(source), "cd");
    EXPECT_EQ(source.position(), 5u); // on the NUL
    EXPECT_EQ(read_line(source), "");
    EXPECT_EQ(source.position(), 6u);
}

TEST(ReadLine, AtTheEndGivesEmptyTextAndStays) {
    MemoryLineSource source("a");
    EXPECT_EQ(read_line(source), "a");
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(read_line(source).empty());
        EXPECT_EQ(source.position(), 1u);
    }
}

TEST(ReadLine, ReadsInBlocksNotBytes) {
    MemoryLineSource source(std::string(2000, 'k') + "\n");
    EXPECT_EQ(read_line(source).length(), 2000u);
    EXPECT_LE(source.reads(), 4);
}

TEST(ReadLine, ReadErrorMovesToTheEndWithEmptyText) {
    for (int failing_read : {1, 2, 3}) {
        MemoryLineSource source(std::string(1500, 'e') + "\nafter");
        source.fail_from_read(failing_read);
        EXPECT_TRUE(read_line(source).empty()) << "failing read " << failing_read;
        EXPECT_TRUE(source.at_end());
    }
}
