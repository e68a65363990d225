// The keyboard as the program's thread sees it: where the focus is, and keys pressed there; and a
// click of the mouse through the system's input.
#include <vector>

#include "commands.h"
#include "targets.h"

namespace driver {

namespace {

GUITHREADINFO thread_input_of(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (!thread || !GetGUIThreadInfo(thread, &info)) throw Failure{L"cannot read the window's thread input"};
    return info;
}

} // namespace

// The window id of the control that has the keyboard focus in the window's thread, 0 for none; the
// focus may rest on a window inside a control (an embedded browser): its control is answered then.
Reply focused(const Args& args) {
    HWND window = window_arg(args, 0);
    HWND focus = thread_input_of(window).hwndFocus;
    while (focus && GetParent(focus) && GetParent(focus) != window)
        focus = GetParent(focus);
    if (!focus || GetParent(focus) != window) return Reply().add_hex(0);
    return Reply().add_hex(uint32_t(GetWindowLongPtrW(focus, GWLP_ID)));
}

// Posts a key's down and up messages to the control (or, without one, to wherever the window's
// thread has the focus), as the keyboard would: they pass the program's message loop. With a
// character, its WM_CHAR comes between them, as translating a key with Ctrl held would give.
Reply press_key(const Args& args) {
    HWND window = window_arg(args, 0);
    HWND target = args.size() > 1 && !args[1].empty() && args[1] != L"." ? control_arg(args, 0) : nullptr;
    if (!target) target = thread_input_of(window).hwndFocus;
    if (!target) target = window;
    WPARAM code = WPARAM(number_arg(args, 2, L"virtual key", INT64_MIN));
    UINT scan = MapVirtualKeyW(UINT(code), MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, code, LPARAM(1 | (scan << 16)));
    if (args.size() > 3) PostMessageW(target, WM_CHAR, WPARAM(number_arg(args, 3, L"character", 0)), 1);
    PostMessageW(target, WM_KEYUP, code, LPARAM(1 | (scan << 16) | 0xC0000000u));
    return {};
}

// Brings the window to the front and presses the keys through the system's input, as a user would:
// each key down in order, then up in reverse, so "0x11 0x4B" is Ctrl+K and "0x12 0x20" Alt+Space.
Reply chord(const Args& args) {
    HWND window = window_arg(args, 0);
    SetForegroundWindow(window);
    const size_t keys = args.size() - 1;
    std::vector<INPUT> inputs(2 * keys);
    for (size_t i = 0; i < inputs.size(); ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = WORD(number_arg(args, i < keys ? i + 1 : 2 * keys - i, L"virtual key", INT64_MIN));
        inputs[i].ki.dwFlags = i < keys ? 0 : KEYEVENTF_KEYUP;
    }
    if (SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
        throw Failure{L"the keys were not sent"};
    return {};
}

// A left click through the system's input at a point of the window's or control's client area (its
// middle when none is given), wherever the program's windows stand: what is on top there takes it.
Reply mouse_click(const Args& args) {
    HWND target =
        args.size() > 1 && !args[1].empty() && args[1] != L"." ? control_arg(args, 0) : window_arg(args, 0);
    RECT client;
    GetClientRect(target, &client);
    POINT at{client.right / 2, client.bottom / 2};
    if (args.size() > 3)
        at = POINT{LONG(number_arg(args, 2, L"x", INT64_MIN)), LONG(number_arg(args, 3, L"y", INT64_MIN))};
    ClientToScreen(target, &at);
    if (!SetCursorPos(at.x, at.y)) throw Failure{L"the cursor did not move"};
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    if (SendInput(2, inputs, sizeof(INPUT)) != 2) throw Failure{L"the click was not sent"};
    return {};
}

} // namespace driver
