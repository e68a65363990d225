#include "runtime/core/runtime_error.h"

#include <cstdio>
#include <cstring>

#include "runtime/core/memory.h"

namespace brindor {

static const char* const kMessages[] = {
    "",
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};

const char* runtime_error_message(int code) {
    if (code < 1 || code >= static_cast<int>(sizeof kMessages / sizeof kMessages[0])) return "";
    return kMessages[code];
}

char* compose_runtime_error_report(int code, const char* message) {
    static const char kHead[] = "运行时出错!\r\n\r\n";
    static const char kCode[] = "错误代码：";
    static const char kText[] = "错误信息：";
    if (!message) message = "";
    size_t size = sizeof kHead + sizeof kCode + 16 + sizeof kText + std::strlen(message) + 4;
    // A plain heap block: this may run while the runtime allocator itself is failing.
    char* report = static_cast<char*>(platform::heap_allocate(size));
    if (!report) return nullptr;
    int n = std::snprintf(report, size, "%s", kHead);
    if (code != 0) n += std::snprintf(report + n, size - n, "%s%d\r\n\r\n", kCode, code);
    if (*message) std::snprintf(report + n, size - n, "%s%s\r\n", kText, message);
    return report;
}

void report_runtime_error(int code) {
    char* report = compose_runtime_error_report(code, runtime_error_message(code));
    platform::show_runtime_error_and_end(report ? report : "运行时出错!");
}

void report_runtime_error_text(const char* message) {
    char* report = compose_runtime_error_report(0, message);
    platform::show_runtime_error_and_end(report ? report : "运行时出错!");
}

void check_subscript(int subscript, int element_count) {
    if (subscript < 1) report_runtime_error(kSubscriptBelowOne);
    if (subscript > element_count) report_runtime_error(kSubscriptAboveRange);
}

void check_redimension(int element_count) {
    if (element_count < 0) report_runtime_error(kBadRedimension);
}

} // namespace brindor
