#include "commands.h"
#include "targets.h"

#include <commctrl.h>

namespace driver {
namespace {

// Focus belongs to a thread's input state: join the target's for the call.
void move_focus(HWND control) {
    DWORD target = GetWindowThreadProcessId(control, nullptr);
    DWORD self = GetCurrentThreadId();
    bool attached = AttachThreadInput(self, target, TRUE);
    SetForegroundWindow(GetAncestor(control, GA_ROOT));
    SetFocus(control);
    if (attached) AttachThreadInput(self, target, FALSE);
}

// A user cannot reach a disabled control, nor any control of a disabled window; sent messages could.
void require_reachable(HWND control) {
    if (!IsWindowEnabled(control)) throw Failure{L"control is disabled"};
    if (!IsWindowEnabled(GetAncestor(control, GA_ROOT))) throw Failure{L"window is disabled"};
}

RECT client_relative(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    HWND parent = GetParent(control);
    if (parent && (GetWindowLongW(control, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

BOOL CALLBACK collect_visible(HWND window, LPARAM context) {
    if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

Reply& add_rect(Reply& reply, const RECT& r) {
    return reply.add(r.left).add(r.top).add(r.right - r.left).add(r.bottom - r.top);
}

} // namespace

Reply windows(const Args&) {
    Reply reply;
    std::vector<HWND> tops;
    EnumWindows(collect_visible, reinterpret_cast<LPARAM>(&tops));
    for (HWND window : tops) {
        wchar_t caption[512] = L"";
        GetWindowTextW(window, caption, 512);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        reply.add_hex(uint32_t(uintptr_t(window)))
            .add(window_class(window))
            .add(caption)
            .add(int64_t(process));
    }
    return reply;
}

Reply wait_window(const Args& args) {
    const std::wstring& caption = arg(args, 0, L"caption");
    DWORD timeout = DWORD(number_arg(args, 1, L"timeout", 10000));
    std::wstring class_name = args.size() > 2 ? args[2] : L"";
    HWND found = nullptr;
    if (!wait_until(timeout, [&] { return (found = find_top_window(caption, class_name)) != nullptr; }))
        throw Failure{L"timeout waiting for window " + caption};
    return Reply().add_hex(uint32_t(uintptr_t(found)));
}

Reply wait_gone(const Args& args) {
    const std::wstring& name = arg(args, 0, L"window");
    DWORD timeout = DWORD(number_arg(args, 1, L"timeout", 10000));
    if (!wait_until(timeout, [&] { return find_top_window(name) == nullptr; }))
        throw Failure{L"window still there: " + name};
    return {};
}

Reply control(const Args& args) {
    HWND found = control_arg(args, 0);
    return Reply().add_hex(uint32_t(uintptr_t(found))).add(window_class(found));
}

Reply children(const Args& args) {
    Reply reply;
    for (HWND child : child_windows(window_arg(args, 0)))
        reply.add_hex(uint32_t(GetDlgCtrlID(child)))
            .add(window_class(child))
            .add(control_text(child))
            .add_hex(uint32_t(GetWindowLongW(child, GWL_STYLE)));
    return reply;
}

Reply owner(const Args& args) {
    return Reply().add_hex(uint32_t(uintptr_t(GetWindow(window_arg(args, 0), GW_OWNER))));
}

Reply info(const Args& args) {
    HWND found = control_arg(args, 0);
    Reply reply;
    reply.add(window_class(found));
    add_rect(reply, client_relative(found));
    reply.add(IsWindowEnabled(found) ? 1 : 0).add(IsWindowVisible(found) ? 1 : 0);
    reply.add_hex(uint32_t(GetWindowLongW(found, GWL_STYLE)))
        .add_hex(uint32_t(GetWindowLongW(found, GWL_EXSTYLE)));
    return reply.add(control_text(found));
}

Reply text(const Args& args) {
    return Reply().add(control_text(control_arg(args, 0)));
}

Reply set_text(const Args& args) {
    HWND found = control_arg(args, 0);
    const std::wstring& value = arg(args, 2, L"text");
    send_message(found, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
    return {};
}

// Posted, so a modal loop that the click opens does not hold the driver.
Reply click(const Args& args) {
    HWND found = control_arg(args, 0);
    require_reachable(found);
    if (!PostMessageW(found, BM_CLICK, 0, 0)) throw Failure{L"cannot post BM_CLICK"};
    return {};
}

Reply focus(const Args& args) {
    HWND found = control_arg(args, 0);
    require_reachable(found);
    move_focus(found);
    return {};
}

Reply type(const Args& args) {
    HWND found = control_arg(args, 0);
    const std::wstring& characters = arg(args, 2, L"text");
    require_reachable(found);
    move_focus(found);
    for (wchar_t c : characters)
        send_message(found, WM_CHAR, c, 1);
    return {};
}

// Arguments: window, control, a virtual-key code; the key goes down and up again, posted as typed.
Reply key(const Args& args) {
    HWND found = control_arg(args, 0);
    const WPARAM code = WPARAM(number_arg(args, 2, L"key", INT64_MIN));
    require_reachable(found);
    move_focus(found);
    if (!PostMessageW(found, WM_KEYDOWN, code, 1) || !PostMessageW(found, WM_KEYUP, code, 0xC0000001))
        throw Failure{L"cannot post the key"};
    return {};
}

Reply select(const Args& args) {
    HWND found = control_arg(args, 0);
    send_message(found, EM_SETSEL, WPARAM(number_arg(args, 2, L"start", 0)),
                 LPARAM(number_arg(args, 3, L"end", -1)));
    return {};
}

Reply enabled(const Args& args) {
    return Reply().add(IsWindowEnabled(control_arg(args, 0)) ? 1 : 0);
}

Reply visible(const Args& args) {
    return Reply().add(IsWindowVisible(control_arg(args, 0)) ? 1 : 0);
}

Reply rect(const Args& args) {
    HWND found = control_arg(args, 0);
    RECT r;
    GetWindowRect(found, &r);
    Reply reply;
    return add_rect(reply, r);
}

Reply client_rect(const Args& args) {
    HWND found = control_arg(args, 0);
    RECT r;
    GetClientRect(found, &r);
    MapWindowPoints(found, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    Reply reply;
    return add_rect(reply, r);
}

Reply close(const Args& args) {
    HWND found = window_arg(args, 0);
    if (!PostMessageW(found, WM_CLOSE, 0, 0)) throw Failure{L"cannot post WM_CLOSE"};
    return {};
}

// Arguments: window, left, top, width, height on the screen, then "max" to maximise it there.
Reply place(const Args& args) {
    HWND found = window_arg(args, 0);
    const auto at = [&](size_t i) { return int(number_arg(args, i, L"place", INT32_MIN)); };
    if (!SetWindowPos(found, nullptr, at(1), at(2), at(3), at(4), SWP_NOZORDER | SWP_NOACTIVATE))
        throw Failure{L"cannot place the window"};
    if (args.size() > 5 && args[5] == L"max") ShowWindow(found, SW_MAXIMIZE);
    return {};
}

Reply progress(const Args& args) {
    HWND found = control_arg(args, 0);
    auto low = int64_t(send_message(found, PBM_GETRANGE, TRUE, 0));
    auto high = int64_t(send_message(found, PBM_GETRANGE, FALSE, 0));
    return Reply().add(low).add(high).add(int64_t(send_message(found, PBM_GETPOS)));
}

// Combo box strings are marshalled between processes by the system, unlike list-view items.
Reply combo_items(const Args& args) {
    HWND found = control_arg(args, 0);
    auto count = int64_t(send_message(found, CB_GETCOUNT));
    if (count < 0) throw Failure{L"not a combo box"};
    Reply reply;
    reply.add(int64_t(int32_t(send_message(found, CB_GETCURSEL))));
    for (int64_t i = 0; i < count; ++i) {
        auto length = int64_t(send_message(found, CB_GETLBTEXTLEN, WPARAM(i)));
        if (length < 0) throw Failure{L"cannot read item " + std::to_wstring(i)};
        std::wstring item(size_t(length) + 1, L'\0');
        send_message(found, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(item.data()));
        item.resize(wcslen(item.c_str()));
        reply.add(item);
    }
    return reply;
}

} // namespace driver
