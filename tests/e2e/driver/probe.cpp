#include "commands.h"
#include "targets.h"

#include <algorithm>
#include <cstdio>

namespace driver {
namespace {

std::wstring milliseconds(double value) {
    wchar_t buffer[32];
    std::swprintf(buffer, 32, L"%.3f", value);
    return buffer;
}

double percentile(const std::vector<double>& sorted, double share) {
    if (sorted.empty()) return 0;
    size_t index = std::min(sorted.size() - 1, size_t(share * double(sorted.size() - 1) + 0.5));
    return sorted[index];
}

} // namespace

// Round trips of WM_NULL to a window's thread, every `interval` ms for `duration` ms.
// Answer: count, p50, p99, max (milliseconds), and how many got no answer within the timeout.
Reply probe(const Args& args) {
    HWND window = window_arg(args, 0);
    DWORD interval = DWORD(number_arg(args, 1, L"interval", 50));
    DWORD duration = DWORD(number_arg(args, 2, L"duration", 2000));
    UINT timeout = UINT(number_arg(args, 3, L"timeout", 5000));
    LARGE_INTEGER frequency, begin, before, after;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    std::vector<double> times;
    int failures = 0;
    auto elapsed_ms = [&](const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
        return double(to.QuadPart - from.QuadPart) * 1000.0 / double(frequency.QuadPart);
    };
    do {
        DWORD_PTR ignored = 0;
        QueryPerformanceCounter(&before);
        SetLastError(0);
        if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeout, &ignored) ||
            GetLastError() == 0) {
            QueryPerformanceCounter(&after);
            times.push_back(elapsed_ms(before, after));
        } else {
            ++failures;
            if (!IsWindow(window)) break;
        }
        Sleep(interval);
        QueryPerformanceCounter(&after);
    } while (elapsed_ms(begin, after) < duration);
    std::sort(times.begin(), times.end());
    return Reply()
        .add(int64_t(times.size()))
        .add(milliseconds(percentile(times, 0.5)))
        .add(milliseconds(percentile(times, 0.99)))
        .add(milliseconds(times.empty() ? 0 : times.back()))
        .add(int64_t(failures));
}

} // namespace driver
