#include <gtest/gtest.h>

#include <string>

#include "runtime/core/memory.h"
#include "runtime/core/runtime_error.h"

using namespace brindor;

namespace {
std::string report(int code, const char* message) {
    char* text = compose_runtime_error_report(code, message);
    std::string s = text;
    platform::heap_free(text);
    return s;
}
} // namespace

TEST(RuntimeError, ReportsAreComposedLineByLine) {
    EXPECT_EQ(report(4, runtime_error_message(4)),
              "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n");
    EXPECT_EQ(report(0, "不能整除于零"), "运行时出错!\r\n\r\n错误信息：不能整除于零\r\n");
    EXPECT_EQ(report(0, ""), "运行时出错!\r\n\r\n");
    EXPECT_EQ(report(6, runtime_error_message(6)),
              "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n");
}

TEST(RuntimeError, EveryCodeHasItsMessage) {
    for (int code = 1; code <= 11; ++code)
        EXPECT_STRNE(runtime_error_message(code), "") << code;
    EXPECT_STREQ(runtime_error_message(0), "");
    EXPECT_STREQ(runtime_error_message(12), "");
}

// On Windows the report is a message box; the end-to-end driver answers it there.
#ifndef _WIN32
TEST(RuntimeError, ChecksEndTheProgramWithMinusOne) {
    EXPECT_EXIT(check_subscript(0, 3), testing::ExitedWithCode(255), "");
    EXPECT_EXIT(check_subscript(4, 3), testing::ExitedWithCode(255), "");
    EXPECT_EXIT(check_redimension(-1), testing::ExitedWithCode(255), "");
    check_subscript(3, 3);
    check_redimension(0);
}
#endif
