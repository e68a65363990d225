#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "runtime/win/file_ops.h"
#include "scratch_file.h"

using namespace brindor;
using brindor::testing::ScratchFile;

namespace {

std::vector<std::string> read_to_end(int file) {
    std::vector<std::string> lines;
    for (int guard = 0; !at_end_of_file(file) && guard < 10000; ++guard)
        lines.push_back(read_line(file).c_str());
    return lines;
}

} // namespace

TEST(ReadLine, FromDiskFiles) {
    const std::string gbk_word = "\xB4\xC5\xC1\xA6"; // two two-byte characters
    std::string across_block = std::string(509, 'm');
    for (int i = 0; i < 4; ++i)
        across_block += gbk_word;
    const std::string long_line(600, 'L');
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"crlf", "a\r\nb", {"a", "b"}},
        {"lf", "one\ntwo\n", {"one", "two"}},
        {"lone cr kept", "x\ry\r\nz", {"x\ry", "z"}},
        {"nul and eof mark",
         std::string("a\0b\x1A"
                     "c",
                     5),
         {"a", "", "b", "", "c"}},
        {"two-byte characters across 512", across_block + "\r\nnext", {across_block, "next"}},
        {"600-byte line", long_line + "\n" + long_line, {long_line, long_line}},
        {"CR LF across the read-ahead edge",
         std::string(65535, 'r') + "\r\nz",
         {std::string(65535, 'r'), "z"}},
        {"eof mark on the read-ahead edge",
         std::string(65535, 'e') + "\n\x1A"
                                   "f",
         {std::string(65535, 'e'), "", "f"}},
    };
    for (const Case& c : cases) {
        ScratchFile scratch("brindor_lines.txt", c.bytes);
        int file = open_file(scratch.path(), kFileRead, kShareExclusive);
        ASSERT_NE(file, 0) << c.name;
        EXPECT_EQ(read_to_end(file), c.lines) << c.name;
        EXPECT_TRUE(at_end_of_file(file)) << c.name;
        EXPECT_TRUE(read_line(file).empty()) << c.name;
        close_file(file);
    }
}

TEST(ReadLine, SeekBeginRereadsAndEofMarkCanEndTheFile) {
    ScratchFile scratch("brindor_seek.txt", std::string("first\nsecond\x1Atail", 18));
    int file = open_file(scratch.path(), kFileRead);
    ASSERT_NE(file, 0);
    EXPECT_EQ(read_line(file), "first");
    EXPECT_FALSE(at_end_of_file(file, true));
    EXPECT_EQ(read_line(file), "second");
    EXPECT_FALSE(at_end_of_file(file));
    EXPECT_TRUE(at_end_of_file(file, true)); // on the 0x1A, which the peek leaves in place
    EXPECT_EQ(read_line(file), "");
    EXPECT_EQ(read_line(file), "tail");
    EXPECT_TRUE(seek_begin(file));
    EXPECT_EQ(read_line(file), "first");
    close_file(file);
}

TEST(OpenFile, RefusesBadArgumentsAndMissingFiles) {
    ScratchFile scratch("brindor_args.txt", "x");
    EXPECT_EQ(open_file("", kFileRead), 0);
    EXPECT_EQ(open_file(nullptr, kFileRead), 0);
    EXPECT_EQ(open_file(scratch.path(), 0), 0);
    EXPECT_EQ(open_file(scratch.path(), 7), 0);
    EXPECT_EQ(open_file(scratch.path(), kFileRead, 0), 0);
    EXPECT_EQ(open_file(scratch.path(), kFileRead, 5), 0);
    ScratchFile missing("brindor_missing.txt");
    DeleteFileW(missing.wide_path().c_str());
    for (int mode : {kFileRead, kFileWrite, kFileReadWrite})
        EXPECT_EQ(open_file(missing.path(), mode), 0);
    EXPECT_FALSE(missing.exists());
}

TEST(OpenFile, CreatingModesTruncateOnlyWhenAsked) {
    ScratchFile scratch("brindor_modes.txt", "keep");
    int file = open_file(scratch.path(), kFileWriteCreate);
    ASSERT_NE(file, 0);
    close_file(file);
    EXPECT_EQ(scratch.contents(), "keep");
    file = open_file(scratch.path(), kFileReadWriteCreate);
    EXPECT_EQ(read_line(file), "keep");
    close_file(file);
    file = open_file(scratch.path(), kFileWriteTruncate);
    ASSERT_NE(file, 0);
    close_file(file);
    EXPECT_EQ(scratch.contents(), "");

    ScratchFile created("brindor_created.txt");
    DeleteFileW(created.wide_path().c_str());
    file = open_file(created.path(), kFileReadWriteCreate);
    EXPECT_NE(file, 0);
    close_file(file);
    EXPECT_TRUE(created.exists());
}

