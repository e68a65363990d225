#include "runtime/win/text_boundary.h"

#include <windows.h>

namespace brindor {

std::wstring to_wide(const char* gbk) {
    if (!gbk || !*gbk) return {};
    int n = MultiByteToWideChar(kProgramCodePage, 0, gbk, -1, nullptr, 0);
    std::wstring wide(n > 0 ? n : 0, L'\0');
    if (n > 0) MultiByteToWideChar(kProgramCodePage, 0, gbk, -1, wide.data(), n);
    if (!wide.empty()) wide.pop_back(); // the terminating NUL
    return wide;
}

Text from_wide(const wchar_t* wide, int length) {
    if (!wide || length == 0) return {};
    int n = WideCharToMultiByte(kProgramCodePage, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    Text t = Text::with_length(n);
    WideCharToMultiByte(kProgramCodePage, 0, wide, length, t.data(), n, nullptr, nullptr);
    if (length < 0) t.data()[n - 1] = '\0';
    return t;
}

} // namespace brindor
