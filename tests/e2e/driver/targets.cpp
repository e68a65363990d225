#include "targets.h"

#include <algorithm>

namespace driver {
namespace {

DWORD preferred_process = 0;

struct Search {
    const std::wstring* caption;
    const std::wstring* class_name;
    HWND found;
    bool found_preferred;
};

BOOL CALLBACK consider_top_window(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    if (!IsWindowVisible(window)) return TRUE;
    wchar_t caption[512];
    GetWindowTextW(window, caption, 512);
    if (*search.caption != caption) return TRUE;
    if (!search.class_name->empty() && window_class(window) != *search.class_name) return TRUE;
    bool preferred = is_preferred(window);
    if (!search.found || (preferred && !search.found_preferred)) {
        search.found = window;
        search.found_preferred = preferred;
    }
    return TRUE;
}

struct ControlSearch {
    uint32_t id;
    HWND found;
};

BOOL CALLBACK consider_child(HWND child, LPARAM context) {
    auto& search = *reinterpret_cast<ControlSearch*>(context);
    if (uint32_t(GetDlgCtrlID(child)) != search.id) return TRUE;
    search.found = child;
    return FALSE;
}

BOOL CALLBACK collect_child(HWND child, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(child);
    return TRUE;
}

} // namespace

void prefer_process(DWORD process_id) {
    preferred_process = process_id;
}

bool is_preferred(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return preferred_process && process == preferred_process;
}

HWND find_top_window(const std::wstring& name, const std::wstring& class_name) {
    if (name.size() > 2 && name[0] == L'0' && (name[1] == L'x' || name[1] == L'X')) {
        HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(parse_number(name)));
        return IsWindow(window) ? window : nullptr;
    }
    Search search{&name, &class_name, nullptr, false};
    EnumWindows(consider_top_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND window_arg(const Args& args, size_t index) {
    const std::wstring& name = arg(args, index, L"window");
    HWND window = find_top_window(name);
    if (!window) throw Failure{L"no window " + name};
    return window;
}

HWND find_control(HWND window, uint32_t id) {
    ControlSearch search{id, nullptr};
    EnumChildWindows(window, consider_child, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND control_arg(const Args& args, size_t index) {
    HWND window = window_arg(args, index);
    if (index + 1 >= args.size() || args[index + 1].empty() || args[index + 1] == L".") return window;
    auto id = uint32_t(parse_number(args[index + 1]));
    HWND control = find_control(window, id);
    if (!control) throw Failure{L"no control " + hex(id)};
    return control;
}

LRESULT send_message(HWND window, UINT message, WPARAM w, LPARAM l) {
    DWORD_PTR result = 0;
    SetLastError(0);
    if (!SendMessageTimeoutW(window, message, w, l, SMTO_ABORTIFHUNG, 5000, &result) && GetLastError() != 0)
        throw Failure{L"window " + hex(uint32_t(uintptr_t(window))) + L" does not answer message " +
                      hex(message) + L": error " + std::to_wstring(GetLastError())};
    return LRESULT(result);
}

std::wstring control_text(HWND control) {
    auto length = size_t(send_message(control, WM_GETTEXTLENGTH));
    std::wstring text(length + 1, L'\0');
    auto copied =
        size_t(send_message(control, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data())));
    text.resize(std::min(copied, length));
    return text;
}

std::wstring window_class(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

std::vector<HWND> child_windows(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, collect_child, reinterpret_cast<LPARAM>(&children));
    return children;
}

bool wait_until(DWORD timeout_ms, const std::function<bool()>& done) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start >= timeout_ms) return false;
        Sleep(15);
    }
}

} // namespace driver
