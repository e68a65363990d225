#include "runtime/win/box_button_captions.h"

#include <string>

#include "runtime/win/text_boundary.h"
#include "runtime/win/window/window_procedure.h"

namespace brindor {

namespace {

LRESULT CALLBACK RenameButtons(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wparam);
        if (is_dialog_box(box)) {
            static constexpr struct {
                int id;
                const char* caption;
            } kCaptions[] = {{IDRETRY, "重试"}, {IDCANCEL, "取消"}, {IDYES, "是"}, {IDNO, "否"}};
            for (const auto& button : kCaptions)
                if (HWND control = GetDlgItem(box, button.id))
                    SetWindowTextW(control, to_wide(button.caption).c_str());
        }
    }
    // The hook argument is ignored since Windows NT.
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

} // namespace

BoxButtonCaptions::BoxButtonCaptions()
    : hook_(SetWindowsHookExW(WH_CBT, RenameButtons, nullptr, GetCurrentThreadId())) {}

BoxButtonCaptions::~BoxButtonCaptions() {
    if (hook_) UnhookWindowsHookEx(hook_);
}

} // namespace brindor
