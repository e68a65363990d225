#include "runtime/win/window/control.h"

#include "runtime/win/program.h"
#include "runtime/win/text_boundary.h"
#include "runtime/win/window/program_window.h"
#include "runtime/win/window/window_registry.h"
#include "runtime/win/window/window_text.h"

namespace brindor {

RECT rect_in_parent(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

Control::~Control() = default;

HWND Control::create_child(HWND parent, const wchar_t* window_class, DWORD style, DWORD ex_style) {
    const ControlDefinition& d = definition_;
    style |= WS_CHILD;
    if (d.visible) style |= WS_VISIBLE;
    if (d.tab_stop) style |= WS_TABSTOP;
    std::wstring text = to_wide(d.text);
    handle_ = CreateWindowExW(ex_style, window_class, text.c_str(), style, d.left, d.top, d.width, d.height,
                              parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(d.control_id)),
                              program_instance(), nullptr);
    if (handle_)
        SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return handle_;
}

void Control::apply_dpi(int, HFONT gui_font) {
    if (handle_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(gui_font), TRUE);
}

PropertyValue Control::read(int number) {
    RECT r = handle_ ? rect_in_parent(handle_) : rect_;
    switch (number) {
    case 0:
        return PropertyValue::of(r.left);
    case 1:
        return PropertyValue::of(r.top);
    case 2:
        return PropertyValue::of(r.right - r.left);
    case 3:
        return PropertyValue::of(r.bottom - r.top);
    case 4:
        return PropertyValue::of(tag_);
    case 5:
        return PropertyValue::of(handle_ ? (GetWindowLongW(handle_, GWL_STYLE) & WS_VISIBLE) != 0 : visible_);
    case 6:
        return PropertyValue::of(handle_ ? !IsWindowEnabled(handle_) : !enabled_);
    case 7:
        return PropertyValue::of(mouse_pointer_);
    default:
        return {};
    }
}

void Control::write(int number, const PropertyValue& value) {
    if (number >= 0 && number <= 3) {
        RECT r = handle_ ? rect_in_parent(handle_) : rect_;
        int width = r.right - r.left, height = r.bottom - r.top;
        int v = static_cast<int>(value.as_number());
        if (number == 0) r.left = v;
        if (number == 1) r.top = v;
        if (number == 2) width = v;
        if (number == 3) height = v;
        rect_ = {r.left, r.top, r.left + width, r.top + height};
        if (handle_)
            SetWindowPos(handle_, nullptr, r.left, r.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    switch (number) {
    case 4:
        tag_ = value.as_text();
        break;
    case 5:
        visible_ = value.as_number() != 0;
        if (handle_) ShowWindow(handle_, visible_ ? SW_SHOWNA : SW_HIDE);
        break;
    case 6:
        enabled_ = value.as_number() == 0;
        if (handle_) enable_keeping_focus();
        break;
    case 7:
        mouse_pointer_ = value.as_number();
        break;
    default:
        break;
    }
}

// A control disabled while it has the focus takes the focus with it, and nothing would bring it
// back: the window remembers it, and the control gets it again when it is enabled, unless the user
// has put the focus elsewhere meanwhile.
void Control::enable_keeping_focus() {
    HWND top = GetAncestor(handle_, GA_ROOT);
    LoadedWindow* loaded = is_program_window(top) ? loaded_window_of(top) : nullptr;
    if (!enabled_ && loaded && GetFocus() == handle_) loaded->focus_while_disabled = handle_;
    EnableWindow(handle_, enabled_);
    if (!enabled_ || !loaded || loaded->focus_while_disabled != handle_) return;
    loaded->focus_while_disabled = nullptr;
    HWND focus = GetFocus();
    if (!focus || focus == top) SetFocus(handle_);
}

PropertyValue TextControl::read(int number) {
    if (number == 8) return PropertyValue::of(get_window_text(handle()));
    return Control::read(number);
}

void TextControl::write(int number, const PropertyValue& value) {
    if (number == 8) return set_window_text(handle(), value.as_text().c_str());
    Control::write(number, value);
}

} // namespace brindor