TEST(OpenFile, ChineseNamesAreConvertedFromGbk) {
    ScratchFile scratch("\xB4\xC5\xC1\xA6\xC1\xB4\xBD\xD3.txt", "magnet:?xt=1\n"); // 磁力链接.txt
    EXPECT_EQ(scratch.wide_path().substr(scratch.wide_path().size() - 8), L"\u78C1\u529B\u94FE\u63A5.txt");
    int file = open_file(scratch.path(), kFileRead, kShareExclusive);
    ASSERT_NE(file, 0);
    EXPECT_EQ(read_line(file), "magnet:?xt=1");
    close_file(file);
}

TEST(OpenFile, ShareModesDenyOthers) {
    ScratchFile scratch("brindor_share.txt", "data");
    struct Case {
        int held_share;
        int second_mode;
        bool second_opens;
    } cases[] = {
        {kShareExclusive, kFileRead, false}, {kShareExclusive, kFileWrite, false},
        {kShareDenyRead, kFileRead, false},  {kShareDenyRead, kFileWrite, true},
        {kShareDenyWrite, kFileRead, true},  {kShareDenyWrite, kFileWrite, false},
        {kShareAll, kFileRead, true},        {kShareAll, kFileWrite, true},
    };
    for (const Case& c : cases) {
        int held = open_file(scratch.path(), kFileReadWrite, c.held_share);
        ASSERT_NE(held, 0);
        int second = open_file(scratch.path(), c.second_mode, kShareAll);
        EXPECT_EQ(second != 0, c.second_opens) << "held share " << c.held_share << ", mode " << c.second_mode;
        close_file(second);
        close_file(held);
    }
    // A handle opened outside the table, exclusively, also keeps the file to itself.
    HANDLE exclusive =
        CreateFileW(scratch.wide_path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    EXPECT_EQ(open_file(scratch.path(), kFileRead, kShareAll), 0);
    CloseHandle(exclusive);
    int file = open_file(scratch.path(), kFileRead, kShareAll);
    EXPECT_NE(file, 0);
    close_file(file);
}

TEST(FileNumbers, UnknownNumbersAreQuiet) {
    ScratchFile scratch("brindor_unknown.txt", "line\n");
    int file = open_file(scratch.path(), kFileRead);
    ASSERT_NE(file, 0);
    close_file(file);
    for (int number : {file, 0, -1, 123456}) {
        EXPECT_FALSE(seek_begin(number));
        EXPECT_TRUE(read_line(number).empty());
        EXPECT_TRUE(at_end_of_file(number));
        close_file(number); // ignored
    }
}

TEST(FileNumbers, TwoThreadsKeepTheirFilesApart) {
    ScratchFile first("brindor_thread1.txt", "one\r\none\r\none\r\n");
    ScratchFile second("brindor_thread2.txt", "two\ntwo\ntwo\n");
    std::atomic<int> wrong{0};
    auto worker = [&wrong](const char* path, const char* word) {
        for (int round = 0; round < 300; ++round) {
            int file = open_file(path, kFileRead);
            if (file == 0) {
                ++wrong;
                continue;
            }
            for (int line = 0; line < 3; ++line)
                if (!(read_line(file) == word)) ++wrong;
            if (!at_end_of_file(file)) ++wrong;
            close_file(file);
        }
    };
    std::thread a(worker, first.path(), "one");
    std::thread b(worker, second.path(), "two");
    a.join();
    b.join();
    EXPECT_EQ(wrong.load(), 0);
}

TEST(FileNumbers, ClosingFromAnotherThreadDuringReadsIsSafe) {
    ScratchFile scratch("brindor_close_race.txt", std::string(100000, 'r') + "\nend\n");
    for (int round = 0; round < 20; ++round) {
        int file = open_file(scratch.path(), kFileRead);
        ASSERT_NE(file, 0);
        std::thread reader([file] {
            for (int i = 0; i < 5; ++i)
                read_line(file); // whole lines, or empty once it is gone
        });
        close_file(file);
        reader.join();
        EXPECT_TRUE(read_line(file).empty());
    }
}
