#include "commands.h"
#include "targets.h"

namespace driver {
namespace {

constexpr uint32_t kFileNameCombo = 0x47C; // cmb13
constexpr uint32_t kFileNameEdit = 0x480;  // edt1
constexpr uint32_t kMessageText = 0xFFFF;

bool is_file_dialog(HWND dialog) {
    return find_control(dialog, kFileNameCombo) || find_control(dialog, kFileNameEdit);
}

struct DialogSearch {
    bool want_file_dialog;
    const std::wstring* title;
    HWND found;
};

BOOL CALLBACK consider_dialog(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<DialogSearch*>(context);
    if (!IsWindowVisible(window) || window_class(window) != L"#32770") return TRUE;
    if (is_file_dialog(window) != search.want_file_dialog) return TRUE;
    if (!search.title->empty()) {
        wchar_t caption[512] = L"";
        GetWindowTextW(window, caption, 512);
        if (*search.title != caption) return TRUE;
    }
    // The started program's dialogs first.
    if (!search.found || is_preferred(window)) search.found = window;
    return !is_preferred(window);
}

HWND wait_dialog(bool file_dialog, const std::wstring& title, DWORD timeout) {
    DialogSearch search{file_dialog, &title, nullptr};
    wait_until(timeout, [&] {
        search.found = nullptr;
        EnumWindows(consider_dialog, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    if (!search.found) throw Failure{file_dialog ? L"no file dialog" : L"no message box"};
    return search.found;
}

bool is_static_text(HWND child) {
    return window_class(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON;
}

// The text control has id 0xFFFF on Windows; other implementations give it another id.
std::wstring message_text(HWND box) {
    for (uint32_t id : {kMessageText, 0xFFFFFFFFu})
        if (HWND text = find_control(box, id); text && is_static_text(text)) return control_text(text);
    std::wstring longest;
    for (HWND child : child_windows(box)) {
        if (!is_static_text(child)) continue;
        std::wstring candidate = control_text(child);
        if (candidate.size() > longest.size()) longest = candidate;
    }
    return longest;
}

std::wstring without_accelerator(std::wstring caption) {
    std::erase(caption, L'&');
    return caption;
}

HWND find_button(HWND dialog, const std::wstring& button) {
    bool numeric = !button.empty() && iswdigit(button[0]);
    for (HWND child : child_windows(dialog)) {
        if (window_class(child) != L"Button" || !IsWindowVisible(child)) continue;
        if (numeric ? uint32_t(GetDlgCtrlID(child)) == uint32_t(parse_number(button))
                    : without_accelerator(control_text(child)) == without_accelerator(button))
            return child;
    }
    throw Failure{L"no button " + button};
}

void post_command(HWND dialog, int id, HWND from = nullptr) {
    if (!PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(from)))
        throw Failure{L"cannot post WM_COMMAND"};
}

} // namespace

// Answer: handle, title, text, then id and caption of each button.
Reply wait_message_box(const Args& args) {
    DWORD timeout = DWORD(number_arg(args, 0, L"timeout", 10000));
    std::wstring title = args.size() > 1 ? args[1] : L"";
    HWND box = wait_dialog(false, title, timeout);
    // Its thread counts as hung until the box's own loop runs (a worker that waited on the network).
    wait_until(5000, [&] {
        DWORD_PTR ignored = 0;
        return SendMessageTimeoutW(box, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored) != 0;
    });
    wchar_t caption[512] = L"";
    GetWindowTextW(box, caption, 512);
    Reply reply;
    reply.add_hex(uint32_t(uintptr_t(box))).add(caption).add(message_text(box));
    for (HWND child : child_windows(box))
        if (window_class(child) == L"Button" && IsWindowVisible(child))
            reply.add(int64_t(GetDlgCtrlID(child))).add(without_accelerator(control_text(child)));
    return reply;
}

// A button of a dialog, by id or caption; the dialog gets the button's command.
Reply press(const Args& args) {
    HWND dialog = window_arg(args, 0);
    HWND button = find_button(dialog, arg(args, 1, L"button"));
    post_command(dialog, GetDlgCtrlID(button), button);
    return {};
}

Reply open_file(const Args& args) {
    DWORD timeout = DWORD(number_arg(args, 0, L"timeout", 10000));
    const std::wstring& path = arg(args, 1, L"path");
    HWND dialog = wait_dialog(true, L"", timeout);
    HWND name = find_control(dialog, kFileNameCombo);
    if (!name || !IsWindowVisible(name)) name = find_control(dialog, kFileNameEdit);
    // A dialog still settling may overwrite the name: let it settle, then set the name until it stays.
    Sleep(400);
    bool stays = wait_until(3000, [&] {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        SendMessageTimeoutW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG,
                            5000, &ignored);
        Sleep(150);
        return control_text(name) == path;
    });
    if (!stays) throw Failure{L"the file dialog does not keep the name"};
    post_command(dialog, IDOK, GetDlgItem(dialog, IDOK));
    wchar_t caption[512] = L"";
    GetWindowTextW(dialog, caption, 512);
    return Reply().add_hex(uint32_t(uintptr_t(dialog))).add(caption);
}

// Answer: the name the file dialog proposes.
Reply file_dialog_name(const Args& args) {
    HWND dialog = wait_dialog(true, L"", DWORD(number_arg(args, 0, L"timeout", 10000)));
    HWND name = find_control(dialog, kFileNameCombo);
    if (!name || !IsWindowVisible(name)) name = find_control(dialog, kFileNameEdit);
    Sleep(400); // the dialog fills the box after it shows
    return Reply().add(control_text(name));
}

Reply cancel_file(const Args& args) {
    HWND dialog = wait_dialog(true, L"", DWORD(number_arg(args, 0, L"timeout", 10000)));
    post_command(dialog, IDCANCEL, GetDlgItem(dialog, IDCANCEL));
    return Reply().add_hex(uint32_t(uintptr_t(dialog)));
}

} // namespace driver
