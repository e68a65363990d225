// Fatal runtime errors: a report box, then the end of the process with exit code -1.
#pragma once

namespace brindor {

enum RuntimeErrorCode {
    kSubscriptAboveRange = 1,
    kNumberExpected = 2,
    kWrongSubscriptCount = 3,
    kSubscriptBelowOne = 4,
    kTypeMismatch = 5,
    kStackMismatchAfterDllCall = 6,
    kNoValueFromSubexpression = 7,
    kEqualityOnlyComparison = 8,
    kChoiceIndexOutOfRange = 9,
    kBadRedimension = 10,
    kWrongArgumentType = 11,
};

// The message of a coded error, or "" for an unknown code.
const char* runtime_error_message(int code);

// "运行时出错!" CR LF CR LF [, "错误代码：" code CR LF CR LF] [, "错误信息：" text CR LF]. Caller releases.
char* compose_runtime_error_report(int code, const char* message);

[[noreturn]] void report_runtime_error(int code);
[[noreturn]] void report_runtime_error_text(const char* message);

// Checks the application makes itself before touching an array element or re-dimensioning.
void check_subscript(int subscript, int element_count);
void check_redimension(int element_count);

namespace platform {
// Shows the report (title "错误", error icon, no owner) and ends the process with -1,
// without the registered end routine.
[[noreturn]] void show_runtime_error_and_end(const char* report);
} // namespace platform

} // namespace brindor
