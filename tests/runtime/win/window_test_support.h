// Message pumping and window lookups shared by the window tests.
#pragma once
#include <windows.h>

#include <string>

#include "runtime/win/text_boundary.h"

namespace brindor::testing {

// Dispatches messages until `done()` or the time runs out; returns done().
template <class F> bool pump_until(F done, DWORD timeout_ms = 5000) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeout_ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return true;
}

inline std::wstring window_text(HWND window) {
    wchar_t buffer[512] = L"";
    GetWindowTextW(window, buffer, 512);
    return buffer;
}

inline std::wstring class_of(HWND window) {
    wchar_t buffer[64] = L"";
    GetClassNameW(window, buffer, 64);
    return buffer;
}

inline RECT rect_in_client(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline std::wstring wide(const char* gbk) {
    return to_wide(gbk);
}

} // namespace brindor::testing
